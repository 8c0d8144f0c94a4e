# Interface targets that carry the project's warning and sanitizer flags, so they
# reach our own targets only and never a tree that pulls this one in.
if(NOT TARGET folivar_warnings)
    add_library(folivar_warnings INTERFACE)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(folivar_warnings INTERFACE
            -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
            -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wcast-align
            -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
        if(FOLIVAR_WERROR)
            target_compile_options(folivar_warnings INTERFACE -Werror)
        endif()
    endif()
endif()

if(NOT TARGET folivar_sanitize)
    add_library(folivar_sanitize INTERFACE)
    if(FOLIVAR_SANITIZE)
        target_compile_options(folivar_sanitize INTERFACE
            -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(folivar_sanitize INTERFACE -fsanitize=address,undefined)
    endif()
    if(FOLIVAR_SANITIZE_THREAD)
        target_compile_options(folivar_sanitize INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
        target_link_options(folivar_sanitize INTERFACE -fsanitize=thread)
    endif()
endif()
