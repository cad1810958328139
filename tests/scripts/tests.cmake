# The scripts' choice between the 32-bit and the 64-bit build (no Wine needed).
add_test(NAME ArchChoice
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/arch-choice.sh ${PROJECT_SOURCE_DIR})
set_tests_properties(ArchChoice PROPERTIES TIMEOUT 60)
