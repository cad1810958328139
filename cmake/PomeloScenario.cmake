# pomelo_add_scenario(<name> SOURCES <files...>)
#
# Builds a scenario module: a DLL named <name>.dll (no "lib" prefix) that the
# host loads by the "scenario" key of Pomelo.ini. The module links KtLIB.dll,
# the one framework of the process, and sees the runtime through its headers
# only; it shares KtLIB.dll and the compiler's runtime DLLs with the host, so
# framework objects it makes outlive it and a Diagnostic thrown inside it is
# caught by the host.
#
# The same file serves the tree's own modules and, installed beside
# PomeloSDKConfig.cmake, modules built outside the tree. Both link
# PomeloSDK::Scenario: in the tree an alias of KtScenarioSdk, in the SDK the
# installed target.
function(pomelo_add_scenario name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_link_libraries(${name} PRIVATE PomeloSDK::Scenario)
  # Exports are plain cdecl names ("hege", "EXCEPTION_ENTRY"), without the
  # decoration that stdcall would add.
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup)
endfunction()
