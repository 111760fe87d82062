# Project code builds clean under strict warnings; third-party headers are system includes.
# -Werror only where we control the compiler (ZARVO_WERROR).
function(zarvo_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ZARVO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
