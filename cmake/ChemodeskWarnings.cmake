# The house warnings, set per target so that a library's flags say what it
# is built with. CHEMODESK_WARNINGS_AS_ERRORS (on in CI) turns every warning
# into an error, so a new one cannot land unseen.
option(CHEMODESK_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

function(chemodesk_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
    if(CHEMODESK_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
