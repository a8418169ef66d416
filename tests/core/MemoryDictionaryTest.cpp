#include <gtest/gtest.h>

#include <random>

#include "AdoQuery.h"
#include "CodePage.h"
#include "DefaultDictionary.h"
#include "MemoryDictionary.h"
#include "Splitter.h"
#include "TestDatabase.h"

namespace zelk {
namespace {

class MemoryDictionaryTest : public ::testing::Test {
  protected:
    std::u16string SplitPerCharacter(std::u16string_view text) {
        std::u16string result;
        SplitWithDictionary(lookup, text, [&](std::u16string_view p) { result += p; });
        return result;
    }
    std::u16string SplitInMemory(const MemoryDictionary& dictionary, std::u16string_view text) {
        std::u16string result;
        SplitSentence(
            text, [&](std::u16string_view c) { return dictionary.LookupChar(c); },
            [&](std::u16string_view p) { result += p; });
        return result;
    }
    // A text drawn from the dictionary's keys and from characters without an entry.
    static std::u16string MixedText(std::size_t length) {
        const std::u16string alphabet =
            u"好林拆能aAbBzZ'\" \n，。𠮷吉空无双ㄅＱq123坏" + AnsiToUtf16("\xE4\xB8\x80");
        std::mt19937 random(7305);
        std::u16string text;
        while (text.size() < length) {
            std::size_t i = random() % alphabet.size();
            if (i > 0 && StartsSurrogatePair(alphabet, i - 1)) --i;
            text += alphabet.substr(i, StartsSurrogatePair(alphabet, i) ? 2 : 1);
            if (random() % 5 == 0) text += static_cast<char16_t>(0x4E00 + random() % 20000);
        }
        return text;
    }

    test::ScopedWorkDir dir;
    TADOConnection connection;
    TADOQuery lookup{"ADOQuery1", connection};
};

TEST_F(MemoryDictionaryTest, GivesExactlyWhatTheDatabaseGivesOnALargeText) {
    test::MakeDatabase(DefaultDictionaryEntries());
    // Keys in both letter cases and keys with several entries, as a merging
    // import would not make them.
    test::RunSql(
        "insert into chr12 values ('a', 'ä'), ('B', 'b-upper'), ('ㄅ', 'first'), "
        "('ㄅ', 'second'), ('z', 'zz'), ('Z', 'ZZ'), ('''', 'quote'), ('𠮷', '士口'), "
        "('空', ''), ('无', null), ('q', 'Q')");
    const MemoryDictionary dictionary = MemoryDictionary::Load(connection);
    const std::u16string text = MixedText(300000);
    const std::u16string expected = SplitPerCharacter(text);
    EXPECT_EQ(SplitInMemory(dictionary, text), expected);
    EXPECT_EQ(SplitInMemory(dictionary, u"AbZㄅ空无"), u"äb-upperzzfirst");
}

TEST_F(MemoryDictionaryTest, FollowsABinaryKeyColumn) {
    test::MakeDatabase({});
    test::RunSql(
        "drop table chr12; create table chr12 (chr1 text, chr2 text);"
        "insert into chr12 values ('a', 'x'), ('A', 'y')");
    const MemoryDictionary dictionary = MemoryDictionary::Load(connection);
    for (const std::u16string text : {u"aAb", u"Aab"}) {
        EXPECT_EQ(SplitInMemory(dictionary, text), SplitPerCharacter(text));
    }
    EXPECT_EQ(SplitInMemory(dictionary, u"aA"), u"xy");
}

TEST_F(MemoryDictionaryTest, RefusesAComparisonItCannotRepeat) {
    test::MakeDatabase({});
    test::RunSql("drop table chr12; create table chr12 (chr1 text collate rtrim, chr2 text)");
    EXPECT_THROW(MemoryDictionary::Load(connection), std::runtime_error);
}

}  // namespace
}  // namespace zelk
