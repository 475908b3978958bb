# Runs the built program with the command lines that end at once and checks what it prints,
# where, and its exit code. No display is given and HOME points at an empty folder, so the
# program must manage without a display and write nothing.
# cmake -DQUILLBOX=<program> -DWORK=<empty folder> -P commandline.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{HOME} ${WORK})
set(ENV{XDG_DATA_HOME} ${WORK}/data)
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})

function(expect arguments code out_regex err_regex)
    execute_process(COMMAND ${QUILLBOX} ${arguments}
        RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
    if(NOT result STREQUAL "${code}")
        message(FATAL_ERROR "quillbox ${arguments}: exit ${result}, expected ${code}\n${out}${err}")
    endif()
    if(NOT out MATCHES "${out_regex}")
        message(FATAL_ERROR "quillbox ${arguments}: standard output was\n${out}")
    endif()
    if(NOT err MATCHES "${err_regex}")
        message(FATAL_ERROR "quillbox ${arguments}: standard error was\n${err}")
    endif()
endfunction()

expect("--help" 0 "^Usage: quillbox .*--notes FILE.*--hide, /HIDE" "^$")
expect("--version" 0 "^Quillbox [0-9]+\\.[0-9]+\\.[0-9]+\n$" "^$")
expect("--bogus" 2 "^$" "^quillbox: unknown option '--bogus'\nUsage: quillbox [^\n]*\n$")
expect("--notes" 2 "^$" "needs a file name")

file(GLOB_RECURSE written ${WORK}/*)
if(written)
    message(FATAL_ERROR "the program wrote ${written}")
endif()
