# The cursor tests load the executable's own cursors by number, so the test
# program carries the same resources as the host, plus a few of its own.
include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
if(TARGET KtCursor_test)
  pomelo_add_resources(KtCursor_test ${CMAKE_CURRENT_LIST_DIR}/CursorTest.rc)
endif()

# A surface's BMP export read by ImageMagick on the host, outside Wine.
if(TARGET SurfaceStore_test)
  add_test(NAME SurfaceBmpMagick_test
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/bmp-export-magick.sh ${PROJECT_BINARY_DIR})
  set_tests_properties(SurfaceBmpMagick_test PROPERTIES TIMEOUT 120)
endif()
