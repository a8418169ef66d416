#include "Coverage.h"

#include <algorithm>

#include "CodePage.h"
#include "RecordOperations.h"

namespace zelk {

namespace {

// The next code point of well-formed UTF-8 at text[i], advancing i; an
// invalid byte gives U+FFFD and advances by one.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t value;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    if (overlong || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += length;
    return value;
}

}  // namespace

std::u16string CodePointToUtf16(char32_t c) {
    if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
    c -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

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
        const char32_t c = NextCodePoint(text, i);
        if (!IsChineseCharacter(c)) continue;
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
