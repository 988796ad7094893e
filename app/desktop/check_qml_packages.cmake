# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSCANNER=qmlimportscanner -DQML_SOURCES=DIR -DIMPORT_PATH=DIR
#       -DDECLARED=package,package,... -P check_qml_packages.cmake
# Fails when a QML module that the QML files under QML_SOURCES import, or one
# that those modules import in turn, comes from a Debian package missing
# from DECLARED. Modules with no qmldir of their own (the application's
# own, compiled in, and those built into Qt's libraries) are left to the
# linker and dpkg-shlibdeps.
cmake_minimum_required(VERSION 3.25)

execute_process(
    COMMAND ${SCANNER} -rootPath ${QML_SOURCES} -importPath ${IMPORT_PATH}
    OUTPUT_VARIABLE imports
    ERROR_VARIABLE complaints
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "qmlimportscanner failed: ${failed}\n${complaints}")
endif()
string(REPLACE "," ";" declared "${DECLARED}")

set(missing)
set(checked 0)
string(JSON count LENGTH "${imports}")
if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(index RANGE ${last})
        string(JSON path ERROR_VARIABLE no_path GET "${imports}" ${index} path)
        if(no_path OR NOT EXISTS "${path}/qmldir")
            continue()
        endif()
        execute_process(
            COMMAND dpkg-query -S "${path}/qmldir"
            OUTPUT_VARIABLE owner
            RESULT_VARIABLE unowned)
        string(JSON name GET "${imports}" ${index} name)
        # dpkg-query answers "package:arch: path"
        string(REGEX REPLACE "^([^:,]+).*" "\\1" package "${owner}")
        if(unowned)
            list(APPEND missing "${name} (${path} belongs to no package)")
        elseif(NOT package IN_LIST declared)
            list(APPEND missing "${name} (${package})")
        endif()
        math(EXPR checked "${checked} + 1")
    endforeach()
endif()

if(checked EQUAL 0)
    message(FATAL_ERROR "no QML module of a Debian package found under ${QML_SOURCES}")
endif()
if(missing)
    list(REMOVE_DUPLICATES missing)
    list(JOIN missing "\n  " text)
    message(FATAL_ERROR "QML modules whose package the .deb does not declare:\n  ${text}")
endif()
message(STATUS "${checked} QML modules, each from a declared package")
