# The runtime tests load the test scenario modules from the build's bin folder.
if(TARGET KtVelka_test)
  target_link_libraries(KtVelka_test PRIVATE KtRuntime)
  add_dependencies(KtVelka_test chain_three throw_third abi_probe)
endif()
