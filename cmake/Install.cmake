# cmake --install BUILD --prefix SDK lays out the SDK that module authors
# build against, outside this tree:
#   bin/      Pomelo.exe, KtLIB.dll, the compiler's runtime DLLs, the tools
#             (KtConfig.exe, KtMonitor.exe, ktimage.exe), the PNM plug-in,
#             and the sample game (hoge.dll, its pictures, Pomelo.ini)
#   include/  the headers a module sees: framework, protocol, runtime, and
#             the ids of the host's menu resource
#   lib/      the import library of KtLIB.dll
#   lib/cmake/PomeloSDK/  the package: find_package(PomeloSDK) gives the
#             target PomeloSDK::Scenario and pomelo_add_scenario()
include(CMakePackageConfigHelpers)

set(POMELO_SDK_CMAKE_DIR lib/cmake/PomeloSDK)

install(TARGETS KtLIB RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
install(PROGRAMS ${POMELO_RUNTIME_DLLS} DESTINATION bin)
foreach(program Pomelo KtConfig KtMonitor ktimage ktpnm hoge)
  if(TARGET ${program})
    install(PROGRAMS $<TARGET_FILE:${program}> DESTINATION bin)
  endif()
endforeach()
install(FILES ${PROJECT_BINARY_DIR}/bin/Pomelo.ini DESTINATION bin)
install(DIRECTORY ${PROJECT_BINARY_DIR}/bin/hoge DESTINATION bin PATTERN done EXCLUDE)

set(POMELO_SDK_HEADER_DIRS ${POMELO_PROTOCOL_DIR} ${PROJECT_SOURCE_DIR}/runtime)
foreach(folder base kernel window graphics media)
  list(APPEND POMELO_SDK_HEADER_DIRS ${PROJECT_SOURCE_DIR}/framework/${folder})
endforeach()
foreach(dir ${POMELO_SDK_HEADER_DIRS})
  install(DIRECTORY ${dir}/ DESTINATION include FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/resource.h DESTINATION include)

# The package records what the SDK was built for: a module must be built by
# the same compiler for the same processor.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(POMELO_SDK_TOOLCHAIN x86_64-mingw.cmake)
else()
  set(POMELO_SDK_TOOLCHAIN i686-mingw.cmake)
endif()
set(POMELO_SDK_POINTER_SIZE ${CMAKE_SIZEOF_VOID_P})
configure_file(${PROJECT_SOURCE_DIR}/cmake/PomeloSDKConfig.cmake.in
               ${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfig.cmake @ONLY)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion
                                 ARCH_INDEPENDENT)   # PomeloSDKConfig.cmake checks and says why
install(FILES ${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfig.cmake
              ${PROJECT_BINARY_DIR}/sdk/PomeloSDKConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/PomeloScenario.cmake
        DESTINATION ${POMELO_SDK_CMAKE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/cmake/${POMELO_SDK_TOOLCHAIN}
        DESTINATION ${POMELO_SDK_CMAKE_DIR} RENAME toolchain.cmake)
