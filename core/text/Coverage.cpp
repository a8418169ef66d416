#include "Coverage.h"

#include <algorithm>

#include "CodePage.h"
#include "RecordOperations.h"

namespace zelk {

bool IsChineseCharacter(char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

bool CoverageCounter::HasEntry(char32_t character, ReadTransaction& transaction) {
    if (auto it = hasEntry_.find(character); it != hasEntry_.end()) return it->second;
    transaction.Begin();
    const std::string key =
        Utf16ToAnsi(CodePointToUtf16(character), cursor_.Connection().WindowCodePage());
    const bool found = FindEntry(cursor_, key).has_value();
    hasEntry_.emplace(character, found);
    return found;
}

void CoverageCounter::Add(std::string_view text) {
    ReadTransaction transaction(cursor_.Connection());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        const std::size_t length = DecodeUtf8(text, i, c);
        i += length == 0 ? 1 : length;  // a byte that is no UTF-8 is no character
        if (length == 0 || !IsChineseCharacter(c)) continue;
        ++chinese_;
        if (HasEntry(c, transaction)) {
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

}  // namespace zelk
