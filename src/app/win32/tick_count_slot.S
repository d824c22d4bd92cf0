/* The import slot of GetTickCount64 for the 32-bit build, defined here so that
   the linker takes it instead of the one of kernel32's import library: the
   MinGW thread library calls through it, and it holds the address of
   pigmentry_TickCount64 (tick_count.cpp), as the loader would have filled in
   the system's function. Windows XP has none to fill in. */
        .section .rdata,"dr"
        .globl  __imp__GetTickCount64@0
        .p2align 2
__imp__GetTickCount64@0:
        .long   _pigmentry_TickCount64@0
