#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "AdoQuery.h"
#include "ReadTransaction.h"

namespace zelk {

// Counts how much of a text the dictionary splits: every Chinese character
// (a CJK unified or compatibility ideograph, in any plane) is looked up once
// per distinct character, by LookupChar on the lookup cursor, and counted as
// split when it has an entry. Memory grows with the distinct characters met,
// not with the text.
class CoverageCounter {
  public:
    explicit CoverageCounter(TADOQuery& lookupCursor) : cursor_(lookupCursor) {}

    // Adds UTF-8 text; a character may not be cut between two calls.
    // Invalid bytes count as no character.
    void Add(std::string_view text);

    std::uint64_t chineseCharacters() const { return chinese_; }
    std::uint64_t splitCharacters() const { return split_; }
    // The characters left whole, most frequent first (ties in code point
    // order), at most count of them.
    std::vector<std::pair<char32_t, std::uint64_t>> MostFrequentWhole(std::size_t count) const;

  private:
    bool HasEntry(char32_t character, ReadTransaction& transaction);

    TADOQuery& cursor_;
    std::unordered_map<char32_t, bool> hasEntry_;
    std::unordered_map<char32_t, std::uint64_t> whole_;
    std::uint64_t chinese_ = 0;
    std::uint64_t split_ = 0;
};

// True for the code points of CJK ideographs.
bool IsChineseCharacter(char32_t character);

}  // namespace zelk
