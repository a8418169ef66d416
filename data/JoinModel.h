#pragma once

#include <string_view>

namespace zelk {

// The character model with which split text is read back
// (character-bigrams.txt, the text of a CharacterModel). In an object of its
// own, so that only the programs that join carry its megabytes.
std::string_view CharacterBigramsText();

}  // namespace zelk
