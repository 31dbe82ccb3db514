# Installing and packaging: the two programs, the desktop files of data/, and a Debian package of them.
include(GNUInstallDirs)

# The client starts the viewer from its own folder, so both go in the same one.
install(TARGETS lumenpane lumenpane-viewer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Everything the package holds, for a build that skips the tests (scripts/check-package).
add_custom_target(lumenpane_package_contents DEPENDS lumenpane lumenpane-viewer lumenpane_icons)

set(LUMENPANE_PACKAGE_MAINTAINER "Lumenpane developers <lumenpane@example.org>" CACHE STRING
    "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumenpane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumenpane developers")
set(CPACK_PACKAGE_CONTACT ${LUMENPANE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop client for the Quillmoor web site statistics service")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary is the package description's first line, this text the rest.
set(CPACK_PACKAGE_DESCRIPTION
    "Lumenpane signs in to a Quillmoor account and shows the traffic report of one
web site for one period, switching sites and periods from its menus. New
customers sign up and activate their account from it. While signed in it stays
in the notification area.")
# dpkg-shlibdeps finds the Qt libraries the programs link (and, through Debian's shlibs, the web engine's
# helper program). It cannot see the font the fixed-size windows are laid out for, nor the keyring library that
# the keychain library loads only when the program runs (without it the password would fall back to the
# settings file).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
