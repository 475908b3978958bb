# The sanitizer build, configured with -DQUILLBOX_SANITIZE=ON in a folder of its own
# (scripts/test.sh uses build-asan). Everything is compiled with AddressSanitizer and
# UndefinedBehaviorSanitizer, and every report ends the process with a failure; only the tests
# of the Qt-free store and of the pure-logic units are registered (see tests/CMakeLists.txt),
# and the target quillbox_sanitize_tests builds just them and what they link:
#   cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLBOX_SANITIZE=ON
#   cmake --build build-asan --target quillbox_sanitize_tests && ctest --test-dir build-asan
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILLBOX_SANITIZE needs clang (configure with CC=clang CXX=clang++)")
endif()

# -O1 keeps the instrumented tests quick; Debug keeps Qt's inline assertions (an index out of
# range in QString::at or QStringView::sliced aborts too).
add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer -O1)
add_link_options(-fsanitize=address,undefined)

# The tests' environment: the first report of either sanitizer fails the test, leaks
# included; a stack frame used after its function returned (a view into a temporary) counts.
set(QUILLBOX_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")

add_custom_target(quillbox_sanitize_tests)
