#include "text/Coverage.h"

#include <algorithm>

#include "base/ChineseCharacters.h"
#include "base/Unicode.h"

namespace zelk::text {

bool CoverageCounter::Split(char32_t character) {
    if (auto it = splitByCharacter_.find(character); it != splitByCharacter_.end())
        return it->second;
    const bool found = hasEntry_(character);
    splitByCharacter_.emplace(character, found);
    return found;
}

void CoverageCounter::Add(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        const std::size_t length = base::DecodeUtf8(text, i, c);
        i += length == 0 ? 1 : length;  // a byte that is no UTF-8 is no character
        if (length == 0 || !base::IsChineseCharacter(c)) continue;
        ++chinese_;
        if (Split(c)) {
            ++split_;
        } else {
            ++whole_[c];
        }
    }
}

std::vector<std::pair<char32_t, std::uint64_t>> CoverageCounter::MostFrequentWhole(
    std::size_t count) const {
    std::vector<std::pair<char32_t, std::uint64_t>> all(whole_.begin(), whole_.end());
    const auto moreFrequent = [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    };
    const std::size_t n = std::min(count, all.size());
    std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n), all.end(),
                      moreFrequent);
    all.resize(n);
    return all;
}

}  // namespace zelk::text
