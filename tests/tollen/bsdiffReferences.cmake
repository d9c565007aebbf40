# Reference BSDiff patches from Debian's bsdiff and bspatch. The test program runs under Wine
# in the Windows build and cannot start Linux programs, so they are made at build time and
# the tests get the folder (as Z: path for Windows programs).
find_program(BSDIFF_PROGRAM bsdiff REQUIRED)
find_program(BSPATCH_PROGRAM bspatch REQUIRED)
set(BSDIFF_REFERENCES ${CMAKE_CURRENT_BINARY_DIR}/bsdiff-references)
add_custom_command(OUTPUT ${BSDIFF_REFERENCES}/done
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/makeBsdiffReferences.sh ${BSDIFF_REFERENCES}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/makeBsdiffReferences.sh ${CMAKE_CURRENT_LIST_DIR}/makeBsdiffPair.sh
  COMMENT "Making reference BSDiff patches with bsdiff and bspatch")
add_custom_target(bsdiffReferences DEPENDS ${BSDIFF_REFERENCES}/done)
add_dependencies(tollenTests bsdiffReferences)
if(WIN32)
  target_compile_definitions(tollenTests PRIVATE BSDIFF_REFERENCES="Z:${BSDIFF_REFERENCES}")
else()
  target_compile_definitions(tollenTests PRIVATE BSDIFF_REFERENCES="${BSDIFF_REFERENCES}")
endif()
