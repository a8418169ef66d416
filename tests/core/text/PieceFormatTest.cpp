#include <gtest/gtest.h>

#include "PieceFormat.h"

namespace zelk {
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

TEST(PieceFormatTest, SeparatorStandsBetweenPiecesOfOneLineOnly) {
    EXPECT_EQ(Write({u" ", std::nullopt}, kLine), u"讠青 ， 女子\n士口 a");
    EXPECT_EQ(Write({u"", std::nullopt}, kLine), u"讠青，女子\n士口a");
}

TEST(PieceFormatTest, MarkWritesSplitCharactersInTheFormatAndOthersPlain) {
    EXPECT_EQ(Write({std::nullopt, u"{c}({p})"}, kLine), u"请(讠青)，好(女子)\n𠮷(士口)a");
    EXPECT_EQ(Write({u"/", u"[{p}]{x}{c"}, {{u"好", u"女子"}, {u"林", u"木木"}}),
              u"[女子]{x}{c/[木木]{x}{c");
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
}  // namespace zelk
