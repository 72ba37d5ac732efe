# SPDX-FileCopyrightText: The RS232 simulator authors
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the package's machine-readable copyright file from the repository's own licensing facts, so the
# two never disagree:
#   cmake -DDEP5=.reuse/dep5 -DLICENSES=LICENSES -DCONTACT=… -DSOURCE=… -DOUTPUT=copyright -P copyright.cmake
# .reuse/dep5's header paragraph names the holder and licence of everything that carries a header; the
# generated file turns that into its leading "Files: *" paragraph, copies the other paragraphs as they
# are, and ends with one paragraph per licence: a pointer to Debian's common-licenses where the system
# has the text, the full text from LICENSES/ otherwise.
cmake_minimum_required(VERSION 3.25)

foreach(argument DEP5 LICENSES CONTACT SOURCE OUTPUT)
    if(NOT DEFINED ${argument})
        message(FATAL_ERROR "copyright.cmake needs -D${argument}=…")
    endif()
endforeach()

file(READ "${DEP5}" dep5)
string(FIND "${dep5}" "\n\n" header_end)
if(header_end EQUAL -1)
    message(FATAL_ERROR "${DEP5} has no paragraph after its header")
endif()
string(SUBSTRING "${dep5}" 0 ${header_end} header)
math(EXPR body_start "${header_end} + 2")
string(SUBSTRING "${dep5}" ${body_start} -1 files_paragraphs)
string(STRIP "${files_paragraphs}" files_paragraphs)

# The value of a one-line field of the header paragraph.
function(header_field name out)
    if(NOT "\n${header}\n" MATCHES "\n${name}: *([^\n]+)\n")
        message(FATAL_ERROR "${DEP5}: the header paragraph has no ${name}: field")
    endif()
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
header_field(Format format)
header_field(Upstream-Name name)
header_field(Copyright holder)
header_field(License project_licence)

# Debian's own copies of licence texts, by SPDX identifier.
set(common_GPL-3.0-or-later GPL-3)
set(common_GPL-3.0-only GPL-3)
set(common_Apache-2.0 Apache-2.0)
set(common_CC0-1.0 CC0-1.0)
set(common_MPL-2.0 MPL-2.0)

# A licence text as the lines of a copyright field: each line indented by one space, an empty line as " .".
function(as_field_lines text out)
    string(REGEX REPLACE "[ \t\r]+\n" "\n" text "${text}")
    string(STRIP "${text}" text)
    string(REPLACE "\n" "\n " text " ${text}")
    # Twice, because two empty lines in a row share the newline between them.
    string(REPLACE "\n \n" "\n .\n" text "${text}")
    string(REPLACE "\n \n" "\n .\n" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REGEX MATCHALL "\nLicense: [^\n]+" licence_fields "\n${header}\n\n${files_paragraphs}")
set(licences)
foreach(field IN LISTS licence_fields)
    string(REGEX REPLACE "^\nLicense: *" "" licence "${field}")
    string(STRIP "${licence}" licence)
    list(APPEND licences "${licence}")
endforeach()
list(REMOVE_DUPLICATES licences)

set(licence_paragraphs "")
foreach(licence IN LISTS licences)
    if(DEFINED common_${licence})
        set(grant "")
        if(licence STREQUAL "GPL-3.0-or-later")
            string(CONCAT grant " This program is free software: you can redistribute it and/or modify it under\n"
                      " the terms of the GNU General Public License as published by the Free Software\n"
                      " Foundation, either version 3 of the License, or (at your option) any later\n"
                      " version.\n .\n")
        endif()
        string(APPEND licence_paragraphs "\nLicense: ${licence}\n${grant}"
               " On Debian systems, the complete text of this licence can be found in\n"
               " /usr/share/common-licenses/${common_${licence}}.\n")
    else()
        set(text_file "${LICENSES}/${licence}.txt")
        if(NOT EXISTS "${text_file}")
            message(FATAL_ERROR "no text for ${licence}: ${text_file} is missing")
        endif()
        file(READ "${text_file}" text)
        as_field_lines("${text}" lines)
        string(APPEND licence_paragraphs "\nLicense: ${licence}\n${lines}\n")
    endif()
endforeach()

set(copyright "Format: ${format}
Upstream-Name: ${name}
Upstream-Contact: ${CONTACT}
Source: ${SOURCE}

Files: *
Copyright: ${holder}
License: ${project_licence}

${files_paragraphs}
${licence_paragraphs}")
file(WRITE "${OUTPUT}" "${copyright}")
