# The Debian package: "cpack -G DEB" in the build folder makes quillora_<version>_<arch>.deb,
# installing under /usr, with the Qt libraries it links found by dpkg-shlibdeps and the font
# the phone's texts are drawn in.
set(CPACK_PACKAGE_NAME quillora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Idle-screen themes, notices and wallpapers of a small phone")
set(CPACK_PACKAGE_DESCRIPTION "Quillora composes a phone's 240 x 320 idle-screen picture from a theme over a wallpaper: clock, Gregorian and lunar date, calendar, notices, festivals and weather. Programs: quillora (settings), tarnwick (theme daemon), morvessa (wallpaper rotator), show, fetchweather, qcop and phone (the emulated phone).")
set(CPACK_PACKAGE_CONTACT "Quillora developers <quillora@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, procps")
include(CPack)
