#pragma once

#include <string_view>

#include "text/CharacterRanks.h"

namespace zelk::builtin {

// The characters of the join model's counts, the most frequent first, one a
// line, as the build made the list (character-ranks.txt).
std::string_view CharacterRanksText();
// The same, ready to ask.
const text::CharacterRanks& CharacterFrequencyRanks();

}  // namespace zelk::builtin
