#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "CharacterModel.h"
#include "DictionaryEntry.h"

namespace zelk {

// Reads split text back into characters (讠青讠上 → 请让). Text can be cut
// into the pieces of a dictionary in many ways (女子 is 好 or the two
// characters 女子; a replacement can be the start of another), so the joiner
// takes the most likely reading of the whole text: a best path over every
// way to cut it, each character weighed by how likely it is after the two
// before (CharacterModel). A stretch is read as a character whose
// dictionary piece it is, or left as it is.
class Joiner {
  public:
    // dictionary: the entries (every entry of a key counts: any of them can
    // be read back); pairs, triples: the texts of a CharacterModel.
    Joiner(const std::vector<DictionaryEntry>& dictionary, std::string_view pairs,
           std::string_view triples = {});

    // The most likely reading of text (UTF-16).
    std::u16string Join(std::u16string_view text) const;
    // Text whose pieces stand between separators: each piece is read back
    // on its own, exactly (a piece that is no split form stays as it is).
    std::u16string JoinSeparated(std::u16string_view text, std::u16string_view separator) const;
    // Where text that goes on can be cut so that joining the two parts
    // apart reads as joining them whole would, but for the one character of
    // context at the cut: after the last line break, else (with a separator)
    // after the last separator, else before the last code unit that is in no
    // piece. 0 when there is no such place.
    std::size_t LastSafeCut(std::u16string_view text, std::u16string_view separator) const;

  private:
    struct Reading {
        char32_t character;
        CharacterModel::Id id;
    };
    struct Node {
        std::uint32_t firstReading = 0;  // into readings_
        std::uint32_t readingCount = 0;
    };

    std::uint32_t Child(std::uint32_t node, char16_t unit) const;
    bool HasEntry(char32_t character) const;

    CharacterModel model_;
    std::vector<Node> nodes_;  // a trie of the pieces; nodes_[0] is the root
    std::unordered_map<std::uint64_t, std::uint32_t> edges_;  // (node << 16 | unit) -> node
    std::vector<Reading> readings_;                           // the characters each piece reads as
    std::size_t longestPiece_ = 0;                            // in code units
    std::vector<bool> bmpKeys_;                               // BMP characters with an entry
    std::vector<bool> inPieces_;                              // code units some piece holds
    std::unordered_set<char32_t> otherKeys_;
    // The likeliest character for each piece, for separated text.
    std::unordered_map<std::u16string, char32_t> pieceCharacters_;
};

}  // namespace zelk
