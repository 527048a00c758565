# The Debian package of the demo: /usr/bin/quorvalite, depending on the
# runtime packages of the libraries it links (SDL2, libpng and the C++
# runtime, found by dpkg-shlibdeps). `cpack` in a build folder writes it as
# dist/quorvalite_<version>_amd64.deb.
install(TARGETS quorvalite RUNTIME DESTINATION bin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvalite)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time demo: a walk through a small 3-D world rendered in software")
set(CPACK_PACKAGE_DESCRIPTION "Quorvalite renders a scripted walk through a small 3-D world entirely in \
software, one ray per screen column on eight worker threads, at 1920 x 1080, full screen or in a window. \
It can also render the show headless, make a video of it (with ffmpeg) and run as a timedemo.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorvalite developers")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg")
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
