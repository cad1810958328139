# The installed SDK: an outside module built against it and run by the
# installed Pomelo.exe. It installs what the build made, so it needs all of
# it; it marks the product as set up and starts the one copy of the game.
add_test(NAME SdkInstall_test
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/sdk-install.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
set_tests_properties(SdkInstall_test PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
