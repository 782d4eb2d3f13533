# Installing the programs like any Debian program, and the Debian package made from that
# install: `cmake --build build --target deb` (`make deb`) writes build/<name>_<version>_<arch>.deb.
# The sanitizer builds have no programs to install.
if(NOT PAVLUNE_WITH_QT)
  return()
endif()

include(GNUInstallDirs)
set(PAVLUNE_DATA_DIR ${CMAKE_SOURCE_DIR}/data)
set(PAVLUNE_DEB_MAINTAINER "Pavlune maintainers <maintainers@users.noreply.c-seed-5b7112f5.example>"
    CACHE STRING "Maintainer field of the Debian package and its changelog")

install(TARGETS pavlune pavlune-send pavlune-desk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages: the options come from the programs' own --help, so the pages cannot fall
# behind the programs; description, configuration, files, exit statuses and examples come
# from data/man/<program>.h2m. Run with no display server, configuration or saved state
# of the person building, and in English.
find_program(PAVLUNE_HELP2MAN help2man REQUIRED)
set(PAVLUNE_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(PAVLUNE_MAN_HOME ${PAVLUNE_MAN_DIR}/home)
set(pavlune_SUMMARY "full-screen round clock and notes for a bridge tournament's playing room")
set(pavlune-send_SUMMARY "send a round page, a note, a clear or a size request to a Pavlune display")
set(pavlune-desk_SUMMARY "every playing room's Pavlune display in one browser page")
set(pavlune_COMMANDS "")
set(pavlune-send_COMMANDS "clear round note size raw screenshot status")
set(pavlune-desk_COMMANDS "")
set(PAVLUNE_MAN_PAGES "")
# A cross build's programs run under its emulator (QEMU for arm64).
list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " PAVLUNE_HELP_EMULATOR)
foreach(program IN ITEMS pavlune pavlune-send pavlune-desk)
  set(page ${PAVLUNE_MAN_DIR}/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PAVLUNE_MAN_HOME}
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            HOME=${PAVLUNE_MAN_HOME} XDG_CONFIG_HOME=${PAVLUNE_MAN_HOME}/config
            XDG_STATE_HOME=${PAVLUNE_MAN_HOME}/state XDG_RUNTIME_DIR=${PAVLUNE_MAN_HOME}
            LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
            PAVLUNE_HELP_PROGRAM=$<TARGET_FILE:${program}>
            "PAVLUNE_HELP_EMULATOR=${PAVLUNE_HELP_EMULATOR}"
            "PAVLUNE_HELP_COMMANDS=${${program}_COMMANDS}"
            ${PAVLUNE_HELP2MAN} --no-info --section=1
              "--version-string=${program} ${PROJECT_VERSION}"
              "--name=${${program}_SUMMARY}"
              --include=${PAVLUNE_DATA_DIR}/man/${program}.h2m
              --output=${page}
              ${PAVLUNE_DATA_DIR}/man/help-all.sh
    COMMAND gzip -9nkf ${page}
    DEPENDS ${program} ${PAVLUNE_DATA_DIR}/man/${program}.h2m ${PAVLUNE_DATA_DIR}/man/help-all.sh
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  list(APPEND PAVLUNE_MAN_PAGES ${page}.gz)
endforeach()
add_custom_target(man-pages ALL DEPENDS ${PAVLUNE_MAN_PAGES})
install(FILES ${PAVLUNE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PAVLUNE_DATA_DIR}/pavlune.desktop ${PAVLUNE_DATA_DIR}/pavlune-desk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PAVLUNE_DATA_DIR}/pavlune.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The unit names the program by the path it is installed to, which is only known when
# installing: /usr/bin in the package, /usr/local/bin for a plain `cmake --install`.
# systemd looks for user units under <prefix>/lib/systemd/user for both prefixes.
install(CODE "
  set(PAVLUNE_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${PAVLUNE_DATA_DIR}/pavlune.service.in\" \"${CMAKE_BINARY_DIR}/pavlune.service\" @ONLY)
")
install(FILES ${CMAKE_BINARY_DIR}/pavlune.service DESTINATION lib/systemd/user)

# Debian wants a changelog and a copyright file with every package.
configure_file(${PAVLUNE_DATA_DIR}/changelog.in ${CMAKE_BINARY_DIR}/debian-doc/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian-doc/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/debian-doc/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/debian-doc/changelog
  VERBATIM)
add_custom_target(debian-doc ALL DEPENDS ${CMAKE_BINARY_DIR}/debian-doc/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/debian-doc/changelog.gz ${PAVLUNE_DATA_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pavlune)

# The package: CPack's DEB generator over the install above. dpkg-shlibdeps works out the
# libraries; what the display loads at run time without linking to it is named here:
# the fonts its pages are drawn with, the picture plug-ins for notes and backgrounds
# beyond PNG, JPEG and GIF, and Qt's Wayland platform.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavlune)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pavlune developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "round clock and notes for a bridge tournament's playing room")
set(CPACK_PACKAGE_DESCRIPTION
"Pavlune is the big screen of a duplicate-bridge tournament's playing room.
The tournament's scoring program drives it over TCP: round pages with a clock
counting down to the end of the round and into overtime, note pictures, and
the screen size.
This package holds the display (pavlune), the tool that drives it by hand or
from scripts (pavlune-send), the director's desk that shows every room's
display in one browser page (pavlune-desk), their manual pages, desktop
entries, and a systemd user unit that starts the display full screen with the
graphical session.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PAVLUNE_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A cross build is packaged for the machine it was built for (arm64 for aarch64-linux-gnu);
# dpkg-shlibdeps then reads that machine's libraries and their symbols files, with its
# binutils, from the multiarch folders.
set(PAVLUNE_DEB_HOST_ENV "")
if(CMAKE_CROSSCOMPILING)
  execute_process(COMMAND dpkg-architecture -qDEB_HOST_ARCH -t ${CMAKE_LIBRARY_ARCHITECTURE}
                  OUTPUT_VARIABLE PAVLUNE_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                  COMMAND_ERROR_IS_FATAL ANY)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${PAVLUNE_DEB_ARCH})
  set(PAVLUNE_DEB_HOST_ENV DEB_HOST_ARCH=${PAVLUNE_DEB_ARCH})
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, fonts-dejavu-core, qt6-image-formats-plugins, qt6-wayland")
# The desk opens its page in the browser with xdg-open; without it the address is printed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Install into the staging tree with DESTDIR, so that CMAKE_INSTALL_PREFIX is /usr while
# installing and the unit's path above is the one on the display machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)

# One .deb in build/ (packages of earlier versions are removed), made from an optimised
# build: a debug build is refused rather than packaged, and has no package test.
set(PAVLUNE_PACKAGE_TYPES Release RelWithDebInfo MinSizeRel)
if(CMAKE_BUILD_TYPE IN_LIST PAVLUNE_PACKAGE_TYPES)
  add_custom_target(deb
    COMMAND sh -c "rm -f ${CPACK_PACKAGE_NAME}_*.deb"
    COMMAND ${CMAKE_COMMAND} -E env ${PAVLUNE_DEB_HOST_ENV}
            ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    DEPENDS pavlune pavlune-send pavlune-desk man-pages debian-doc
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Building the Debian package"
    VERBATIM)
  # The package of a cross build is checked by its own test (make test-arm64).
  if(NOT CMAKE_CROSSCOMPILING)
    add_subdirectory(tests/package)
  endif()
else()
  add_custom_target(deb
    COMMAND ${CMAKE_COMMAND} -E echo "The package is built from a Release or RelWithDebInfo build, not ${CMAKE_BUILD_TYPE}."
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()
