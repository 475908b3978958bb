# quillbox_warnings(target): the warning set every target of the project is built with.
function(quillbox_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter)
endfunction()
