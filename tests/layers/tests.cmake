# The layer rule: the script that checks every source's includes, against
# trees that break it, and the include folders themselves, against a source
# with KtLIB's include folders that reaches into the runtime.
add_test(NAME LayerRules_test
         COMMAND ${POMELO_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/check_layers_test.py
                 ${POMELO_LAYER_CHECK} ${PROJECT_SOURCE_DIR})
set_tests_properties(LayerRules_test PROPERTIES TIMEOUT 120)

add_library(framework_reaches_runtime OBJECT EXCLUDE_FROM_ALL
            ${CMAKE_CURRENT_LIST_DIR}/FrameworkReachesRuntime.cpp)
target_include_directories(framework_reaches_runtime PRIVATE
                           $<TARGET_PROPERTY:KtLIB,INCLUDE_DIRECTORIES>)
add_test(NAME LayerIncludeFolders_test
         COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target framework_reaches_runtime)
set_tests_properties(LayerIncludeFolders_test PROPERTIES TIMEOUT 120 ENVIRONMENT LC_ALL=C
                     PASS_REGULAR_EXPRESSION "KtVelka\\.h: No such file")
