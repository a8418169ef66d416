#include "JoinModel.h"

#define ZELK_INCBIN(name, path)                                  \
    __asm__(                                                     \
        ".section .rodata\n"                                     \
        ".hidden " #name "_begin\n.hidden " #name                \
        "_end\n"                                                 \
        ".global " #name "_begin\n.global " #name "_end\n" #name \
        "_begin:\n"                                              \
        ".incbin \"" path "\"\n" #name                           \
        "_end:\n"                                                \
        ".previous\n");                                          \
    extern "C" const char name##_begin[];                        \
    extern "C" const char name##_end[]

ZELK_INCBIN(zelk_character_bigrams, ZELK_CHARACTER_BIGRAMS);
ZELK_INCBIN(zelk_character_trigrams, ZELK_CHARACTER_TRIGRAMS);

namespace zelk {

std::string_view CharacterBigramsText() {
    return {zelk_character_bigrams_begin,
            static_cast<std::size_t>(zelk_character_bigrams_end - zelk_character_bigrams_begin)};
}

std::string_view CharacterTrigramsText() {
    return {zelk_character_trigrams_begin,
            static_cast<std::size_t>(zelk_character_trigrams_end - zelk_character_trigrams_begin)};
}

}  // namespace zelk
