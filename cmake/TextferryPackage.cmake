# The Debian package, built by "cpack -G DEB" in a build tree (scripts/package.sh
# does it all): the application and the files of res/linux, installed under
# /usr. Its version is the project's with the package revision below.

set(TEXTFERRY_DEB_REVISION 1)
set(TEXTFERRY_DEB_VERSION ${PROJECT_VERSION}-${TEXTFERRY_DEB_REVISION})

# Qt's translations folder (QLibraryInfo::TranslationsPath), where Qt programs
# look for their translations.
if(QT6_INSTALL_TRANSLATIONS)
    set(TEXTFERRY_INSTALL_TRANSLATIONSDIR ${QT6_INSTALL_TRANSLATIONS})
else()
    set(TEXTFERRY_INSTALL_TRANSLATIONSDIR ${CMAKE_INSTALL_DATADIR}/qt6/translations)
endif()

# textferry_rfc2822_date(out YYYY-MM-DD): the day as Debian's changelog writes
# it, "Tue, 08 Dec 2026 00:00:00 +0000", the day of the week worked out.
function(textferry_rfc2822_date out date)
    if(NOT date MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "Release date '${date}' is not YYYY-MM-DD")
    endif()
    set(y ${CMAKE_MATCH_1})
    math(EXPR m "1${CMAKE_MATCH_2} - 100")
    math(EXPR d "1${CMAKE_MATCH_3} - 100")
    # Sakamoto's method; 0 is Sunday.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR i "${m} - 1")
    list(GET offsets ${i} offset)
    if(m LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
    set(days Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET days ${weekday} day_name)
    list(GET months ${i} month_name)
    set(${out} "${day_name}, ${CMAKE_MATCH_3} ${month_name} ${CMAKE_MATCH_1} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME textferry)
set(CPACK_PACKAGE_VENDOR "Textferry developers")
set(CPACK_PACKAGE_CONTACT "Textferry developers <support@textferry.app>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "move text messages between Android phones and a computer")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TEXTFERRY_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Textferry developers <support@textferry.app>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.textferry.app/")
# The Qt, SQLite and C++ libraries the program links, worked out by
# dpkg-shlibdeps; adb and its udev rules reach the phones over USB; the two
# emoji fonts show messages' emoji in colour on screen and as outlines on
# printed and PDF pages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "adb, android-sdk-platform-tools-common, fonts-noto-color-emoji, fonts-symbola")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description; the synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Textferry copies the text messages (SMS) of Android phones to the computer
and back. It reaches a phone over USB through adb, or over Wi-Fi, and shows
its messages as conversations, which can be searched, backed up into local
databases, transferred to another phone, exported (text, CSV, document,
HTML, PDF) and printed.")

include(CPack)
