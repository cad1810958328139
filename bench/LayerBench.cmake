# Layer composition and transition wall times of the layer viewport.
# scripts/layer-bench.sh builds and runs it.
add_executable(LayerBench ${CMAKE_CURRENT_LIST_DIR}/LayerBench.cpp)
target_link_libraries(LayerBench PRIVATE KtLIB)
set_target_properties(LayerBench PROPERTIES WIN32_EXECUTABLE OFF)
