#include "text/CharacterRanks.h"

#include "base/Unicode.h"

namespace zelk::text {

CharacterRanks::CharacterRanks(std::string_view lines) {
    std::uint32_t rank = 0;
    for (std::size_t start = 0; start < lines.size();) {
        std::size_t end = lines.find('\n', start);
        if (end == std::string_view::npos) end = lines.size();
        char32_t character;
        const std::size_t line = end - start;
        if (line > 0 && base::DecodeUtf8(lines, start, character) == line)
            ranks_.try_emplace(character, ++rank);
        start = end + 1;
    }
}

std::optional<std::uint32_t> CharacterRanks::RankOf(char32_t character) const {
    const auto it = ranks_.find(character);
    if (it == ranks_.end()) return std::nullopt;
    return it->second;
}

}  // namespace zelk::text
