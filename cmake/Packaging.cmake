# "cpack -G DEB" in the build folder makes a Debian package of what
# "cmake --install" installs, laid out for the configured prefix: configure
# with -DCMAKE_INSTALL_PREFIX=/usr for a package that installs into /usr.
set(CPACK_PACKAGE_NAME velmar-edid-utility)
set(CPACK_PACKAGE_VENDOR "Velmar")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "View and modify the EDID data of displays")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Velmar EDID Utility shows every block, mode and byte of a monitor's EDID, checks it,\n"
       "edits it section by section, and writes it to files or to a display as an override.\n"
       "velmar-edid is its command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmar EDID Utility maintainers <maintainers@velmar.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the programs link (Qt, the C and C++ run-time) as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The privileged helper is started through polkit's pkexec.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkexec | policykit-1")
include(CPack)
