# Warnings for our own code: everything -Wall -Wextra finds is an error.
function(astrolume_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
