# Every target of the project compiles with these; the build stays at zero warnings.
function(orve_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local)
endfunction()
