#pragma once

// ZELK_EMBED_FILE(name, "path") puts the file at path, as it is, into the
// program's read-only data, between the symbols name_begin and name_end.
// The assembler's directives differ between the object formats of the
// systems (ELF, PE); the symbols stay inside the program.
#if defined(_WIN32)
#define ZELK_EMBED_SECTION ".section .rdata,\"dr\"\n"
#define ZELK_EMBED_LOCAL(symbol) ""
#define ZELK_EMBED_END ".text\n"
#else
#define ZELK_EMBED_SECTION ".section .rodata\n"
#define ZELK_EMBED_LOCAL(symbol) ".hidden " symbol "\n"
#define ZELK_EMBED_END ".previous\n"
#endif

#define ZELK_EMBED_FILE(name, path)                                                            \
    __asm__(ZELK_EMBED_SECTION ZELK_EMBED_LOCAL(#name "_begin") ZELK_EMBED_LOCAL(#name "_end") \
                ".global " #name "_begin\n.global " #name "_end\n" #name "_begin:\n.incbin \"" \
                path "\"\n" #name "_end:\n" ZELK_EMBED_END);                                   \
    extern "C" const char name##_begin[];                                                      \
    extern "C" const char name##_end[]
