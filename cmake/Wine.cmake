# Runs the build's Windows programs (tests, generators) under Wine with the
# build's own prefix and code page 932.
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in
               ${PROJECT_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                                GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)

# scripts/wine-env.sh reads the prefix kind from here. A 64-bit build runs
# under Wine's 64-bit loader, called directly: the plain "wine" command picks
# the 32-bit loader whenever it is installed, even on machines that cannot
# run it. The commands in wine64-bin stand in for wine, wineboot, winepath
# and wineserver on the PATH of this build's scripts.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(WRITE ${PROJECT_BINARY_DIR}/wine-arch "win64\n")
  set(_wine_bin ${PROJECT_BINARY_DIR}/wine64-bin)
  file(MAKE_DIRECTORY ${_wine_bin})
  foreach(_shim wine wineboot winepath wineserver)
    if(_shim STREQUAL wineserver)
      set(_command "/usr/lib/wine/wineserver64 \"$@\"")
    elseif(_shim STREQUAL wineboot OR _shim STREQUAL winepath)
      set(_command "/usr/lib/wine/wine64 ${_shim} \"$@\"")
    else()
      set(_command "/usr/lib/wine/wine64 \"$@\"")
    endif()
    file(WRITE ${_wine_bin}/${_shim} "#!/bin/sh\nexec ${_command}\n")
    file(CHMOD ${_wine_bin}/${_shim} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endforeach()
else()
  file(WRITE ${PROJECT_BINARY_DIR}/wine-arch "win32\n")
endif()
