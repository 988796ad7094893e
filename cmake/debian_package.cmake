# The Debian package velmora, made by `cpack -G DEB` in the build folder
# (`make package`): the program, the tools, the backend scripts, the desktop
# entry, the icon, the metainfo and the manual page, all under /usr.
# dpkg-shlibdeps finds the libraries the programs are linked with. The QML
# modules and the platform plugins the window loads at run time are invisible
# to it and are declared here; the test qml_module_packages checks the QML
# part against the modules the window imports.
set(VELMORA_QML_PACKAGES
    qml6-module-qtqml-workerscript
    qml6-module-qtquick
    qml6-module-qtquick-controls
    qml6-module-qtquick-dialogs
    qml6-module-qtquick-layouts
    qml6-module-qtquick-shapes
    qml6-module-qtquick-templates
    qml6-module-qtquick-window)
# The built-in folder dialog lists folders through this module.
set(velmora_run_time_packages bash qt6-qpa-plugins qml6-module-qt-labs-folderlistmodel
    ${VELMORA_QML_PACKAGES})
list(JOIN velmora_run_time_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sort numbered photos and compress photo folders")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora works on a folder tree of photos. Sort moves or copies every photo whose name \
ends in a number into folders for odd and even numbers inside the folder, never overwriting \
a file. Compress writes every photo of the folder as a JPEG at a chosen quality into a \
folder of its own. A small window drives both jobs; without a display, the subcommands \
velmora sort and velmora compress run them from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/velmora/velmora)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The desktop's sound for a finished run, and Wayland without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sound-theme-freedesktop, qt6-wayland")
include(CPack)
