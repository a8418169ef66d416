#pragma once

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

}  // namespace zelk::base
