# The layer rule, checked twice: when CMake configures, and at build time
# whenever a source changes (KtLIB waits for the check, so a broken rule
# stops the build before anything is compiled). scripts/check_layers.py holds
# the rule; tests/layers/ shows that it fails when broken.
find_program(POMELO_PYTHON NAMES python3 python REQUIRED)
set(POMELO_LAYER_CHECK ${PROJECT_SOURCE_DIR}/scripts/check_layers.py)

execute_process(COMMAND ${POMELO_PYTHON} ${POMELO_LAYER_CHECK} ${PROJECT_SOURCE_DIR}
                RESULT_VARIABLE layer_result ERROR_VARIABLE layer_errors)
if(NOT layer_result EQUAL 0)
  message(FATAL_ERROR "Layer rule broken:\n${layer_errors}")
endif()

set(layer_globs)
foreach(folder protocol framework runtime app scenario tools)
  list(APPEND layer_globs ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
endforeach()
file(GLOB_RECURSE layer_sources CONFIGURE_DEPENDS ${layer_globs})
set(POMELO_LAYER_STAMP ${PROJECT_BINARY_DIR}/layers.checked)
add_custom_command(
  OUTPUT ${POMELO_LAYER_STAMP}
  COMMAND ${POMELO_PYTHON} ${POMELO_LAYER_CHECK} ${PROJECT_SOURCE_DIR} --stamp ${POMELO_LAYER_STAMP}
  DEPENDS ${POMELO_LAYER_CHECK} ${layer_sources}
  COMMENT "Checking which layers each source includes"
  VERBATIM)
add_custom_target(PomeloLayers ALL DEPENDS ${POMELO_LAYER_STAMP})
