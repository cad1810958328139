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

# The menu tests look for "the" popup menu window of the desktop, like the
# tests that move the real mouse, and must not see another test's.
if(TEST KtMenu_test)
  set_tests_properties(KtMenu_test PROPERTIES RESOURCE_LOCK "mouse")
endif()
