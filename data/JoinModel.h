#pragma once

#include <string_view>

namespace zelk {

// The character model with which split text is read back: the texts of a
// CharacterModel's pairs (character-bigrams.txt) and triples
// (character-trigrams.txt). In an object of its own, so that only the
// programs that join carry its megabytes.
std::string_view CharacterBigramsText();
std::string_view CharacterTrigramsText();

}  // namespace zelk
