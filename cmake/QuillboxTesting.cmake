# quillbox_add_test(NAME name SOURCES files... LIBS targets...)
# Builds one QtTest executable and registers it with CTest. Widget tests run on the offscreen
# platform so that they need no display.
function(quillbox_add_test)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE Qt6::Test ${ARG_LIBS})
    quillbox_warnings(${ARG_NAME})
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    set_tests_properties(${ARG_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLBOX_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
        TIMEOUT 300)
endfunction()
