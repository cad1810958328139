# The time from starting Pomelo.exe to the sample game's title on the
# screen. scripts/layer-bench.sh builds and runs it on its display.
add_executable(StartupBench ${CMAKE_CURRENT_LIST_DIR}/StartupBench.cpp
                            ${PROJECT_SOURCE_DIR}/tests/support/HogePlayer.cpp)
target_include_directories(StartupBench PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(StartupBench PRIVATE user32 gdi32 advapi32)
set_target_properties(StartupBench PROPERTIES WIN32_EXECUTABLE OFF)
add_dependencies(StartupBench Pomelo hoge ktpnm PomeloIni)
