# The register monitor tests run Pomelo.exe with a module of known registers
# and talk to it through the real KtMonitor.exe.
include(${PROJECT_SOURCE_DIR}/cmake/PomeloScenario.cmake)
pomelo_add_scenario(monitor_probe SOURCES ${CMAKE_CURRENT_LIST_DIR}/MonitorProbe.cpp)
if(TARGET KtMonitorRun_test)
  add_dependencies(KtMonitorRun_test Pomelo PomeloIni KtMonitor monitor_probe hoge boxdriver)
  set_tests_properties(KtMonitorRun_test PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
foreach(test MonitorOptions_test RegisterSnapshot_test)
  if(TARGET ${test})
    target_link_libraries(${test} PRIVATE KtMonitorCore)
  endif()
endforeach()

# The hook's test sits with the runtime's tests and links the runtime library.
if(TARGET KtTopLevelHook_test)
  target_link_libraries(KtTopLevelHook_test PRIVATE KtRuntime)
endif()

# The force-quit confirmation end to end, with the sample game.
if(TARGET ForceQuit_test)
  add_dependencies(ForceQuit_test Pomelo PomeloIni hoge boxdriver)
  set_tests_properties(ForceQuit_test PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()
