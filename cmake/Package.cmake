# `make package`: a Debian package of the installed files, through CPack. The libraries it depends on are
# read from the binaries by dpkg-shlibdeps; what the program loads by name at run time no linker sees:
# Qt's SVG image plugin and its Wayland platform are named here, and the QML modules of the settings
# window are read from its views when CPack runs (QmlModuleDepends.cmake).
set(DRIFTMARK_PACKAGE_MAINTAINER "Driftmark <packages@driftmark.app>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME driftmark-menubar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Driftmark)
set(CPACK_PACKAGE_CONTACT ${DRIFTMARK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DRIFTMARK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://driftmark.app)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-wayland")
find_program(DRIFTMARK_QMLIMPORTSCANNER qmlimportscanner HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS}"
             REQUIRED)
set(CPACK_DRIFTMARK_QMLIMPORTSCANNER ${DRIFTMARK_QMLIMPORTSCANNER})
set(CPACK_DRIFTMARK_QML_SOURCES ${PROJECT_SOURCE_DIR}/src/settings/qml)
set(CPACK_DRIFTMARK_QT_QML_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_QML})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/QmlModuleDepends.cmake)
# The synopsis is the project's description; CPack indents the lines of the extended description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Driftmark puts up to ten small coloured discs in the system tray. Each disc
stands for one entry with a title and a text: a click puts the text on the
clipboard, or, with Smart Paste, pastes it into the window you were working
in and puts your earlier clipboard back. Entries can have global keyboard
shortcuts, and a settings window adds, edits and recolours them.]])

include(CPack)
