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

# Files the program is pointed at live in their own folder, which it must leave as it is.
set(FILES ${WORK}-files)
file(REMOVE_RECURSE ${FILES})
file(MAKE_DIRECTORY ${FILES}/folder.ini)
file(WRITE ${FILES}/todo.txt "milk\neggs\n")
file(WRITE ${FILES}/notesIni.lck "[Notes]\n")
execute_process(COMMAND mkfifo ${FILES}/fifo.ini RESULT_VARIABLE made)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "mkfifo failed")
endif()

# A relative file name is taken in the working folder, FILES; a program that waits (on the FIFO)
# is ended after 20 s and fails the test.
function(expect arguments code out_regex err_regex)
    execute_process(COMMAND ${QUILLBOX} ${arguments} WORKING_DIRECTORY ${FILES}
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
execute_process(COMMAND ${QUILLBOX} --notes "" RESULT_VARIABLE result ERROR_VARIABLE err TIMEOUT 20)
if(NOT result EQUAL 2 OR NOT err MATCHES "^quillbox: option '--notes' needs a file name\nUsage: ")
    message(FATAL_ERROR "quillbox --notes \"\": exit ${result}\n${err}")
endif()
expect("--notes;todo.txt" 1 "^$"
    "^quillbox: The Notes file ${FILES}/todo.txt cannot be used: it is not a Notes file")
expect("--notes=./fifo.ini" 1 "^$" "^quillbox: The Notes file ${FILES}/fifo.ini [^\n]* FIFO")
expect("--notes;../commandline-files/folder.ini" 1 "^$" "${FILES}/folder.ini [^\n]*a folder")
expect("--notes;notesIni.lck" 1 "^$" "its own lock file\\.\n$")

file(READ ${FILES}/todo.txt list)
if(NOT list STREQUAL "milk\neggs\n")
    message(FATAL_ERROR "the shopping list was changed: ${list}")
endif()
file(GLOB files RELATIVE ${FILES} ${FILES}/*)
list(SORT files)
if(NOT files STREQUAL "fifo.ini;folder.ini;notesIni.lck;todo.txt")
    message(FATAL_ERROR "the folder of the files holds ${files}")
endif()

file(GLOB_RECURSE written ${WORK}/*)
if(written)
    message(FATAL_ERROR "the program wrote ${written}")
endif()
