# The Debian package: `cpack -G DEB` in a build folder (scripts/package
# does it) makes zweigschau_<version>_amd64.deb from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zweigschau)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The maintainer, as app/CMakeLists.txt sets it (the changelog's signer).
set(CPACK_PACKAGE_CONTACT "${ZWEIGSCHAU_DEB_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "put a folder tree on the clipboard as a list")
# The long description, one line of the control file per line here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Zweigschau walks a start folder's sub-folder tree and puts the list of"
  "its folders, or of its folders with their matching files, on the"
  "clipboard as plain text, one entry per line, ready to paste elsewhere."
  ""
  "A small window with German captions sets the start folder, the depth,"
  "the listing mode (every folder, or only the ends of the tree) and a file"
  "mask. Started with /o:FOLDER it makes one run without a window and"
  "leaves the list on the clipboard.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
# The libraries the program links (Qt, libxcb, libstdc++) come from
# dpkg-shlibdeps. Recommended, used without linking: on Wayland desktops
# only, Qt's Wayland platform and wl-copy for the hand-over there (an X11
# desktop does without them; on Wayland the program names what is
# missing); and Qt's German texts for its standard dialogs, which stay
# English without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, wl-clipboard, qt6-translations-l10n")
# Nautilus shows the folder menu entry only through its Python extensions.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-nautilus")
include(CPack)
