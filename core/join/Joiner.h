#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "join/CharacterModel.h"
#include "base/DictionaryEntry.h"

namespace zelk::join {

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
    // be read back).
    Joiner(const std::vector<base::DictionaryEntry>& dictionary, CharacterModel model);
    // With a model parsed from the texts of a CharacterModel.
    Joiner(const std::vector<base::DictionaryEntry>& dictionary, std::string_view pairs,
           std::string_view triples = {});

    // The most likely reading of text (UTF-16).
    std::u16string Join(std::u16string_view text) const;
    // Text written with a separator between neighbouring Chinese pieces (as
    // PieceFormat writes it): a separator between two Chinese characters or
    // parts is taken for one the split wrote and dropped; every other stays.
    // Each run of Chinese characters and parts is then one piece, read back
    // as a character with that piece (of two or more, the likeliest in its
    // place, by the model); a run that is no piece, and all other text,
    // stays as it is.
    std::u16string JoinSeparated(std::u16string_view text, std::u16string_view separator) const;
    // Whether some piece holds this code unit.
    bool InSomePiece(char16_t unit) const { return inPieces_[unit]; }

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
    // The characters one place of separated text may read as: one for text
    // that stands as it is, the characters of a piece otherwise.
    struct Slot {
        std::uint32_t firstReading = 0;  // into readings_, when a piece
        std::uint32_t readingCount = 0;  // 0: the character stands as it is
        char32_t standing = 0;
    };
    // Cuts a stretch of separated text (no separator the split wrote in it)
    // into slots.
    void AddSlots(std::u16string_view stretch, std::vector<Slot>& slots) const;
    // The likeliest characters for the slots, in order.
    std::u16string ReadSlots(const std::vector<Slot>& slots) const;
    bool HasEntry(char32_t character) const;

    CharacterModel model_;
    std::vector<Node> nodes_;  // a trie of the pieces; nodes_[0] is the root
    std::unordered_map<std::uint64_t, std::uint32_t> edges_;  // (node << 16 | unit) -> node
    std::vector<Reading> readings_;                           // the characters each piece reads as
    std::size_t longestPiece_ = 0;                            // in code units
    std::vector<bool> bmpKeys_;                               // BMP characters with an entry
    std::vector<bool> inPieces_;                              // code units some piece holds
    std::unordered_set<char32_t> otherKeys_;
};

}  // namespace zelk::join
