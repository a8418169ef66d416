#include <gtest/gtest.h>

#include "DictionaryTsv.h"

namespace zelk {
namespace {

std::string ErrorOf(std::string_view text) {
    try {
        ParseDictionaryTsv(text, "d.tsv");
    } catch (const DictionaryTsvError& error) {
        return error.what();
    }
    return "<no error>";
}

TEST(DictionaryTsvTest, ReadsEntriesSkippingCommentsAndBlankLines) {
    const auto entries =
        ParseDictionaryTsv("\xEF\xBB\xBF# comment\n好\t女子\r\n\n空\t\n无\t\\N", "d");
    EXPECT_EQ(entries,
              (std::vector<DictionaryEntry>{{"好", "女子"}, {"空", ""}, {"无", std::nullopt}}));
}

TEST(DictionaryTsvTest, EveryTextSurvivesFormatAndParse) {
    const std::vector<DictionaryEntry> entries = {
        {"#", "hash"},   {"\\", "back\\slash"}, {"tab", "a\tb"},        {"lf", "a\nb\r"},
        {" ", " lead "}, {"\\N", "\\N"},        {"null", std::nullopt}, {"'", "' or '1'='1"}};
    EXPECT_EQ(ParseDictionaryTsv(FormatDictionaryTsv(entries), "d"), entries);
}

TEST(DictionaryTsvTest, FaultsNameTheLine) {
    EXPECT_EQ(ErrorOf("好\t女子\n坏"), "d.tsv:2: no tab between key and replacement");
    EXPECT_EQ(ErrorOf("\t女子"), "d.tsv:1: empty key");
    EXPECT_EQ(ErrorOf("a\tb\tc"), "d.tsv:1: more than two fields (write a tab in a field as \\t)");
    EXPECT_EQ(ErrorOf("a\t\\x"), "d.tsv:1: unknown escape in the replacement");
    EXPECT_EQ(ErrorOf("a\\\tb"), "d.tsv:1: unknown escape in the key");
    EXPECT_EQ(ErrorOf("# ok\n\xB2\xF0\t\xB9\xA6"), "d.tsv:2: the line is not valid UTF-8");
    EXPECT_EQ(ErrorOf("好\t女子\r林\t木木\r"),
              "d.tsv:1: the line ends are carriage returns alone; save the file with line feeds "
              "(LF or CR LF)");
}

}  // namespace
}  // namespace zelk
