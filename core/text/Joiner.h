#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "DictionaryTsv.h"

namespace zelk {

// Reads split text back into characters (讠青讠上 → 请让). Text can be cut
// into the pieces of a dictionary in many ways (女子 is 好 or the word 女子;
// a replacement can be the start of another), so the joiner takes the most
// likely reading of the whole text: a best path over every way to cut it,
// each reading scored by how common its words and characters are. A
// reading is a word or character whose split form (each character replaced
// by its dictionary piece) is that stretch of the text; text that is no
// split form of anything passes through as it is.
class Joiner {
  public:
    // dictionary: the entries (every entry of a key counts: any of them
    // can be read back); frequencies: TSV of word or character and count.
    Joiner(const std::vector<DictionaryEntry>& dictionary, std::string_view frequencies);

    // The most likely reading of text (UTF-16).
    std::u16string Join(std::u16string_view text) const;
    // Text whose pieces stand between separators: each piece is read back
    // on its own, exactly (a piece that is no split form stays as it is).
    std::u16string JoinSeparated(std::u16string_view text, std::u16string_view separator) const;

  private:
    struct Node {
        float score = 0;           // of the best reading ending here
        std::uint32_t output = 0;  // index into outputs_ + 1; 0: no reading ends here
    };

    void AddForm(std::u16string_view form, std::u16string_view output, float score);
    std::uint32_t Child(std::uint32_t node, char16_t unit) const;
    std::u16string SplitForm(std::u16string_view text) const;

    std::unordered_map<char16_t, std::u16string> pieces_;            // first entry of each BMP key
    std::unordered_map<std::u16string, std::u16string> longPieces_;  // surrogate-pair keys
    std::vector<Node> nodes_;
    std::unordered_map<std::uint64_t, std::uint32_t> edges_;  // (node << 16 | unit) -> node
    std::vector<std::u16string> outputs_;
    // The best single character for each split form, for separated text.
    struct Reading {
        std::u16string character;
        float score;
    };
    std::unordered_map<std::u16string, Reading> characterForms_;
};

}  // namespace zelk
