# Copies the compiler's runtime DLLs beside the executables. The 32-bit
# compiler unwinds with DWARF-2 (libgcc_s_dw2-1.dll), the 64-bit one with SEH
# (libgcc_s_seh-1.dll).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(POMELO_MINGW_TRIPLE x86_64-w64-mingw32)
  set(POMELO_LIBGCC_DLL libgcc_s_seh-1.dll)
else()
  set(POMELO_MINGW_TRIPLE i686-w64-mingw32)
  set(POMELO_LIBGCC_DLL libgcc_s_dw2-1.dll)
endif()
set(POMELO_RUNTIME_DLLS
  /usr/lib/gcc/${POMELO_MINGW_TRIPLE}/12-posix/${POMELO_LIBGCC_DLL}
  /usr/lib/gcc/${POMELO_MINGW_TRIPLE}/12-posix/libstdc++-6.dll
  /usr/${POMELO_MINGW_TRIPLE}/lib/libwinpthread-1.dll)
file(MAKE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
foreach(dll ${POMELO_RUNTIME_DLLS})
  if(EXISTS ${dll})
    file(COPY ${dll} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  else()
    message(WARNING "Runtime DLL not found: ${dll}")
  endif()
endforeach()
