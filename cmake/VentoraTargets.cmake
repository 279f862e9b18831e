# Helpers that keep the layering rule in one place.
#
# ventora_model_library(name SOURCES ... [DEPENDS ...]): plain C++ library. It never sees Qt's
# include paths, so a Qt include in model code fails to build.
# ventora_ui_library(name SOURCES ... [DEPENDS ...]): window code on Qt Widgets.
# ventora_qt_core_library(name SOURCES ... [DEPENDS ...]): code on Qt's event loop without
# widgets, for the window programs and the headless ones alike.
# ventora_add_test(name SOURCES ... [DEPENDS ...] [GUI] [COST N] [ENV VAR=VALUE]): one GoogleTest
# executable, each test registered with CTest; GUI tests run on the offscreen platform. A high
# COST makes a parallel ctest start the tests first (for long ones, so that the short ones run
# beside them); ENV VAR=VALUE sets one more variable in the tests' environment. Tests without
# GUI join the group "windowless_tests" (see ventora_windowless_tests).

function(ventora_model_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    ventora_check_library_depends(${name} ${ARG_DEPENDS})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
    set_property(GLOBAL APPEND PROPERTY VENTORA_MODEL_LIBRARIES ${name})
endfunction()

function(ventora_ui_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    ventora_check_library_depends(${name} ${ARG_DEPENDS})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} Qt6::Widgets Qt6::PrintSupport)
endfunction()

function(ventora_qt_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    ventora_check_library_depends(${name} ${ARG_DEPENDS})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} Qt6::Core)
endfunction()

find_package(GTest REQUIRED)
include(GoogleTest)

function(ventora_add_test name)
    cmake_parse_arguments(ARG "GUI" "COST;ENV" "SOURCES;DEPENDS" ${ARGN})
    if(NOT ARG_COST)
        set(ARG_COST 0)
    endif()
    if(ARG_GUI AND NOT VENTORA_BUILD_GUI)
        return()
    endif()
    # One more variable, as a modification: a list here would be split into properties.
    set(more_environment)
    if(ARG_ENV)
        string(REGEX REPLACE "^([^=]+)=" "\\1=set:" modification "${ARG_ENV}")
        set(more_environment ENVIRONMENT_MODIFICATION ${modification})
    endif()
    add_executable(${name} ${ARG_SOURCES})
    if(NOT ARG_GUI)
        set_property(GLOBAL APPEND PROPERTY VENTORA_WINDOWLESS_TESTS ${name})
    endif()
    # The test code itself is not optimised: optimising GoogleTest's macros is slow (a fifth of
    # the test objects' time in a sanitizer build), and the code under test is built as the
    # build type says.
    target_compile_options(${name} PRIVATE -O0)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} test_support GTest::gtest GTest::gmock)
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE gui_test_main Qt6::Test)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
        set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen ${more_environment} LABELS ${name}
        COST ${ARG_COST})
endfunction()

# The target "windowless_tests" builds the tests of code without windows (the models, the serial
# port, files, protocol, recorder, MQTT) and the fuzz replays; windowless_tests.regex in the build
# folder selects their tests by label (ctest -L). The sanitizer stage of ./test runs only these:
# the window code is thin, and building it twice more would double CI's time.
function(ventora_windowless_tests)
    get_property(names GLOBAL PROPERTY VENTORA_WINDOWLESS_TESTS)
    add_custom_target(windowless_tests)
    add_dependencies(windowless_tests ${names})
    set(labels ${names})
    if(TARGET fuzz_targets)
        add_dependencies(windowless_tests fuzz_targets)
        list(APPEND labels fuzz)
    endif()
    list(JOIN labels "|" alternatives)
    file(WRITE ${CMAKE_BINARY_DIR}/windowless_tests.regex "^(${alternatives})$\n")
endfunction()
