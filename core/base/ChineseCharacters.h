#pragma once

#include <string_view>

namespace zelk::base {

// The one definition of a Chinese character, read from
// data/chinese-characters.txt when the program is built; the data
// generators read the same file.

// An ideograph of running text: 〇, the unified ideographs with Extension A,
// the compatibility ideographs and the supplementary planes 2 and 3.
bool IsChineseCharacter(char32_t c);

// A Chinese character, or a part that dictionaries write characters with
// (radicals, strokes): what split text is made of.
bool IsChineseWriting(char32_t c);

// Whether the text (UTF-16) holds a Chinese character, or Chinese writing.
bool HasChineseCharacter(std::u16string_view text);
bool HasChineseWriting(std::u16string_view text);

}  // namespace zelk::base
