# The runtime tests load the test scenario modules from the build's bin folder.
if(TARGET KtVelka_test)
  target_link_libraries(KtVelka_test PRIVATE KtRuntime)
  add_dependencies(KtVelka_test chain_three throw_third abi_probe)
endif()

# The window thread tests make real windows on the real window thread, show
# the executable's game menu, and run a module whose window request fails.
if(TARGET KtWindowThread_test)
  include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
  target_link_libraries(KtWindowThread_test PRIVATE KtRuntime)
  pomelo_add_resources(KtWindowThread_test)
  add_dependencies(KtWindowThread_test window_request)
endif()

# winCreate makes real windows on the window thread, movie views among them.
if(TARGET KtWindowMaker_test)
  target_link_libraries(KtWindowMaker_test PRIVATE KtRuntime)
  add_dependencies(KtWindowMaker_test test_movies)
endif()
if(TARGET PopupArea_test)
  target_link_libraries(PopupArea_test PRIVATE KtRuntime)
endif()
