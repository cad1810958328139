# cmake --install <build> --prefix <dir> makes the SDK for scenario modules
# built outside the tree:
#   bin/                  Pomelo.exe, KtLIB.dll, the compiler's runtime DLLs,
#                         the tools, ktpnm.spi, the sample game and its Pomelo.ini
#   include/Pomelo/       the headers a module builds against: the framework's,
#                         the protocol's, the runtime's (its code stays inside
#                         Pomelo.exe) and the game menu's ids
#   lib/                  KtLIB's import library
#   lib/cmake/PomeloSDK/  the CMake package (find_package(PomeloSDK)) with
#                         pomelo_add_scenario and the SDK compiler's toolchain file
include(CMakePackageConfigHelpers)
set(POMELO_SDK_PACKAGE_DIR lib/cmake/PomeloSDK)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(POMELO_SDK_ARCH x86_64)
  set(POMELO_SDK_BITS 64)
else()
  set(POMELO_SDK_ARCH i686)
  set(POMELO_SDK_BITS 32)
endif()

install(TARGETS KtLIB KtScenarioSdk EXPORT PomeloSDKTargets
        RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
install(EXPORT PomeloSDKTargets NAMESPACE PomeloSDK:: DESTINATION ${POMELO_SDK_PACKAGE_DIR})

file(GLOB POMELO_SDK_HEADERS
  ${PROJECT_SOURCE_DIR}/framework/*/*.h
  ${PROJECT_SOURCE_DIR}/protocol/*.h
  ${PROJECT_SOURCE_DIR}/runtime/*.h
  ${PROJECT_SOURCE_DIR}/resources/resource.h)
install(FILES ${POMELO_SDK_HEADERS} DESTINATION include/Pomelo)

# The programs, each beside the DLLs it loads.
foreach(program Pomelo KtConfig KtMonitor KtPlay ktimage hoge)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION bin)
  endif()
endforeach()
if(TARGET ktpnm)
  install(TARGETS ktpnm LIBRARY DESTINATION bin)
endif()
foreach(dll ${POMELO_RUNTIME_DLLS})
  if(EXISTS ${dll})
    install(FILES ${dll} DESTINATION bin)
  endif()
endforeach()
if(TARGET PomeloIni)
  install(FILES ${PROJECT_BINARY_DIR}/bin/Pomelo.ini DESTINATION bin)
endif()
if(TARGET hoge_data)
  install(DIRECTORY ${PROJECT_BINARY_DIR}/bin/hoge DESTINATION bin PATTERN done EXCLUDE)
endif()
if(TARGET hoge)
  # The sample game's play script, an example for KtPlay.exe.
  install(FILES ${PROJECT_SOURCE_DIR}/scenario/hoge/hoge.play DESTINATION bin)
endif()

configure_file(${PROJECT_SOURCE_DIR}/cmake/PomeloSDKConfig.cmake.in
               ${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfig.cmake @ONLY)
# The architecture is checked by the config file itself, with a message that
# says what to do; the version file would only list the SDK as unsuitable.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfig.cmake
              ${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/PomeloScenario.cmake
        DESTINATION ${POMELO_SDK_PACKAGE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/cmake/${POMELO_SDK_ARCH}-mingw.cmake
        DESTINATION ${POMELO_SDK_PACKAGE_DIR} RENAME toolchain.cmake)
