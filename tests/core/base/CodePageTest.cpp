#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "base/Unicode.h"

namespace zelk::base {
namespace {

TEST(CodePageTest, GbkConvertsBothWays) {
    EXPECT_EQ(Utf16ToAnsi(u"拆功", kCodePageGbk), "\xB2\xF0\xB9\xA6");
    EXPECT_EQ(AnsiToUtf16("\xB2\xF0\xB9\xA6", kCodePageGbk), u"拆功");
    EXPECT_EQ(Utf16ToAnsi(u"€", kCodePageGbk), "\x80");
    EXPECT_EQ(AnsiToUtf16("\x80", kCodePageGbk), u"€");
}

TEST(CodePageTest, EmptyTextStaysEmpty) {
    EXPECT_EQ(AnsiToUtf16("", kCodePageGbk), u"");
    EXPECT_EQ(Utf16ToAnsi(u"", kCodePageGbk), "");
    EXPECT_EQ(AnsiToUtf16("", kCodePageUtf8), u"");
    EXPECT_EQ(Utf16ToAnsi(u"", kCodePageUtf8), "");
}

TEST(CodePageTest, CharacterOutsideTheCodePageBecomesOneQuestionMark) {
    EXPECT_EQ(Utf16ToAnsi(u"a😀b", kCodePageGbk), "a?b");  // a surrogate pair is one character
    EXPECT_EQ(Utf16ToAnsi(u"好\u0E01好", kCodePageGbk), "\xBA\xC3?\xBA\xC3");  // Thai
    const std::u16string lone = {u'x', 0xD800, u'y', 0xDC00};
    EXPECT_EQ(Utf16ToAnsi(lone, kCodePageGbk), "x?y?");
    EXPECT_EQ(Utf16ToAnsi(lone, kCodePageUtf8), "x?y?");
    const std::u16string highAtEnd = {u'x', 0xD800};
    EXPECT_EQ(Utf16ToAnsi(highAtEnd, kCodePageGbk), "x?");
}

TEST(CodePageTest, SurrogatePairsSurviveUtf8) {
    EXPECT_EQ(Utf16ToAnsi(u"𠮷野家", kCodePageUtf8), "𠮷野家");
    EXPECT_EQ(AnsiToUtf16("𠮷野家", kCodePageUtf8), u"𠮷野家");
}

TEST(CodePageTest, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(AnsiToUtf16("a\xFF"
                          "b",
                          kCodePageUtf8),
              u"a\uFFFDb");
    EXPECT_EQ(AnsiToUtf16("\xE5\xA5", kCodePageUtf8), u"\uFFFD\uFFFD");  // cut-off sequence
    EXPECT_EQ(AnsiToUtf16("\xC0\xAF", kCodePageUtf8), u"\uFFFD\uFFFD");  // overlong "/"
    EXPECT_EQ(AnsiToUtf16("a\xFF"
                          "b",
                          kCodePageGbk),
              u"a\uFFFDb");
    EXPECT_EQ(AnsiToUtf16("\xB2", kCodePageGbk), u"\uFFFD");  // lead byte without trail
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));                // an encoded surrogate
    EXPECT_TRUE(IsValidUtf8("拆𠮷"));
}

TEST(CodePageTest, LongTextsRoundTripWholeInBothCodePages) {
    std::u16string text;
    for (int i = 0; i < 200000; ++i) text += static_cast<char16_t>(0x4E00 + i % 20000);
    text += u"€ end";
    const std::string gbk = Utf16ToAnsi(text, kCodePageGbk);
    EXPECT_EQ(gbk.find('?'), std::string::npos);
    EXPECT_EQ(AnsiToUtf16(gbk, kCodePageGbk), text);
    EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(gbk, kCodePageGbk), kCodePageGbk), gbk);
    EXPECT_EQ(AnsiToUtf16(Utf16ToAnsi(text, kCodePageUtf8), kCodePageUtf8), text);
}

TEST(CodePageTest, StartsSurrogatePairOnlyForWellFormedPairs) {
    const std::u16string text = {0xD842, 0xDFB7, 0xDFB7, 0xD842, u'a', 0xD842};
    EXPECT_TRUE(StartsSurrogatePair(text, 0));
    EXPECT_FALSE(StartsSurrogatePair(text, 1));
    EXPECT_FALSE(StartsSurrogatePair(text, 2));
    EXPECT_FALSE(StartsSurrogatePair(text, 3));
    EXPECT_FALSE(StartsSurrogatePair(text, 5));
}

}  // namespace
}  // namespace zelk::base
