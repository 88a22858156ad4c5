# The Debian package of both programs (cpack -G DEB in the build folder). The programs find
# their installed folders by the configured prefix, so the package installs under that same
# prefix: configure with -DCMAKE_INSTALL_PREFIX=/usr for a package that installs into /usr.
# Installing and packaging take what the build made and never build: a package made while the
# tests run (the install tests do) must not relink the programs under them.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velora-panekeeper)
set(CPACK_PACKAGE_VENDOR "Velora")
set(CPACK_PACKAGE_CONTACT "Equipe Velora <equipe@velora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "personal daily planner and window-control tray utility")
set(CPACK_PACKAGE_DESCRIPTION
    "velora is a personal daily planner with a Portuguese interface: appointments with reminders
and sounds, contacts, a monthly cash ledger, tasks and a note, for several people sharing one
data file. panekeeper is an X11 tray utility that hides, shows, keeps on top or makes
translucent other programs' windows and undoes every change when it ends.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Libraries come from the binaries; Qt's window-system plugins are loaded at run time, and the
# fonts are what the pictures and message boxes are drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-dejavu-core")
include(CPack)
