#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace zelk::text {

// How common characters are in running text: their rank by frequency, 1
// the most frequent. Made from the characters in that order, one a line
// (the build derives the list from the join model's counts).
class CharacterRanks {
  public:
    CharacterRanks() = default;
    explicit CharacterRanks(std::string_view lines);

    std::optional<std::uint32_t> RankOf(char32_t character) const;
    std::size_t size() const { return ranks_.size(); }

  private:
    std::unordered_map<char32_t, std::uint32_t> ranks_;
};

}  // namespace zelk::text
