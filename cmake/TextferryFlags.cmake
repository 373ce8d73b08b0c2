# One place for the compiler settings every target of the project shares.
add_library(textferry_flags INTERFACE)
target_compile_features(textferry_flags INTERFACE cxx_std_17)
target_compile_options(textferry_flags INTERFACE -Wall -Wextra $<$<BOOL:${TEXTFERRY_WERROR}>:-Werror>)
target_compile_definitions(textferry_flags INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER)
target_include_directories(textferry_flags INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
# The version, build number and desktop id of CMakeLists.txt, for the code.
configure_file(${CMAKE_CURRENT_LIST_DIR}/TextferryVersion.h.in ${PROJECT_BINARY_DIR}/generated/TextferryVersion.h
    @ONLY)
if(TEXTFERRY_SANITIZE)
    target_compile_options(textferry_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(textferry_flags INTERFACE -fsanitize=address,undefined)
endif()

# textferry_add_test(NAME name SOURCES ... LIBS ...): one QtTest executable,
# registered with CTest and run on the offscreen platform with HOME pointed at
# a fresh folder of the build tree so no test touches the real user's data.
# The stand-in adb comes first on PATH, so no test ever reaches a real adb
# server or phone; TEXTFERRY_PHONESIM names the phone simulator.
# TEXTFERRY_SERVER=off keeps every test away from the vendor's web server; the
# tests of those requests point it at their own server. XDG_DATA_HOME is
# emptied, so the data folder follows HOME wherever a test points it.
function(textferry_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE textferry_flags Qt6::Test ${T_LIBS})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(home "${CMAKE_BINARY_DIR}/test-home/${T_NAME}")
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_DATA_HOME=;LC_ALL=C.UTF-8;TZ=UTC;PATH=${TEXTFERRY_STANDIN_BIN}:$ENV{PATH};TEXTFERRY_PHONESIM=${TEXTFERRY_PHONESIM};TEXTFERRY_SERVER=off"
        TIMEOUT 300)
endfunction()
