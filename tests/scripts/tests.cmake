# ./run.sh with stand-ins for the install, build and game scripts.
add_test(NAME RunScript_test COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run-script.sh)
set_tests_properties(RunScript_test PROPERTIES TIMEOUT 60)
