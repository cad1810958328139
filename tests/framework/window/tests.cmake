# The menu tests load the game menu by number from the program's own
# resources, so the test program carries the host's resources.
include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
if(TARGET KtMenu_test)
  pomelo_add_resources(KtMenu_test)
endif()

# The movie and animation control tests play the movies of test_movies.
foreach(movie_test KtAviView_test KtAnimatedControl_test)
  if(TARGET ${movie_test})
    add_dependencies(${movie_test} test_movies)
  endif()
endforeach()

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
