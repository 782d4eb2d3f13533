# The Windows programs' resources: the icon, made from the project's SVG at 16 to 256
# pixels in one .ico, the manifest (per-monitor DPI aware, common controls 6, asInvoker)
# and a version resource.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)

set(PAVLUNE_ICO ${CMAKE_BINARY_DIR}/pavlune.ico)
set(PAVLUNE_MANIFEST ${CMAKE_SOURCE_DIR}/cmake/windows/pavlune.manifest)
set(PAVLUNE_ICON_SIZES 16 24 32 48 64 128 256)
set(PAVLUNE_ICON_PNGS)
foreach(size IN LISTS PAVLUNE_ICON_SIZES)
  set(png ${CMAKE_BINARY_DIR}/icon/pavlune-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/data/pavlune.svg
    DEPENDS ${CMAKE_SOURCE_DIR}/data/pavlune.svg VERBATIM)
  list(APPEND PAVLUNE_ICON_PNGS ${png})
endforeach()
# The 256-pixel picture stays PNG inside the .ico, as Windows' own icons keep it.
list(POP_BACK PAVLUNE_ICON_PNGS PAVLUNE_ICON_LARGEST)
add_custom_command(OUTPUT ${PAVLUNE_ICO}
  COMMAND ${ICOTOOL} -c -o ${PAVLUNE_ICO} ${PAVLUNE_ICON_PNGS} -r ${PAVLUNE_ICON_LARGEST}
  DEPENDS ${PAVLUNE_ICON_PNGS} ${PAVLUNE_ICON_LARGEST} VERBATIM)
add_custom_target(pavlune_icon DEPENDS ${PAVLUNE_ICO})

# Gives the program its resources, with its own name and description.
function(pavlune_windows_resources target description)
  set(PAVLUNE_RC_NAME ${target})
  set(PAVLUNE_RC_DESCRIPTION ${description})
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/windows/pavlune.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${PAVLUNE_ICO};${PAVLUNE_MANIFEST}")
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} pavlune_icon)
endfunction()
