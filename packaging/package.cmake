# The Debian package, dotwall_VERSION_ARCH.deb, made by CPack from the installed tree
# (`./dev package`): its dependencies worked out from the binaries by dpkg-shlibdeps, its
# files under /usr as Debian lays them out, with the copyright and changelog Debian asks for.

set(DOTWALL_MAINTAINER "Dotwall developers <dotwall@example.org>")

# The changelog's latest entry names the version the project defines.
file(STRINGS changelog latest LIMIT_COUNT 1)
if(NOT latest MATCHES "^dotwall \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog starts with \"${latest}\": add an entry for "
                        "version ${PROJECT_VERSION} at its top.")
endif()
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/changelog > ${changelog}
    DEPENDS changelog
    COMMENT "Compressing the changelog")
add_custom_target(package_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${docdir})

# The copyright file in Debian's machine-readable form, the licence text from LICENSE, each of
# its lines indented and its empty lines a lone dot.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "^Copyright ([^\n]*)" notice "${license}")
set(holders "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^[^\n]*\n\n" "" terms "${license}")
string(REGEX REPLACE "\n+$" "" terms "${terms}")
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Dotwall
Upstream-Contact: ${DOTWALL_MAINTAINER}

Files: *
Copyright: ${holders}
License: Expat
 ${terms}
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${docdir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dotwall)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The prefix the build was made for, which the programs' library search path and the manual
# pages name: /usr for Debian's layout (./dev package).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DOTWALL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The service's settings are the administrator's: an upgrade keeps their changes.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/conffiles "${DOTWALL_LCDD_DEFAULTS}\n")
# The maintainer scripts apply the udev rule; with them in place CPack adds no ldconfig calls,
# which would be of no use, since ldconfig never looks into lib/dotwall.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/postinst ${CMAKE_CURRENT_SOURCE_DIR}/postrm
    ${CMAKE_CURRENT_BINARY_DIR}/conffiles)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drive controllerless monochrome LCD panels")
# CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Controllerless LCD panels must be fed every pixel, line after line, by
something outside the panel. Dotwall turns pictures into their frames, one
bit a pixel, and feeds them.
.
DotwallUsb packs a 640 x 480 picture as a dual-scan frame, writes the frame
file and talks to a USB-to-I/O board (LCD output, I2C). DotwallLpt streams a
picture to a 640 x 240 single-scan panel with a 4-bit bus out of the parallel
port, or through an FTDI FT232H or FT2232H USB adapter. DotwallFrame makes
the same frames from the command line and streams them without a window.
DotwallPanel shows what the panel would show, live from a virtual port, with
no port and no panel.")
include(CPack)
