# End-to-end tests run the real Pomelo.exe with the test modules and answer
include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
# its boxes from outside through boxdriver.
add_executable(setup_standin ${CMAKE_CURRENT_LIST_DIR}/SetupStandIn.cpp)
target_link_libraries(setup_standin PRIVATE advapi32)
# Copied into a folder of its own as KtConfig.exe: it needs no runtime DLLs.
target_link_options(setup_standin PRIVATE -static)
if(TARGET PomeloRun_test)
  add_dependencies(PomeloRun_test Pomelo PomeloIni boxdriver setup_standin hoge chain_three KtMonitor
                   throw_third throw_third_bare misbehave saverprobe)
  set_tests_properties(PomeloRun_test PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()

# The colour checks need a real 256-colour display: a script runs the game on
# an 8-bit Xvfb of its own.
add_test(NAME LowColourDisplay_test
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/low-colour-display.sh ${PROJECT_BINARY_DIR})
set_tests_properties(LowColourDisplay_test PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE)

if(TARGET MainWindow_test)
  target_link_libraries(MainWindow_test PRIVATE PomeloApp)
  pomelo_add_resources(MainWindow_test)
  # It writes the frame mode into the product key.
  set_tests_properties(MainWindow_test PROPERTIES RESOURCE_LOCK "productKey")
endif()

# Reads the screen saver setting from a process of its own.
add_executable(saverprobe ${CMAKE_CURRENT_LIST_DIR}/SaverProbe.cpp)
set_target_properties(saverprobe PROPERTIES WIN32_EXECUTABLE OFF)
target_link_libraries(saverprobe PRIVATE user32)

add_executable(displayprobe ${CMAKE_CURRENT_LIST_DIR}/DisplayProbe.cpp)
target_link_libraries(displayprobe PRIVATE user32 gdi32)

# The screen-mode switch and its restore inside a Wine virtual desktop. Each
# attempt has a time limit and a failed one is tried again once; the script
# exits with 77 (skipped, reason printed) only when the virtual desktop does
# not start. It copies the build's prefix, so it runs alone.
add_test(NAME ScreenModeSwitch_test
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/screen-mode-switch.sh ${PROJECT_BINARY_DIR})
set_tests_properties(ScreenModeSwitch_test PROPERTIES TIMEOUT 720 RUN_SERIAL TRUE
                     SKIP_RETURN_CODE 77)

if(TARGET Startup_test)
  target_link_libraries(Startup_test PRIVATE PomeloApp)
  pomelo_add_resources(Startup_test)
endif()

if(TARGET HogeGame_test)
  # It plays the game by its play script through KtPlay.exe too.
  add_dependencies(HogeGame_test Pomelo PomeloIni boxdriver hoge KtMonitor KtPlay ktpnm)
  target_compile_definitions(HogeGame_test PRIVATE HOGE_PLAY_SCRIPT="${PROJECT_SOURCE_DIR}/scenario/hoge/hoge.play")
  set_tests_properties(HogeGame_test PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
