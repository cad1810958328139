# pomelo_add_resources(<target> [<rc file>])
#
# Compiles resources/Pomelo.rc (the executable's icon and cursors) into
# <target>, or instead a script of the target's own that includes it: the
# linker takes only one resource object per program. The pictures are written at build time by make_images.py into
# <build>/resources, which is put on the resource compiler's search path.
set(POMELO_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(POMELO_IMAGE_DIR ${PROJECT_BINARY_DIR}/resources)
set(POMELO_IMAGES
  ${POMELO_IMAGE_DIR}/pomelo.ico
  ${POMELO_IMAGE_DIR}/point.cur
  ${POMELO_IMAGE_DIR}/up.cur
  ${POMELO_IMAGE_DIR}/right.cur
  ${POMELO_IMAGE_DIR}/down.cur
  ${POMELO_IMAGE_DIR}/left.cur
  ${POMELO_IMAGE_DIR}/wait.cur)

if(NOT TARGET PomeloImages)
  find_program(POMELO_PYTHON NAMES python3 python REQUIRED)
  add_custom_command(
    OUTPUT ${POMELO_IMAGES}
    COMMAND ${POMELO_PYTHON} ${POMELO_RESOURCE_DIR}/make_images.py ${POMELO_IMAGE_DIR}
    DEPENDS ${POMELO_RESOURCE_DIR}/make_images.py
    COMMENT "Drawing the icon and cursors"
    VERBATIM)
  add_custom_target(PomeloImages DEPENDS ${POMELO_IMAGES})
endif()

function(pomelo_add_resources target)
  set(script ${POMELO_RESOURCE_DIR}/Pomelo.rc)
  if(ARGC GREATER 1)
    set(script ${ARGV1})
  endif()
  target_sources(${target} PRIVATE ${script})
  # The resource compiler's includes are not tracked: a script that includes
  # Pomelo.rc is rebuilt when it or the ids change.
  set_property(SOURCE ${script}
               TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS ${POMELO_IMAGES}
               ${POMELO_RESOURCE_DIR}/Pomelo.rc ${POMELO_RESOURCE_DIR}/resource.h)
  add_dependencies(${target} PomeloImages)
  target_include_directories(${target} PRIVATE ${POMELO_RESOURCE_DIR} ${POMELO_IMAGE_DIR})
endfunction()
