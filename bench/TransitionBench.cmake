# Transitions asked from a second thread, as a scenario module does, beside
# the window's own thread. scripts/layer-bench.sh builds and runs it.
add_executable(TransitionBench ${CMAKE_CURRENT_LIST_DIR}/TransitionBench.cpp)
target_link_libraries(TransitionBench PRIVATE KtLIB)
set_target_properties(TransitionBench PROPERTIES WIN32_EXECUTABLE OFF)
