#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/DictionaryEntry.h"
#include "join/CharacterModel.h"
#include "join/ReadingPath.h"

namespace zelk::join {

// Reads split text back into characters (讠青讠上 → 请让). Text can be cut
// into the pieces of a dictionary in many ways (女子 is 好 or the two
// characters 女子; a replacement can be the start of another), so the text is
// read as its likeliest reading: a best path over every way to cut it, each
// character weighed by how likely it is after the two before (ReadingPath).
// A stretch is read as a character whose dictionary piece it is, or left as
// it is. The Joiner holds what the dictionary and the model say; JoinStream
// reads text with it.
class Joiner {
  public:
    // dictionary: the entries (every entry of a key counts: any of them can
    // be read back).
    Joiner(const std::vector<base::DictionaryEntry>& dictionary, CharacterModel model);
    // With a model parsed from the texts of a CharacterModel.
    Joiner(const std::vector<base::DictionaryEntry>& dictionary, std::string_view pairs,
           std::string_view triples = {});

    // The likeliest reading of a whole text (UTF-16). With a separator (the
    // one the split was written with between neighbouring Chinese pieces, as
    // PieceFormat writes it), a separator between two Chinese characters or
    // parts is taken for one the split wrote and dropped; every other stays.
    // Each run of Chinese characters and parts is then one piece, read back
    // as a character with that piece (of two or more, the likeliest in its
    // place, by the model); a run that is no piece, and all other text,
    // stays as it is. Each line is read on its own.
    std::u16string Join(std::u16string_view text, std::u16string_view separator = {}) const;

    const CharacterModel& Model() const { return model_; }
    // The longest piece, in code units.
    std::size_t LongestPiece() const { return longestPiece_; }

    // Offers on path every reading of the place at position i of text: the
    // character there as it stands, and every character whose piece starts
    // there. text must reach at least one code unit past the longest piece
    // from i, or to the end of the text.
    void OfferPlace(std::u16string_view text, std::size_t i, ReadingPath& path) const;
    // Offers a run of Chinese writing of separated text as one place: the
    // characters whose piece the run is. False when it is no piece.
    bool OfferPiece(std::u16string_view run, ReadingPath& path) const;
    // Offers a character of separated text that stands as it is.
    void OfferStanding(char32_t character, ReadingPath& path) const;

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
    std::unordered_set<char32_t> otherKeys_;
};

}  // namespace zelk::join
