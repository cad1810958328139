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
