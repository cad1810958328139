# The scripts' choice between the 32-bit and the 64-bit build (no Wine needed).
add_test(NAME ArchChoice
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/arch-choice.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(ArchChoice PROPERTIES TIMEOUT 60)

# ./run.sh with stand-ins for the install, build and game scripts.
add_test(NAME RunScript_test COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run-script.sh)
set_tests_properties(RunScript_test PROPERTIES TIMEOUT 60)

# The install step on a bad day at the mirror, with stand-in apt-get and dpkg.
add_test(NAME InstallDeps
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install-deps.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(InstallDeps PROPERTIES TIMEOUT 60)
