# The play script reader is a pure unit; the tool itself is played against
# the sample game by HogeGame_test and against the outside module by the SDK test.
if(TARGET PlayScript_test)
  target_link_libraries(PlayScript_test PRIVATE KtPlayCore)
endif()
