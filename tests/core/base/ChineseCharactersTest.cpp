#include <gtest/gtest.h>

#include "base/ChineseCharacters.h"

namespace zelk::base {
namespace {

// The definition the generators read too (data/chinese-characters.txt): a
// change to it shows here first.
TEST(ChineseCharactersTest, RunningTextIdeographs) {
    for (char32_t c : {U'〇', U'㐀', U'䶿', U'一', U'好', U'鿿', U'豈', U'﫿', U'𠀀', U'𠮷',
                       U'𪜀', U'\U0002FA1D', U'\U00030000', U'\U0003134A', U'\U0003FFFF'}) {
        EXPECT_TRUE(IsChineseCharacter(c)) << std::hex << static_cast<unsigned>(c);
        EXPECT_TRUE(IsChineseWriting(c)) << std::hex << static_cast<unsigned>(c);
    }
}

TEST(ChineseCharactersTest, PartsAreWritingButNoCharacters) {
    for (char32_t c : {U'⺀', U'⺮', U'⻳', U'⼀', U'⿕', U'㇀', U'㇏', U'㇣'}) {
        EXPECT_FALSE(IsChineseCharacter(c)) << std::hex << static_cast<unsigned>(c);
        EXPECT_TRUE(IsChineseWriting(c)) << std::hex << static_cast<unsigned>(c);
    }
}

TEST(ChineseCharactersTest, NeighboursAndOtherScriptsAreNot) {
    // Just outside each range, and what Chinese text holds besides characters.
    for (char32_t c :
         {U'a',          U'1',      U'，',     U'。',     U'　',     U'々',         U'〆',
          U'〡',         U'コ',     U'䷀',     U'ꀀ',     U'\uFB00', U'\U0001F600', U'\U00040000',
          U'\U000E0100', U'\u2E7F', U'\u2FE0', U'\u31BF', U'\u31F0', U'\u3006',     U'\u3008'}) {
        EXPECT_FALSE(IsChineseWriting(c)) << std::hex << static_cast<unsigned>(c);
    }
}

}  // namespace
}  // namespace zelk::base
