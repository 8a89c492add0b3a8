include(GoogleTest)

# varnoth_add_test(NAME SOURCES... LIBS ... [NO_GTEST_MAIN]): one GoogleTest executable whose
# cases CTest lists one by one; NO_GTEST_MAIN when a library in LIBS brings its own main().
# Each runs on Qt's offscreen platform, in the C locale for numbers unless the test sets its
# own, and with VARNOTH_REGISTRY pointing into the build tree so
# that no test can ever touch a player's real store.
function(varnoth_add_test name)
    cmake_parse_arguments(ARG "NO_GTEST_MAIN" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
    if(NOT ARG_NO_GTEST_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VARNOTH_REGISTRY=${CMAKE_CURRENT_BINARY_DIR}/${name}-store.db")
endfunction()
