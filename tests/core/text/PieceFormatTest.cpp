#include <gtest/gtest.h>

#include "text/PieceFormat.h"

namespace zelk::text {
namespace {

// (character, piece) pairs through a format.
std::u16string Write(PieceFormat format,
                     const std::vector<std::pair<std::u16string, std::u16string>>& pieces) {
    std::u16string out;
    for (const auto& [character, piece] : pieces) format.Append(character, piece, out);
    return out;
}

const std::vector<std::pair<std::u16string, std::u16string>> kLine = {
    {u"请", u"讠青"}, {u"，", u"，"},   {u"空", u""}, {u"好", u"女子"},
    {u"\n", u"\n"},   {u"𠮷", u"士口"}, {u"a", u"a"}};

TEST(PieceFormatTest, PlainWritesThePiecesAsTheyAre) {
    EXPECT_EQ(Write({std::nullopt, std::nullopt}, kLine), u"讠青，女子\n士口a");
}

// Each character of text with its piece from a small dictionary.
std::vector<std::pair<std::u16string, std::u16string>> Pieces(std::u16string_view text) {
    const std::vector<std::pair<std::u16string, std::u16string>> dictionary = {
        {u"好", u"女子"}, {u"的", u"白勺"}, {u"空", u""}, {u"!", u"丨丶"}};
    std::vector<std::pair<std::u16string, std::u16string>> pieces;
    for (char16_t c : text) {
        std::u16string piece(1, c);
        for (const auto& [key, value] : dictionary)
            if (key == piece) piece = value;
        pieces.emplace_back(std::u16string(1, c), piece);
    }
    return pieces;
}

TEST(PieceFormatTest, SeparatorStandsBetweenNeighbouringChinesePiecesOnly) {
    EXPECT_EQ(Write({u" ", std::nullopt}, kLine), u"讠青，女子\n士口a");
    EXPECT_EQ(Write({u" ", std::nullopt}, Pieces(u"第 1 章 好的 Debian 11")),
              u"第 1 章 女子 白勺 Debian 11");
    // Chinese characters left whole are pieces too; a split sign is one.
    EXPECT_EQ(Write({u"|", std::nullopt}, Pieces(u"人好空的人!a")), u"人|女子|白勺|人|丨丶a");
    EXPECT_EQ(Write({u"", std::nullopt}, kLine), u"讠青，女子\n士口a");
}

TEST(PieceFormatTest, SeparatorOfTheTextBetweenChinesePiecesIsReported) {
    const auto ambiguous = [](std::u16string_view separator, std::u16string_view text) {
        PieceFormat format(std::u16string(separator), std::nullopt);
        std::u16string out;
        for (const auto& [character, piece] : Pieces(text)) format.Append(character, piece, out);
        return format.SawAmbiguousSeparator();
    };
    EXPECT_TRUE(ambiguous(u" ", u"好 的"));  // reads back as 好的
    EXPECT_TRUE(ambiguous(u"--", u"人--人"));
    EXPECT_FALSE(ambiguous(u" ", u"好  的"));  // two blanks: neither sits between Chinese
    EXPECT_FALSE(ambiguous(u" ", u"好 1 的"));
    EXPECT_FALSE(ambiguous(u" ", u"好\n 的"));
    EXPECT_FALSE(ambiguous(u"|", u"好 的"));
    EXPECT_FALSE(ambiguous(u" ", u"好的人"));  // only separators the split wrote
}

TEST(PieceFormatTest, MarkWritesSplitCharactersInTheFormatAndOthersPlain) {
    EXPECT_EQ(Write({std::nullopt, u"{c}({p})"}, kLine), u"请(讠青)，好(女子)\n𠮷(士口)a");
    EXPECT_EQ(Write({u"/", u"[{p}]{x}{c"}, {{u"好", u"女子"}, {u"林", u"木木"}}),
              u"[女子]{x}{c/[木木]{x}{c");
    EXPECT_EQ(Write({u" ", u"{c}({p})"}, Pieces(u"人好的")), u"人 好(女子) 的(白勺)");
}

TEST(PieceFormatTest, RestartForgetsThePreviousPiece) {
    PieceFormat format(u" ", std::nullopt);
    std::u16string out;
    format.Append(u"好", u"女子", out);
    format.Restart();
    format.Append(u"林", u"木木", out);
    EXPECT_EQ(out, u"女子木木");
}

}  // namespace
}  // namespace zelk::text
