# Hardening, all platform flags in one place. On Linux, at the level of the distributions' own
# defaults (Debian 13's dpkg-buildflags): PIE, full RELRO, a non-executable stack, stack
# protector and stack clash protection, control-flow landing pads on x86-64, and fortified
# libc calls at level 3 where compiler and C library support it, else 2 (fortify needs
# optimisation, so Debug, the sanitizer build, goes without). On Windows (PE, MinGW-w64):
# address space randomisation with high entropy, no-execute data, and the stack protector,
# which MinGW needs at link time too, to pull in its runtime.

add_library(bingo_hardening INTERFACE)

if(WIN32)
    target_compile_options(bingo_hardening INTERFACE -fstack-protector-strong)
    target_link_options(bingo_hardening INTERFACE
        -fstack-protector-strong -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va)
    return()
endif()

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_FLAGS "-O2 -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=3")
check_cxx_source_compiles([[
#include <cstdio>
#if !defined(__USE_FORTIFY_LEVEL) || __USE_FORTIFY_LEVEL < 3
#error fortify level 3 is not available
#endif
int main() { return 0; }
]] BINGO_HAVE_FORTIFY3)
unset(CMAKE_REQUIRED_FLAGS)
if(BINGO_HAVE_FORTIFY3)
    set(BINGO_FORTIFY_LEVEL 3)
else()
    set(BINGO_FORTIFY_LEVEL 2)
endif()

target_compile_options(bingo_hardening INTERFACE
    -fstack-protector-strong
    -fstack-clash-protection
    $<$<STREQUAL:${CMAKE_SYSTEM_PROCESSOR},x86_64>:-fcf-protection>
    $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=${BINGO_FORTIFY_LEVEL}>)
target_link_options(bingo_hardening INTERFACE -Wl,-z,relro -Wl,-z,now -Wl,-z,noexecstack)
