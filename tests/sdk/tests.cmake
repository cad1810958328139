# The installed SDK used from outside the tree: installs this build, builds
# outside-module/ against it and runs it with the installed Pomelo.exe. It
# marks the product as set up and starts the one copy of the game.
add_test(NAME SdkModule_test
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/sdk-module.sh ${PROJECT_BINARY_DIR})
set_tests_properties(SdkModule_test PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE RESOURCE_LOCK productKey)
