# The Debian package made by `cpack -G DEB` (./build.sh package), installing under /usr.
set(CPACK_PACKAGE_NAME velo-start)
set(CPACK_PACKAGE_VENDOR "Velo Start developers")
set(CPACK_PACKAGE_CONTACT "Velo Start developers <velo-start@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quake II launcher: mods, deathmatch flags, key layouts")
set(CPACK_PACKAGE_DESCRIPTION
    "A small desktop launcher for Quake II. It remembers where the game is installed and offers
mods, deathmatch flags, server and control settings and key layouts on a tabbed window, then
starts the game (a Windows copy through Wine, or a native engine) or saves the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/velo-start")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velo Start developers <velo-start@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine")

include(CPack)
