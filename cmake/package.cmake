# The Debian package: `cpack -G DEB` in a build folder (scripts/package
# does it) makes zweigschau_<version>_amd64.deb from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zweigschau)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zweigschau <zweigschau@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "put a folder tree on the clipboard as a list")
set(CPACK_PACKAGE_DESCRIPTION "Zweigschau walks a start folder's sub-folder tree and puts the list of its folders, or of its folders with their matching files, on the clipboard as plain text, one entry per line. A small window with German captions sets the options; /o:FOLDER makes one run without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
# The libraries the program links (Qt, libxcb, libstdc++) come from
# dpkg-shlibdeps; these are what it uses without linking: Qt's Wayland
# platform on Wayland desktops, wl-copy for the hand-over there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-wayland, wl-clipboard")
include(CPack)
