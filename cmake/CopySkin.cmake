# Copies the default skin beside the programs, so that the build folder runs
# as an installation does.
file(GLOB_RECURSE skin_files CONFIGURE_DEPENDS
  RELATIVE ${PROJECT_SOURCE_DIR}/skin
  ${PROJECT_SOURCE_DIR}/skin/*)
set(skin_outputs)
foreach(f IN LISTS skin_files)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${f}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/skin/${f} ${CMAKE_BINARY_DIR}/${f}
    DEPENDS ${PROJECT_SOURCE_DIR}/skin/${f}
    VERBATIM)
  list(APPEND skin_outputs ${CMAKE_BINARY_DIR}/${f})
endforeach()
add_custom_target(skin ALL DEPENDS ${skin_outputs})
