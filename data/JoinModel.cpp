#include "JoinModel.h"

__asm__(
    ".section .rodata\n"
    ".hidden zelk_character_bigrams_begin\n.hidden zelk_character_bigrams_end\n"
    ".global zelk_character_bigrams_begin\n.global zelk_character_bigrams_end\n"
    "zelk_character_bigrams_begin:\n"
    ".incbin \"" ZELK_CHARACTER_BIGRAMS
    "\"\n"
    "zelk_character_bigrams_end:\n"
    ".previous\n");

extern "C" const char zelk_character_bigrams_begin[];
extern "C" const char zelk_character_bigrams_end[];

namespace zelk {

std::string_view CharacterBigramsText() {
    return {zelk_character_bigrams_begin,
            static_cast<std::size_t>(zelk_character_bigrams_end - zelk_character_bigrams_begin)};
}

}  // namespace zelk
