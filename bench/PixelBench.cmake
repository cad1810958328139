# Surface transfers and blends, per pixel loop kind, against memcpy.
# scripts/bench.sh builds and runs it.
add_executable(PixelBench ${CMAKE_CURRENT_LIST_DIR}/PixelBench.cpp)
target_link_libraries(PixelBench PRIVATE KtLIB)
set_target_properties(PixelBench PROPERTIES WIN32_EXECUTABLE OFF)
