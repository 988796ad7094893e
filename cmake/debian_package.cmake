# SPDX-License-Identifier: GPL-3.0-or-later
# The two Debian packages, made by `cpack -G DEB` in the build folder (`make
# package`) from the install rules' components:
#   velmora-cli (component cli): the program velmora, which needs QtCore
#     only, the tools, the backend scripts, the manual page and the shell
#     completions: sort and compress on a machine without a display;
#   velmora (component window): the window program velmora-window, the
#     desktop entry, the icon and the metainfo, with the QML modules and
#     platform plugins the window loads; it depends on velmora-cli of the
#     same version, whose velmora starts it.
# Each has its copyright file and changelog in /usr/share/doc/PACKAGE.
# `make package` sets SOURCE_DATE_EPOCH to the time of the last commit, which
# every file of the packages then carries, so one commit gives the same bytes.
# dpkg-shlibdeps finds the libraries the programs are linked with. The QML
# modules and the platform plugins the window loads at run time are invisible
# to it and are declared here; the test qml_module_packages checks the QML
# part against the modules the window imports.
set(VELMORA_QML_PACKAGES
    qml6-module-qtqml-workerscript
    qml6-module-qtquick
    qml6-module-qtquick-controls
    qml6-module-qtquick-layouts
    qml6-module-qtquick-shapes
    qml6-module-qtquick-templates
    qml6-module-qtquick-window)
# The window starts the command line's velmora of the same version (which
# starts the window in turn). The folder chooser reaches the platform theme's
# dialog through Qt's private interface, which holds for one Qt release only:
# qt6-base-abi names it, as Debian asks of packages built on it.
set(velmora_window_run_time_packages "velmora-cli (= ${PROJECT_VERSION})" qt6-qpa-plugins
    ${VELMORA_QML_PACKAGES})
if(VELMORA_BUILD_APP)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Core)
    list(APPEND velmora_window_run_time_packages "qt6-base-abi (= ${Qt6Core_VERSION})")
endif()
list(JOIN velmora_window_run_time_packages ", " CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS)
# The command line needs only what dpkg-shlibdeps finds: bash, which runs the
# backend scripts, is essential and never declared, and the encoders link
# libjpeg-turbo and libvips themselves.

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli window)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/velmora/velmora)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME velmora-cli)
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME velmora)
set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION graphics)
# The desktop's sound for a finished run, and Wayland without XWayland.
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS "sound-theme-freedesktop, qt6-wayland")
# The summaries, then the extended descriptions in lines within 80 columns
# as Debian wants them.
set(velmora_what
    "Velmora works on a folder tree of photos. Sort moves or copies every photo"
    "whose name ends in a number into folders for odd and even numbers inside"
    "the folder, never overwriting a file. Compress writes every photo of the"
    "folder as a JPEG at a chosen quality into a folder of its own. Both work on"
    "camera cards and USB drives (exFAT, FAT32, NTFS)."
    ".")
string(JOIN "\n" CPACK_COMPONENT_CLI_DESCRIPTION
    "sort numbered photos and compress photo folders, command line"
    ${velmora_what}
    "This package holds the command line, which needs no display: velmora sort"
    "and velmora compress, and the tools that do the file work. The package"
    "velmora adds the window.")
string(JOIN "\n" CPACK_COMPONENT_WINDOW_DESCRIPTION
    "sort numbered photos and compress photo folders"
    ${velmora_what}
    "This package holds the small window that drives both jobs; the command"
    "line and the tools come with velmora-cli.")
include(CPack)

# The packages made as `make package` makes them, their files and
# dependencies checked, checked by lintian (where it is installed) and made
# again to the same bytes. Not for sanitizer builds,
# which no package is made from.
if(BUILD_TESTING AND VELMORA_BUILD_APP AND VELMORA_SANITIZE STREQUAL "")
    find_program(LINTIAN_PROGRAM lintian)
    set(check_package ${PROJECT_SOURCE_DIR}/scripts/check-package.sh)
    set(package_folder ${PROJECT_BINARY_DIR}/package_test)
    set(cpack_config ${PROJECT_BINARY_DIR}/CPackConfig.cmake)
    add_test(NAME package_build
             COMMAND ${check_package} build ${PROJECT_SOURCE_DIR} ${cpack_config} ${package_folder})
    add_test(NAME package_contents
             COMMAND ${check_package} contents ${package_folder} ${PROJECT_VERSION})
    add_test(NAME package_lintian
             COMMAND ${check_package} lintian ${package_folder} ${PROJECT_VERSION}
                     "${LINTIAN_PROGRAM}")
    add_test(NAME package_reproducible
             COMMAND ${check_package} reproducible ${PROJECT_SOURCE_DIR} ${cpack_config}
                     ${package_folder})
    set_tests_properties(package_build PROPERTIES FIXTURES_SETUP built_package TIMEOUT 900)
    set_tests_properties(package_contents package_lintian package_reproducible PROPERTIES
                         FIXTURES_REQUIRED built_package TIMEOUT 900)
    set_tests_properties(package_lintian PROPERTIES SKIP_RETURN_CODE 77)
    # Two clean builds of the checkout, in two build folders at different
    # paths, give the same package: the whole build is made twice, so this
    # one is slow.
    add_test(NAME package_clean_builds
             COMMAND ${check_package} clean-builds ${PROJECT_SOURCE_DIR}
                     ${PROJECT_BINARY_DIR}/package_clean_builds)
    set_tests_properties(package_clean_builds PROPERTIES
                         LABELS slow RUN_SERIAL TRUE TIMEOUT 3600 SKIP_RETURN_CODE 77)
    # cpack builds the tree again first, and a program relinked meanwhile is
    # briefly missing for the tests that run it: these two run alone.
    set_tests_properties(package_build package_reproducible PROPERTIES RUN_SERIAL TRUE)
endif()

# Debian's build flags (dpkg-buildflags, with every hardening feature):
# FORTIFY, the stack protector, format checks, full RELRO with BIND_NOW, and
# the source folder mapped to "." in debug information and macros, so the
# programs carry no build path. The build type keeps its own -O and -g. They
# apply to every optimised build that is not a sanitizer build, the package's
# included; the build folder is mapped too when it lies outside the source.
option(VELMORA_DEBIAN_BUILD_FLAGS "Build with the flags of dpkg-buildflags" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(VELMORA_DEBIAN_BUILD_FLAGS AND DPKG_BUILDFLAGS AND VELMORA_SANITIZE STREQUAL "")
    set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${DPKG_BUILDFLAGS} --get ${kind}
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        list(FILTER flags EXCLUDE REGEX "^-(g|O.*)$")
        set(VELMORA_DEBIAN_${kind} ${flags})
    endforeach()
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${PROJECT_BINARY_DIR}" NORMALIZE build_in_source)
    if(NOT build_in_source)
        list(APPEND VELMORA_DEBIAN_CXXFLAGS -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
    endif()
    # C and C++ take the same flags from dpkg-buildflags here.
    foreach(flag IN LISTS VELMORA_DEBIAN_CPPFLAGS VELMORA_DEBIAN_CXXFLAGS)
        add_compile_options($<${optimised}:${flag}>)
    endforeach()
    foreach(flag IN LISTS VELMORA_DEBIAN_LDFLAGS)
        add_link_options($<${optimised}:${flag}>)
    endforeach()
endif()
