#include "CharacterFrequency.h"

// The list is assembled into read-only data as it is.
__asm__(
    ".section .rodata\n"
    ".hidden zelk_character_ranks_begin\n.hidden zelk_character_ranks_end\n"
    ".global zelk_character_ranks_begin\n.global zelk_character_ranks_end\n"
    "zelk_character_ranks_begin:\n"
    ".incbin \"" ZELK_CHARACTER_RANKS
    "\"\n"
    "zelk_character_ranks_end:\n"
    ".previous\n");

extern "C" const char zelk_character_ranks_begin[];
extern "C" const char zelk_character_ranks_end[];

namespace zelk {

std::string_view CharacterRanksText() {
    return {zelk_character_ranks_begin,
            static_cast<std::size_t>(zelk_character_ranks_end - zelk_character_ranks_begin)};
}

const CharacterRanks& CharacterFrequencyRanks() {
    static const CharacterRanks ranks(CharacterRanksText());
    return ranks;
}

}  // namespace zelk
