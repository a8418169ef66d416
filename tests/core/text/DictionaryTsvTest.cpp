#include <gtest/gtest.h>

#include "text/DictionaryTsv.h"
#include "text/EngineError.h"

namespace zelk::text {
namespace {

using base::DictionaryEntry;

std::string ErrorOf(std::string_view text) {
    try {
        ParseDictionaryTsv(text, "d.tsv");
    } catch (const EngineError& error) {
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
        {" ", " lead "}, {"\\N", "\\N"},        {"null", std::nullopt}, {"'", "' or '1'='1"},
        {std::string("n\0l", 3), std::string("\0", 1)}};
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

// Each way into the program words a fault from its code, never from the
// English text: the code, the line and the line's text come with it.
TEST(DictionaryTsvTest, FaultsCarryTheirCodeLineAndText) {
    const auto faultOf = [](std::string_view text) {
        try {
            ParseDictionaryTsv(text, "d.tsv");
        } catch (const EngineError& error) {
            return std::tuple(error.code(), error.line(), error.text(), error.source());
        }
        return std::tuple(ErrorCode::EmptyKey, std::size_t{0}, std::string("<no error>"),
                          std::string());
    };
    EXPECT_EQ(faultOf("好\t女子\n坏\n"), std::tuple(ErrorCode::NoTab, 2u, std::string("坏"),
                                                     std::string("d.tsv")));
    EXPECT_EQ(std::get<0>(faultOf("a\tb\tc")), ErrorCode::MoreThanTwoFields);
    EXPECT_EQ(std::get<0>(faultOf("\\q\tb")), ErrorCode::UnknownEscapeInKey);
    EXPECT_EQ(std::get<0>(faultOf("a\t\\q")), ErrorCode::UnknownEscapeInReplacement);
    EXPECT_EQ(std::get<0>(faultOf("\tb")), ErrorCode::EmptyKey);
    EXPECT_EQ(std::get<0>(faultOf("a\tb\rc\td")), ErrorCode::CarriageReturnLineEnds);
    // A NUL byte as it is marks a file that is no text (UTF-16, a binary).
    EXPECT_EQ(std::get<0>(faultOf(std::string_view("a\tb\n\xFF\xFE\0", 8))),
              ErrorCode::LineNotUtf8);
    EXPECT_EQ(faultOf(std::string_view("a\tb\nc\0\td", 8)),
              std::tuple(ErrorCode::LineWithNul, 2u, std::string("c\0\td", 4), std::string("d.tsv")));
    // A line that is not UTF-8 is not handed on as text.
    EXPECT_EQ(faultOf("a\t\xFF"),
              std::tuple(ErrorCode::LineNotUtf8, 1u, std::string(), std::string("d.tsv")));
}

}  // namespace
}  // namespace zelk::text
