#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zelk {

// Gives the piece for one character.
using CharLookup = std::function<std::u16string(std::u16string_view character)>;
// Takes one piece as soon as it is found.
using PieceReceiver = std::function<void(std::u16string_view piece)>;

// Walks the sentence from its first character to its last: for each one, one
// lookup, then one call of the receiver with its piece, before the next
// lookup. A character is one UTF-16 code unit, except that a well-formed
// surrogate pair is one character. Whatever the lookup or the receiver raises
// stops the walk at once.
void SplitSentence(std::u16string_view sentence, const CharLookup& lookup,
                   const PieceReceiver& receiver);

}  // namespace zelk
