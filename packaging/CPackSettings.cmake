# The Debian package, from the install rules: cpack -G DEB in the build folder (or
# scripts/package.sh). Included by the top-level CMakeLists.txt after every install rule.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrano)
set(CPACK_PACKAGE_VENDOR "The Veltrano developers")
set(CPACK_PACKAGE_CONTACT "The Veltrano developers <veltrano@veltrano.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://veltrano.org/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "celestial navigation calculator for the chart table")
set(CPACK_PACKAGE_DESCRIPTION "Veltrano answers the questions of a nautical almanac and of sight reduction:
a fix from sextant sights of the Sun, the Moon, the planets and the
navigational stars with its error ellipse and every step of the workings,
rise, set and twilight, the sight plan, the noon sight and the latitude by
Polaris, lunar distances, compass error, a star map and a log of fixes.

It prints the daily pages of the almanac for any date from 1900 to 2100,
computed on board from published astronomical series, and reduces sights
and writes the pages from the command line too.")
include(CPack)
