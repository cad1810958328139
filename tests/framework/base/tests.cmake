# Extra wiring of the foundation tests.

# Game-disc paths: two CD-ROM drives are added to the Wine prefix before the
# tests that search for one and removed after them. Changing drives restarts
# the wineserver, so neither step may run beside another test.
set(KT_GAMEDISC_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/gamedisc-drives.sh)
add_test(NAME KtGameDiscDrives_setup COMMAND bash ${KT_GAMEDISC_SCRIPT} ${PROJECT_BINARY_DIR} setup)
add_test(NAME KtGameDiscDrives_cleanup COMMAND bash ${KT_GAMEDISC_SCRIPT} ${PROJECT_BINARY_DIR} cleanup)
set_tests_properties(KtGameDiscDrives_setup PROPERTIES
  FIXTURES_SETUP KtGameDiscDrives RUN_SERIAL TRUE TIMEOUT 120)
set_tests_properties(KtGameDiscDrives_cleanup PROPERTIES
  FIXTURES_CLEANUP KtGameDiscDrives RUN_SERIAL TRUE TIMEOUT 120)
# KtPathName_test checks the prefix without any CD-ROM drive: it goes first.
if(TEST KtPathName_test)
  set_tests_properties(KtGameDiscDrives_setup PROPERTIES DEPENDS KtPathName_test)
endif()
if(TEST KtPathNameGameDisc_test)
  set_tests_properties(KtPathNameGameDisc_test PROPERTIES FIXTURES_REQUIRED KtGameDiscDrives)
endif()
# Both read and write the framework key's "CD-ROM" value.
foreach(test KtPathName_test KtPathNameGameDisc_test)
  if(TEST ${test})
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK KtFrameworkKey)
  endif()
endforeach()

# Saves from the host and from a module's own copy of the code at once.
if(TARGET KtRegisterStore_test)
  add_dependencies(KtRegisterStore_test module_memory)
endif()
