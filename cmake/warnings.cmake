# One warning set for the whole tree; warnings are errors in both toolchains.
function(vexmar_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference -Werror)
endfunction()
