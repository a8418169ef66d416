#include "builtin/CharacterFrequency.h"

#include "platform/EmbeddedFile.h"

ZELK_EMBED_FILE(zelk_character_ranks, ZELK_CHARACTER_RANKS);

namespace zelk::builtin {

std::string_view CharacterRanksText() {
    return {zelk_character_ranks_begin,
            static_cast<std::size_t>(zelk_character_ranks_end - zelk_character_ranks_begin)};
}

const text::CharacterRanks& CharacterFrequencyRanks() {
    static const text::CharacterRanks ranks(CharacterRanksText());
    return ranks;
}

}  // namespace zelk::builtin
