# The cursor tests load the executable's own cursors by number, so the test
# program carries the same resources as the host, plus a few of its own.
include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
if(TARGET KtCursor_test)
  pomelo_add_resources(KtCursor_test ${CMAKE_CURRENT_LIST_DIR}/CursorTest.rc)
endif()
