# Copies the compiler's runtime DLLs beside the executables.
set(POMELO_RUNTIME_DLLS
  /usr/lib/gcc/i686-w64-mingw32/12-posix/libgcc_s_dw2-1.dll
  /usr/lib/gcc/i686-w64-mingw32/12-posix/libstdc++-6.dll
  /usr/i686-w64-mingw32/lib/libwinpthread-1.dll)
file(MAKE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
foreach(dll ${POMELO_RUNTIME_DLLS})
  if(EXISTS ${dll})
    file(COPY ${dll} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  else()
    message(WARNING "Runtime DLL not found: ${dll}")
  endif()
endforeach()
