# The Debian package made by `cpack -G DEB` (./build.sh package), installing under /usr.
# Licence: GPL-3.0-or-later (LICENSE; resources/debian/copyright in the package).
set(CPACK_PACKAGE_NAME velo-start)
set(CPACK_PACKAGE_VENDOR "Velo Start developers")
set(CPACK_PACKAGE_CONTACT "Velo Start developers <velo-start@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quake II launcher: mods, deathmatch flags, key layouts")
# Debian shows these lines as they stand, so each stays within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "A small desktop launcher for Quake II. It remembers where the game is
installed and offers mods, deathmatch flags, server and control settings and
key layouts on a tabbed window, then starts the game (a Windows copy through
Wine, or a native engine) or saves the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/velo-start")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

# The packaging revision; the changelog's newest entry must name the same version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(velo_changelog ${PROJECT_SOURCE_DIR}/resources/debian/changelog)
file(STRINGS ${velo_changelog} velo_changelog_head LIMIT_COUNT 1)
set(velo_deb_version ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
if(NOT velo_changelog_head MATCHES "^velo-start \\(${velo_deb_version}\\) ")
    message(FATAL_ERROR "${velo_changelog}: the newest entry is \"${velo_changelog_head}\", "
                        "not version ${velo_deb_version}")
endif()

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velo Start developers <velo-start@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")

# Two builds of one version give the same package: unless the caller chose a time,
# every file in it carries the date of the changelog's newest entry (read with
# dpkg-dev's tool, which a .deb needs anyway).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackSourceDate.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} "
find_program(VELO_PARSECHANGELOG dpkg-parsechangelog)
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH} AND VELO_PARSECHANGELOG)
    execute_process(COMMAND \${VELO_PARSECHANGELOG} -l \"${velo_changelog}\" -STimestamp
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    set(ENV{SOURCE_DATE_EPOCH} \${epoch})
endif()
")

include(CPack)
