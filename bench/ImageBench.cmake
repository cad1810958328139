# The image decoding benchmark: "MCG " and "SLD" against memcpy and zlib's
# inflate of the same pixels. zlib is linked here only, never in the product.
# The picture is a plasma fractal cut to 256 colours, written by ImageMagick
# at build time: real structure, neither noise nor flat colour.
set(KT_BENCH_PICTURE ${PROJECT_BINARY_DIR}/bin/bench/plasma.bmp)
add_custom_command(
  OUTPUT ${KT_BENCH_PICTURE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/bin/bench
  COMMAND convert -seed 5 -size 640x480 plasma:fractal -colors 256 -type Palette
          -compress none BMP3:${KT_BENCH_PICTURE}
  COMMENT "Writing the benchmark picture with ImageMagick")
add_custom_target(image_bench_picture DEPENDS ${KT_BENCH_PICTURE})

find_library(KT_ZLIB NAMES libz.a z)
if(KT_ZLIB)
  add_executable(ImageBench ${CMAKE_CURRENT_LIST_DIR}/ImageBench.cpp)
  target_link_libraries(ImageBench PRIVATE KtImageWriter ${KT_ZLIB})
  set_target_properties(ImageBench PROPERTIES WIN32_EXECUTABLE OFF)
  add_dependencies(ImageBench image_bench_picture)
else()
  message(STATUS "zlib for the target not found (libz-mingw-w64-dev): no ImageBench")
endif()
