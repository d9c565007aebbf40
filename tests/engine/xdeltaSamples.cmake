# Real xdelta patches from Debian's xdelta3 for the description reader. The test program runs
# under Wine and cannot start Linux programs, so they are made at build time.
find_program(XDELTA3_PROGRAM xdelta3 REQUIRED)
set(XDELTA_SAMPLES ${CMAKE_CURRENT_BINARY_DIR}/xdelta-samples)
add_custom_command(OUTPUT ${XDELTA_SAMPLES}/done
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/makeXdeltaSamples.sh ${XDELTA3_PROGRAM} ${XDELTA_SAMPLES}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/makeXdeltaSamples.sh
  COMMENT "Making xdelta samples with xdelta3")
add_custom_target(xdeltaSamples DEPENDS ${XDELTA_SAMPLES}/done)
add_dependencies(engineTests xdeltaSamples)
target_compile_definitions(engineTests PRIVATE XDELTA_SAMPLES="Z:${XDELTA_SAMPLES}")
