# The Windows product: the setup program (NSIS) and the portable zip, both from one staged
# folder of stripped programs, the README and the licence (lines ended as Windows reads them).
find_program(MAKENSIS makensis REQUIRED)

set(PAVLUNE_STAGE ${CMAKE_BINARY_DIR}/stage)
set(PAVLUNE_SETUP ${CMAKE_BINARY_DIR}/pavlune-setup-${PROJECT_VERSION}.exe)
set(PAVLUNE_ZIP ${CMAKE_BINARY_DIR}/pavlune-${PROJECT_VERSION}-win64.zip)
set(PAVLUNE_STAGED_FILES ${PAVLUNE_STAGE}/pavlune.exe ${PAVLUNE_STAGE}/pavlune-send.exe
  ${PAVLUNE_STAGE}/pavlune-desk.exe ${PAVLUNE_STAGE}/README.txt ${PAVLUNE_STAGE}/LICENSE.txt)

configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${PAVLUNE_STAGE}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${PAVLUNE_STAGE}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
foreach(program IN ITEMS pavlune pavlune-send pavlune-desk)
  add_custom_command(OUTPUT ${PAVLUNE_STAGE}/${program}.exe
    COMMAND ${CMAKE_STRIP} -o ${PAVLUNE_STAGE}/${program}.exe $<TARGET_FILE:${program}>
    DEPENDS ${program} VERBATIM)
endforeach()

add_custom_command(OUTPUT ${PAVLUNE_SETUP}
  COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${PAVLUNE_STAGE} -DOUTFILE=${PAVLUNE_SETUP}
    -DICON=${PAVLUNE_ICO} ${CMAKE_SOURCE_DIR}/packaging/windows/pavlune.nsi
  DEPENDS ${PAVLUNE_STAGED_FILES} ${PAVLUNE_ICO} ${CMAKE_SOURCE_DIR}/packaging/windows/pavlune.nsi VERBATIM)
add_custom_target(windows_installer DEPENDS ${PAVLUNE_SETUP})

add_custom_command(OUTPUT ${PAVLUNE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${PAVLUNE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${PAVLUNE_ZIP} --format=zip pavlune.exe pavlune-send.exe pavlune-desk.exe README.txt LICENSE.txt
  WORKING_DIRECTORY ${PAVLUNE_STAGE}
  DEPENDS ${PAVLUNE_STAGED_FILES} VERBATIM)
add_custom_target(windows_zip DEPENDS ${PAVLUNE_ZIP})
