#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zelk::text {

// Counts how much of a text the dictionary splits: every Chinese character
// is asked about once per distinct character and counted as split when it
// has an entry. Memory grows with the distinct characters met, not with the
// text.
class CoverageCounter {
  public:
    using HasEntry = std::function<bool(char32_t character)>;
    explicit CoverageCounter(HasEntry hasEntry) : hasEntry_(std::move(hasEntry)) {}

    // Adds UTF-8 text; a character may not be cut between two calls.
    // Invalid bytes count as no character.
    void Add(std::string_view text);

    std::uint64_t chineseCharacters() const { return chinese_; }
    std::uint64_t splitCharacters() const { return split_; }
    // The characters left whole, most frequent first (ties in code point
    // order), at most count of them.
    std::vector<std::pair<char32_t, std::uint64_t>> MostFrequentWhole(std::size_t count) const;

  private:
    bool Split(char32_t character);

    HasEntry hasEntry_;
    std::unordered_map<char32_t, bool> splitByCharacter_;
    std::unordered_map<char32_t, std::uint64_t> whole_;
    std::uint64_t chinese_ = 0;
    std::uint64_t split_ = 0;
};

}  // namespace zelk::text
