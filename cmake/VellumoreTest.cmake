# vellumore_add_test(<name> [GUI] SOURCES <files...> [LIBS <targets...>] [TIMEOUT <seconds>]
#                    [SCREENS <WxH...>])
# One QtTest executable per class or window, run headless with a fixed locale and timeout.
# A GUI test links the widgets, the message-box hook and the main-window driver; any
# other test links the core alone, so a widget creeping into it fails to link. With
# SCREENS the test runs once per screen size (<name>_<WxH>), on an offscreen screen of
# that size described by tests/screens/<WxH>.json.
set(VELLUMORE_LSAN_SUPPRESSIONS ${PROJECT_SOURCE_DIR}/tests/lsan.supp)
function(vellumore_add_test name)
    cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;LIBS;SCREENS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        set(support vellumore_testsupport_gui)
    else()
        set(support vellumore_testsupport_core)
    endif()
    target_link_libraries(${name} PRIVATE vellumore_flags ${support} Qt6::Test ${ARG_LIBS})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set(environment "LANG=C.UTF-8;LC_ALL=C.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${VELLUMORE_LSAN_SUPPRESSIONS};UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    if(NOT ARG_SCREENS)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES
            TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${environment}")
    endif()
    foreach(screen IN LISTS ARG_SCREENS)
        add_test(NAME ${name}_${screen} COMMAND ${name})
        set_tests_properties(${name}_${screen} PROPERTIES
            TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/screens/${screen}.json;${environment}")
    endforeach()
endfunction()
