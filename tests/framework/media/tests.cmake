# Image reader tests: round trips through ktimage's writers, and BMP variants
# written by ImageMagick at build time (never committed) with the pixels
# ImageMagick itself reads from them.
set(KT_MEDIA_SAMPLES ${PROJECT_BINARY_DIR}/bin/media-samples)
add_custom_command(
  OUTPUT ${KT_MEDIA_SAMPLES}/done
  COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/make_samples.py ${KT_MEDIA_SAMPLES}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_samples.py
  COMMENT "Writing BMP samples with ImageMagick")
add_custom_target(media_samples DEPENDS ${KT_MEDIA_SAMPLES}/done)

if(TARGET ImageRoundTrip_test)
  target_link_libraries(ImageRoundTrip_test PRIVATE KtImageWriter)
endif()
if(TARGET BmpDecoder_test)
  add_dependencies(BmpDecoder_test media_samples)
endif()
