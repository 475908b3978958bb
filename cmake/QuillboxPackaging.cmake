# `cpack -G DEB` in the build directory makes quillbox_<version>_<arch>.deb, installing to /usr.
# dpkg-shlibdeps finds the libraries the program links; the SVG icon engine is a Qt plugin that
# is loaded at run time, so its package is named here.
set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VENDOR Brackmoor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "notes keeper that lives in the background")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillbox keeps named pages of plain-text notes behind a global hot key and a tray icon.\n\
Keywords and numbers are coloured, a double click copies a whole word to the clipboard,\n\
protected pages stay locked behind a password, and everything is kept in one scrambled\n\
Notes file with rotating daily backups.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_PACKAGE_CONTACT "Brackmoor <Quillbox@quillbox.example.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)

include(CPack)
