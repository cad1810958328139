# Susie plug-in tests: the plug-ins themselves, and PGM/PPM pictures written
# by ImageMagick at build time (never committed) with the samples it reads
# back from them.
set(KT_PNM_SAMPLES ${PROJECT_BINARY_DIR}/bin/susie-samples)
add_custom_command(
  OUTPUT ${KT_PNM_SAMPLES}/done
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/make_pnm_samples.sh ${KT_PNM_SAMPLES}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_pnm_samples.sh
  COMMENT "Writing PGM and PPM samples with ImageMagick")
add_custom_target(pnm_samples DEPENDS ${KT_PNM_SAMPLES}/done)

if(TARGET KtSusiePlugIn_test)
  add_dependencies(KtSusiePlugIn_test susie_plugins pnm_samples)
endif()
if(TARGET PnmHeader_test)
  target_sources(PnmHeader_test PRIVATE ${PROJECT_SOURCE_DIR}/plugins/PnmHeader.cpp)
  target_include_directories(PnmHeader_test PRIVATE ${PROJECT_SOURCE_DIR}/plugins)
endif()
