# Delay-loaded system libraries: a library the program needs only for a file
# dialog, a movie or a folder look-up is loaded at its first call, not at
# the start, where Wine would pay for loading and attaching it (and what it
# pulls in) before the first window. The delay-import library is made from
# the toolchain's own import library, so it lists whatever that one does.
function(pomelo_delay_import target dll lib)
  find_library(_implib NAMES lib${lib}.a NO_CACHE)
  if(NOT _implib OR NOT CMAKE_DLLTOOL OR NOT CMAKE_NM)
    target_link_libraries(${target} PUBLIC ${lib})
    return()
  endif()
  execute_process(COMMAND ${CMAKE_NM} -g ${_implib} OUTPUT_VARIABLE _symbols
                  RESULT_VARIABLE _rc ERROR_QUIET)
  if(NOT _rc EQUAL 0)
    target_link_libraries(${target} PUBLIC ${lib})
    return()
  endif()
  # 32-bit names carry a leading underscore that dlltool adds back itself.
  string(REGEX MATCHALL "[ \t]I __imp__?[A-Za-z0-9_@?]+" _imports "${_symbols}")
  set(_def "LIBRARY ${dll}\nEXPORTS\n")
  set(_seen "")
  foreach(_line ${_imports})
    string(REGEX REPLACE "^[ \t]I __imp_" "" _name "${_line}")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "^_" "" _name "${_name}")
    endif()
    if(NOT _name IN_LIST _seen)
      list(APPEND _seen ${_name})
      string(APPEND _def "${_name}\n")
    endif()
  endforeach()
  set(_folder ${CMAKE_BINARY_DIR}/delayimp)
  file(MAKE_DIRECTORY ${_folder})
  file(WRITE ${_folder}/${lib}.def "${_def}")
  set(_out ${_folder}/lib${lib}_delay.a)
  set(_kill "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(_kill --kill-at)
  endif()
  execute_process(COMMAND ${CMAKE_DLLTOOL} ${_kill} --input-def ${_folder}/${lib}.def
                          --output-delaylib ${_out}
                  RESULT_VARIABLE _rc ERROR_QUIET OUTPUT_QUIET)
  if(_rc EQUAL 0)
    # The plain library after it serves anything the delay one cannot.
    target_link_libraries(${target} PUBLIC ${_out} ${lib})
  else()
    target_link_libraries(${target} PUBLIC ${lib})
  endif()
endfunction()
