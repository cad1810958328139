# Helper programs for end-to-end tests of the separate programs, and the
# tests of the setup tool's parts.
add_executable(boxdriver ${CMAKE_CURRENT_LIST_DIR}/boxdriver.cpp)
set_target_properties(boxdriver PROPERTIES WIN32_EXECUTABLE OFF)
target_link_libraries(boxdriver PRIVATE user32)

foreach(test_name KtConfig_test BoxDriver_test)
  if(TARGET ${test_name})
    add_dependencies(${test_name} boxdriver KtConfig)
  endif()
endforeach()
foreach(test_name SetupOptions_test DriveList_test ScreenModeList_test)
  if(TARGET ${test_name})
    target_link_libraries(${test_name} PRIVATE KtConfigCore)
  endif()
endforeach()

# The setup tool's test writes the product key, which the game's tests read.
if(TEST KtConfig_test)
  set_tests_properties(KtConfig_test PROPERTIES RESOURCE_LOCK "productKey")
endif()
