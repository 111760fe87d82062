# Project code builds clean under strict warnings; third-party headers are system includes.
function(zarvo_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
