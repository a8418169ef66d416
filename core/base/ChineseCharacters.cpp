#include "base/ChineseCharacters.h"

#include <algorithm>
#include <array>

#include "base/Unicode.h"

namespace zelk::base {

namespace {

enum class Class { character, part };

struct Range {
    char32_t first;
    char32_t last;
    Class kind;
};

using enum Class;
// Generated from data/chinese-characters.txt.
constexpr Range kRanges[] = {
#include "ChineseCharacterRanges.inc"
};

const Range* RangeOf(char32_t c) {
    if (c < 0x2E80) return nullptr;  // everything below is alphabets, symbols and punctuation
    for (const Range& range : kRanges) {
        if (c >= range.first && c <= range.last) return &range;
    }
    return nullptr;
}

bool HasCharacterOf(std::u16string_view text, bool (*kind)(char32_t)) {
    for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i))
        if (kind(CodePointOf(text.substr(i, 2)))) return true;
    return false;
}

}  // namespace

bool IsChineseCharacter(char32_t c) {
    const Range* range = RangeOf(c);
    return range && range->kind == Class::character;
}

bool IsChineseWriting(char32_t c) {
    return RangeOf(c) != nullptr;
}

bool HasChineseCharacter(std::u16string_view text) {
    return HasCharacterOf(text, IsChineseCharacter);
}

bool HasChineseWriting(std::u16string_view text) {
    return HasCharacterOf(text, IsChineseWriting);
}

}  // namespace zelk::base
