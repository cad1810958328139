# pomelo_add_movie(<target> <output.avi> DEPTH <8|32> SIZE <w> <h> FRAMES <n> FPS <n> [DAMAGED])
#
# Writes a small uncompressed AVI at build time (scripts/make_movie.py) as
# the custom target <target>; programs that play it depend on that target.
# DAMAGED writes such a movie cut inside its headers, which no player opens.
# Movies are never committed.
function(pomelo_add_movie target output)
  cmake_parse_arguments(ARG "DAMAGED" "DEPTH;FRAMES;FPS" "SIZE" ${ARGN})
  set(damaged)
  if(ARG_DAMAGED)
    set(damaged damaged)
  endif()
  list(GET ARG_SIZE 0 width)
  list(GET ARG_SIZE 1 height)
  find_program(POMELO_PYTHON NAMES python3 python REQUIRED)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${POMELO_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/make_movie.py ${output}
            ${ARG_DEPTH} ${width} ${height} ${ARG_FRAMES} ${ARG_FPS} ${damaged}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make_movie.py
    COMMENT "Writing movie ${output}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${output})
endfunction()
