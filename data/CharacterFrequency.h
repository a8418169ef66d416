#pragma once

#include <string_view>

#include "CharacterRanks.h"

namespace zelk {

// The characters of the join model's counts, the most frequent first, one a
// line, as the build made the list (character-ranks.txt).
std::string_view CharacterRanksText();
// The same, ready to ask.
const CharacterRanks& CharacterFrequencyRanks();

}  // namespace zelk
