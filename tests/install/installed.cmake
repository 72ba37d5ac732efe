# SPDX-FileCopyrightText: The RS232 simulator authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a scratch prefix and checks the installed copy; run by CTest with
#   cmake -DSTEP=<install|start|start-elsewhere> -DBUILD_DIR=… -DPREFIX=… -DAPP_ID=… -DDATA_DIR=…
#         -DDOCUMENTS=<source inf folder> -DPROBE_PLUGINS=… -DSCREEN_CONFIG=… -P installed.cmake
# install          fresh install; every file the menu, software centres and the program need is in place
# start            starts the installed program as its menu entry does (Exec= in the folder Path=), on Qt's
#                  offscreen platform with the start-up probe; the window must come up with no warning
# start-elsewhere  the same program from a folder without inf/: exactly one warning, which shows that the
#                  probe sees the warning when there is one
cmake_minimum_required(VERSION 3.25)

set(document_warning "Az adott fájl nem található!")
set(desktop_file "${PREFIX}/share/applications/${APP_ID}.desktop")

function(require_file path)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "missing after install: ${path}")
    endif()
endfunction()

# The value of key= in the [Desktop Entry] group of the installed menu entry.
function(desktop_entry_value key out)
    file(STRINGS "${desktop_file}" lines REGEX "^${key}=")
    if(NOT lines)
        message(FATAL_ERROR "${desktop_file} has no ${key}=")
    endif()
    list(GET lines 0 line)
    string(REGEX REPLACE "^${key}=" "" value "${line}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Starts Exec= in the folder `folder` under the probe; sets `out` to what the probe printed.
function(start_installed folder out)
    desktop_entry_value(Exec exec)
    # The entry must start the copy in the scratch prefix, not some other installed one.
    cmake_path(IS_PREFIX PREFIX "${exec}" NORMALIZE exec_in_prefix)
    if(NOT exec_in_prefix)
        message(FATAL_ERROR "Exec=${exec} is not the program installed in ${PREFIX}")
    endif()
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env
            QT_QPA_PLATFORM=offscreen:configfile=${SCREEN_CONFIG}
            QT_PLUGIN_PATH=${PROBE_PLUGINS}
            QT_STYLE_OVERRIDE=startupprobe
            ${exec}
        WORKING_DIRECTORY "${folder}"
        RESULT_VARIABLE result
        OUTPUT_VARIABLE output
        ERROR_VARIABLE errors
        TIMEOUT 60)
    message(STATUS "${exec} in ${folder} printed:\n${output}")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "the program ended with ${result}:\n${errors}")
    endif()
    if(NOT output MATCHES "window: ZUNT QELMOS-RS232")
        message(FATAL_ERROR "the main window never came up (is the start-up probe loaded?):\n${errors}")
    endif()
    set(${out} "${output}" PARENT_SCOPE)
endfunction()

if(STEP STREQUAL "install")
    file(REMOVE_RECURSE "${PREFIX}")
    execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                    RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cmake --install failed: ${result}")
    endif()
    require_file("${PREFIX}/bin/rs232sim")
    require_file("${PREFIX}/bin/rs232line")
    require_file("${PREFIX}/${DATA_DIR}/rs232sim_sugo.pdf")
    require_file("${PREFIX}/${DATA_DIR}/rs232sim_guide.pdf")
    require_file("${desktop_file}")
    require_file("${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml")
    require_file("${PREFIX}/share/icons/hicolor/scalable/apps/${APP_ID}.svg")
    require_file("${PREFIX}/share/doc/rs232sim/copyright")
    require_file("${PREFIX}/share/doc/rs232sim/changelog.Debian.gz")
    require_file("${PREFIX}/share/man/man1/rs232sim.1.gz")
    require_file("${PREFIX}/share/man/man1/rs232line.1.gz")
    # Every document of the source tree, and nothing else, sits in the folder the menu entry starts in:
    # the Hungarian ones in inf/, the English ones in inf/en.
    desktop_entry_value(Path path)
    if(NOT path STREQUAL "${PREFIX}/${DATA_DIR}")
        message(FATAL_ERROR "Path=${path}, expected the installed data folder ${PREFIX}/${DATA_DIR}")
    endif()
    file(GLOB_RECURSE expected RELATIVE "${DOCUMENTS}" "${DOCUMENTS}/*.rtf")
    file(GLOB_RECURSE installed RELATIVE "${path}/inf" "${path}/inf/*")
    list(SORT expected)
    list(SORT installed)
    set(english ${expected})
    list(FILTER english INCLUDE REGEX "^en/")
    list(LENGTH expected count)
    list(LENGTH english english_count)
    math(EXPR least "${english_count} + 4")
    if(NOT installed STREQUAL expected OR english_count LESS 4 OR count LESS least)
        message(FATAL_ERROR "installed documents: ${installed}\nexpected: ${expected}")
    endif()
elseif(STEP STREQUAL "start")
    desktop_entry_value(Path path)
    start_installed("${path}" output)
    if(output MATCHES "message: ${document_warning}")
        message(FATAL_ERROR "started from Path=${path}, the program did not find its documents")
    endif()
    if(output MATCHES "topology view: RS232 topológiai leírás")
        message(FATAL_ERROR "the topology page kept its placeholder text")
    endif()
elseif(STEP STREQUAL "start-elsewhere")
    start_installed("${PREFIX}" output)
    string(REGEX MATCHALL "message: ${document_warning}" warnings "${output}")
    list(LENGTH warnings count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "expected one document warning from a folder without inf/, saw ${count}")
    endif()
else()
    message(FATAL_ERROR "unknown STEP '${STEP}'")
endif()
