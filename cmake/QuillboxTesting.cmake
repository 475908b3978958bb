# quillbox_add_test(NAME name SOURCES files... LIBS targets... [FUNCTIONS test functions...])
# Builds one QtTest executable and registers it with CTest, running only FUNCTIONS when given.
# Widget tests run on the offscreen platform so that they need no display. In the sanitizer
# build (QuillboxSanitize.cmake) a folder may set QUILLBOX_SANITIZE_ONLY to the names of its
# tests that are made; the tests made there run with the sanitizers' options and belong to
# the target quillbox_sanitize_tests.
function(quillbox_add_test)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS;FUNCTIONS" ${ARGN})
    if(DEFINED QUILLBOX_SANITIZE_ONLY AND NOT ARG_NAME IN_LIST QUILLBOX_SANITIZE_ONLY)
        return()
    endif()
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE Qt6::Test ${ARG_LIBS})
    quillbox_warnings(${ARG_NAME})
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME} ${ARG_FUNCTIONS})
    set(environment
        "QT_QPA_PLATFORM=offscreen" "QUILLBOX_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
        ${QUILLBOX_SANITIZER_ENVIRONMENT})
    set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 300)
    if(QUILLBOX_SANITIZE)
        add_dependencies(quillbox_sanitize_tests ${ARG_NAME})
    endif()
endfunction()
