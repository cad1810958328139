# The runtime tests load the test scenario modules from the build's bin folder.
if(TARGET KtVelka_test)
  target_link_libraries(KtVelka_test PRIVATE KtRuntime)
  add_dependencies(KtVelka_test chain_three throw_third abi_probe)
endif()

# The window thread tests make real windows on the real window thread, show
# the executable's game menu, run a module whose window request fails and one
# that is freed while its menu is open. They move the real mouse.
if(TARGET KtWindowThread_test)
  include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
  target_link_libraries(KtWindowThread_test PRIVATE KtRuntime)
  pomelo_add_resources(KtWindowThread_test)
  add_dependencies(KtWindowThread_test window_request module_memory)
  set_tests_properties(KtWindowThread_test PROPERTIES RESOURCE_LOCK "mouse")
endif()

# A register monitor of another process that stops taking messages.
add_executable(hung_monitor ${CMAKE_CURRENT_LIST_DIR}/HungMonitor.cpp)
set_target_properties(hung_monitor PROPERTIES WIN32_EXECUTABLE OFF)
target_link_libraries(hung_monitor PRIVATE user32)

# The hook tests click the real close box and run modules against a monitor.
if(TARGET KtTopLevelHook_test)
  add_dependencies(KtTopLevelHook_test module_memory chain_three hung_monitor)
  set_tests_properties(KtTopLevelHook_test PROPERTIES RESOURCE_LOCK "mouse")
endif()

# Objects a module leaves to the host, and the state it shares with it.
if(TARGET SharedFramework_test)
  target_link_libraries(SharedFramework_test PRIVATE KtRuntime)
  target_include_directories(SharedFramework_test PRIVATE ${PROJECT_SOURCE_DIR}/scenario/tests)
  add_dependencies(SharedFramework_test hand_over)
endif()

# winCreate makes real windows on the window thread, movie views among them.
if(TARGET KtWindowMaker_test)
  target_link_libraries(KtWindowMaker_test PRIVATE KtRuntime)
  add_dependencies(KtWindowMaker_test test_movies)
endif()
if(TARGET PopupArea_test)
  target_link_libraries(PopupArea_test PRIVATE KtRuntime)
endif()

# A module that really unloads, with windows, objects and a drawing thread of its own.
if(TARGET ModuleTeardown_test)
  target_link_libraries(ModuleTeardown_test PRIVATE KtRuntime)
  add_dependencies(ModuleTeardown_test module_objects)
endif()

# Scenario modules found beside the program and in a game folder, with the
# current directory taken out of the DLL search (for this whole program).
if(TARGET ScenarioModuleSearch_test)
  target_link_libraries(ScenarioModuleSearch_test PRIVATE KtRuntime)
  add_dependencies(ScenarioModuleSearch_test chain_three)
endif()
