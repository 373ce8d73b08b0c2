# cmake -D BUILD_DIR=... -D PREFIX=... -D APP_ID=... -D VERSION=...
#       -D TRANSLATIONS_DIR=... -P check_install.cmake
# Installs BUILD_DIR into PREFIX (emptied first) and checks the installed files.
cmake_minimum_required(VERSION 3.21)

set(expected
    bin/textferry
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/16x16/apps/${APP_ID}.png
    share/icons/hicolor/24x24/apps/${APP_ID}.png
    share/icons/hicolor/32x32/apps/${APP_ID}.png
    share/icons/hicolor/48x48/apps/${APP_ID}.png
    share/icons/hicolor/64x64/apps/${APP_ID}.png
    share/icons/hicolor/128x128/apps/${APP_ID}.png
    share/icons/hicolor/256x256/apps/${APP_ID}.png
    share/icons/hicolor/512x512/apps/${APP_ID}.png
    share/icons/hicolor/scalable/apps/${APP_ID}.svg
    ${TRANSLATIONS_DIR}/textferry_en.qm
    share/man/man1/textferry.1.gz
    share/doc/textferry/copyright
    share/doc/textferry/changelog.Debian.gz)

set(failures "")
macro(fail text)
    string(APPEND failures "  ${text}\n")
endmacro()

file(REMOVE_RECURSE ${PREFIX})
# A DESTDIR of the caller would put the files somewhere else.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DESTDIR ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
foreach(file IN LISTS expected)
    if(NOT file IN_LIST installed)
        fail("missing: ${file}")
    endif()
endforeach()
foreach(file IN LISTS installed)
    if(NOT file IN_LIST expected)
        fail("not expected: ${file}")
    endif()
    # The test and demo stand-ins for a phone stay in the build tree.
    if(file MATCHES "(^|/)(adb|textferry-phonesim)$")
        fail("a stand-in was installed: ${file}")
    endif()
endforeach()

# The program runs, and every file it needs is readable by everyone.
if(EXISTS ${PREFIX}/bin/textferry)
    file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${PREFIX}/bin/textferry
        RESOLVED_DEPENDENCIES_VAR unused UNRESOLVED_DEPENDENCIES_VAR unresolved
        PRE_EXCLUDE_REGEXES "^ld-linux")
    if(unresolved)
        fail("bin/textferry needs libraries that are not found: ${unresolved}")
    endif()
endif()

# The menu entry starts the installed program and shows the installed icon.
set(desktop_file ${PREFIX}/share/applications/${APP_ID}.desktop)
if(EXISTS ${desktop_file})
    file(STRINGS ${desktop_file} exec_line REGEX "^Exec=")
    file(STRINGS ${desktop_file} icon_line REGEX "^Icon=")
    if(NOT exec_line STREQUAL "Exec=textferry")
        fail("desktop entry starts '${exec_line}', not the installed bin/textferry")
    endif()
    if(NOT icon_line STREQUAL "Icon=${APP_ID}")
        fail("desktop entry shows '${icon_line}', not the installed icon ${APP_ID}")
    endif()
endif()

# The metainfo names this version's release and the menu entry.
set(metainfo ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml)
if(EXISTS ${metainfo})
    file(READ ${metainfo} content)
    if(NOT content MATCHES "<release version=\"${VERSION}\" date=\"[0-9]+-[0-9]+-[0-9]+\"")
        fail("metainfo has no release ${VERSION} with its date")
    endif()
    if(NOT content MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
        fail("metainfo does not launch ${APP_ID}.desktop")
    endif()
    if(content MATCHES "@[A-Z_]+@")
        fail("metainfo holds an unreplaced @VARIABLE@")
    endif()
endif()

# A compiled Qt translation starts with its magic number.
set(qm ${PREFIX}/${TRANSLATIONS_DIR}/textferry_en.qm)
if(EXISTS ${qm})
    file(READ ${qm} magic LIMIT 16 HEX)
    if(NOT magic STREQUAL "3cb86418caef9c95cd211cbf60a1bddd")
        fail("${TRANSLATIONS_DIR}/textferry_en.qm is no compiled translation")
    endif()
endif()

if(failures)
    list(SORT installed)
    string(REPLACE ";" "\n  " listing "${installed}")
    message(FATAL_ERROR "Install into ${PREFIX}:\n${failures}Installed:\n  ${listing}")
endif()
list(LENGTH installed count)
message(STATUS "${count} files installed as expected")
