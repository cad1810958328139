# DIB tests. The resource test's pictures are made at build time: BMP files by
# ImageMagick, an "MCG " image by a native build of ktimage (so the build runs
# no Windows program), the "RCG" wrappers by a script. Nothing is committed.
set(KT_DIB_DIR ${CMAKE_CURRENT_LIST_DIR})
set(KT_DIB_RESOURCES ${PROJECT_BINARY_DIR}/dib-resources)
set(KT_NATIVE_TOOLS ${PROJECT_BINARY_DIR}/native-tools)
find_program(KT_HOST_CXX NAMES g++ c++ clang++ REQUIRED)

add_custom_command(
  OUTPUT ${KT_NATIVE_TOOLS}/ktimage
  COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR}/native -B ${KT_NATIVE_TOOLS} -G Ninja
          -DCMAKE_CXX_COMPILER=${KT_HOST_CXX} -DKT_FUZZ=OFF -DCMAKE_BUILD_TYPE=Release
  COMMAND ${CMAKE_COMMAND} --build ${KT_NATIVE_TOOLS} --target ktimage
  DEPENDS ${PROJECT_SOURCE_DIR}/native/CMakeLists.txt
  COMMENT "Building ktimage for this machine"
  VERBATIM)

add_custom_command(
  OUTPUT ${KT_DIB_RESOURCES}/done
  COMMAND python3 ${KT_DIB_DIR}/make_dib_resources.py ${KT_NATIVE_TOOLS}/ktimage ${KT_DIB_RESOURCES}
  DEPENDS ${KT_DIB_DIR}/make_dib_resources.py ${KT_NATIVE_TOOLS}/ktimage
  COMMENT "Writing the DIB test pictures"
  VERBATIM)
add_custom_target(dib_resources DEPENDS ${KT_DIB_RESOURCES}/done)

if(TARGET KtDibResource_test)
  target_sources(KtDibResource_test PRIVATE ${KT_DIB_DIR}/DibTest.rc)
  set_property(SOURCE ${KT_DIB_DIR}/DibTest.rc TARGET_DIRECTORY KtDibResource_test
               APPEND PROPERTY OBJECT_DEPENDS ${KT_DIB_RESOURCES}/done)
  target_include_directories(KtDibResource_test PRIVATE ${KT_DIB_RESOURCES})
  add_dependencies(KtDibResource_test dib_resources)
endif()
if(TARGET KtDib_test)
  target_link_libraries(KtDib_test PRIVATE KtImageWriter)
  add_dependencies(KtDib_test media_samples)
endif()
