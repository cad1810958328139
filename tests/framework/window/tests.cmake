# The menu tests load the game menu by number from the program's own
# resources, so the test program carries the host's resources.
include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
if(TARGET KtMenu_test)
  pomelo_add_resources(KtMenu_test)
endif()

# The object-list test tracks the nodes the lists make: the nothrow
# operator new and the plain operator deletes go through its wrappers.
if(TARGET KtObjectList_test)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KT_NEW_DELETE _ZnwyRKSt9nothrow_t _ZdlPvy _ZdlPv)
  else()
    set(KT_NEW_DELETE _ZnwjRKSt9nothrow_t _ZdlPvj _ZdlPv)
  endif()
  foreach(symbol ${KT_NEW_DELETE})
    target_link_options(KtObjectList_test PRIVATE -Wl,--wrap=${symbol})
  endforeach()
endif()

# The menu tests look for "the" popup menu window of the desktop, like the
# tests that move the real mouse, and must not see another test's.
if(TEST KtMenu_test)
  set_tests_properties(KtMenu_test PROPERTIES RESOURCE_LOCK "mouse")
endif()
