# The menu tests load the game menu by number from the program's own
# resources, so the test program carries the host's resources.
include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
if(TARGET KtMenu_test)
  pomelo_add_resources(KtMenu_test)
endif()
