#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk::text {

// The words whose characters alone a split splits (zelk-split --only): all
// occurrences in a text found at once by one automaton over the words (Aho
// and Corasick), whatever their number, as the text streams by. Words match
// exactly, character by character (a surrogate pair is one character);
// occurrences may overlap or touch.
class WordScope {
  public:
    // words: each with a Chinese character in it (ParseWords checks).
    explicit WordScope(const std::vector<std::u16string>& words);

    // The matcher's place in a text; a new text starts at Start().
    using State = std::uint32_t;
    static constexpr State Start() { return 0; }
    // Moves on by one character; gives the new state, and in `covers` how
    // many characters back from this one (itself included) an occurrence
    // that ends here reaches: 0 when none ends here.
    State Next(State state, char32_t character, std::size_t& covers) const;
    // How many of the last characters may still begin an occurrence: those
    // before them are decided.
    std::size_t Open(State state) const { return nodes_[state].depth; }

  private:
    struct Node {
        std::uint32_t depth = 0;    // characters from the root
        std::uint32_t failure = 0;  // the longest proper suffix that is a node
        std::uint32_t longest = 0;  // the longest word that ends here, by suffix
    };
    std::uint32_t Child(std::uint32_t node, char32_t character) const;

    std::vector<Node> nodes_;  // [0] is the root
    std::unordered_map<std::uint64_t, std::uint32_t> edges_;  // (node << 32 | character) -> node
};

// The words of a list, one a line (blank lines and lines that start with
// "#" skipped), for zelk-split --only-file. Raises EngineError (OnlyNotUtf8,
// OnlyWithoutChinese, OnlyEmpty) naming the source and the line.
std::vector<std::u16string> ParseWordList(std::string_view text, std::string_view sourceName);
// Checks words given one by one; raises EngineError (OnlyWithoutChinese,
// OnlyEmpty) naming the word.
void CheckWords(const std::vector<std::u16string>& words);

}  // namespace zelk::text
