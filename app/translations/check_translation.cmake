# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the English translation is complete: lupdate run over the
# sources finds no message that the .ts lacks and none that it holds in
# vain, and every message of the .ts is translated. lupdate works on a copy
# in the build tree; the .ts in the source tree is only read.
#
# Run as: cmake -DSETTINGS=FILE -P check_translation.cmake, where FILE sets
# lupdate, lupdate_options, sources, translation and work_folder.
include(${SETTINGS})

file(READ ${translation} checked_in)
if(checked_in MATCHES "type=\"(unfinished|vanished|obsolete)\"")
    message(FATAL_ERROR "${translation} holds a message of type ${CMAKE_MATCH_1}: "
        "translate it, or build update_translations to drop what the sources no longer use")
endif()

file(REMOVE_RECURSE ${work_folder})
file(MAKE_DIRECTORY ${work_folder})
get_filename_component(name ${translation} NAME)
set(updated ${work_folder}/${name})
file(COPY_FILE ${translation} ${updated})
execute_process(COMMAND ${lupdate} ${lupdate_options} ${sources} -ts ${updated}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR errors MATCHES "[Ww]arning|[Ee]rror")
    message(FATAL_ERROR "lupdate failed (${status}):\n${output}${errors}")
endif()

file(READ ${updated} fresh)
if(NOT fresh STREQUAL checked_in)
    execute_process(COMMAND diff -u ${translation} ${updated})
    message(FATAL_ERROR "${translation} does not match the sources' texts (diff above): "
        "build the target update_translations and translate what it marks unfinished")
endif()
message(STATUS "${name} is complete: ${output}")
