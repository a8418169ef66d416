#include <gtest/gtest.h>

#include <random>

#include "TestDatabase.h"
#include "base/CodePage.h"
#include "base/Unicode.h"
#include "builtin/DefaultDictionary.h"
#include "database/AdoQuery.h"
#include "lookup/CachedPieces.h"
#include "lookup/DatabasePieces.h"

namespace zelk::lookup {
namespace {

using base::AnsiToUtf16;
using base::StartsSurrogatePair;

std::u16string Split(text::PieceSource& pieces, std::u16string_view text) {
    std::u16string result;
    text::SplitSentence(text, pieces,
                        [&](std::u16string_view, std::u16string_view p) { result += p; });
    return result;
}

class CachedPiecesTest : public ::testing::Test {
  protected:
    std::u16string SplitPerCharacter(std::u16string_view text) {
        DatabasePieces pieces(lookup);
        return Split(pieces, text);
    }
    static std::u16string SplitCached(CachedPieces& pieces, std::u16string_view text) {
        return Split(pieces, text);
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
    db::TADOConnection connection;
    db::TADOQuery lookup{"ADOQuery1", connection};
};

TEST_F(CachedPiecesTest, GivesExactlyWhatTheDatabaseGivesOnALargeText) {
    test::MakeDatabase(builtin::DefaultDictionaryEntries());
    // Keys in both letter cases and keys with several entries, as a merging
    // import would not make them.
    test::RunSql(
        "insert into chr12 values ('a', 'ä'), ('B', 'b-upper'), ('ㄅ', 'first'), "
        "('ㄅ', 'second'), ('z', 'zz'), ('Z', 'ZZ'), ('''', 'quote'), ('𠮷', '士口'), "
        "('空', ''), ('无', null), ('q', 'Q')");
    const std::u16string text = MixedText(300000);
    const std::u16string expected = SplitPerCharacter(text);
    CachedPieces dictionary(lookup);
    EXPECT_EQ(SplitCached(dictionary, text), expected);
    EXPECT_EQ(SplitCached(dictionary, u"AbZㄅ空无"), u"äb-upperzzfirst");
}

// Whatever the database does with its keys, both paths answer alike: a key
// stored as a BLOB (equal to no text key), an untyped key column, a
// comparison other than the usual ones, and a dictionary that is a view.
TEST_F(CachedPiecesTest, AgreesWithTheDatabaseOnOddKeysComparisonsAndViews) {
    const std::u16string text = u"aAb 好林 1x𠮷";
    const std::vector<std::string> schemas = {
        "drop table chr12; create table chr12 (chr1 text, chr2 text);"
        "insert into chr12 values ('a', 'x'), ('A', 'y')",
        "insert into chr12 values (cast('好' as blob), 'blob'), ('林', '木木')",
        "drop table chr12; create table chr12 (chr1 text collate rtrim, chr2 text);"
        "insert into chr12 values ('a  ', 'rtrim'), ('好', '女子')",
        "alter table chr12 rename to entries; create view chr12 as select * from entries;"
        "insert into entries values ('b', 'view'), ('𠮷', '士口')",
        "drop table chr12; create table chr12 (chr1, chr2); insert into chr12 values (1, 'n')",
    };
    for (const std::string& schema : schemas) {
        test::MakeDatabase({{"x", "叉"}});
        test::RunSql(schema);
        CachedPieces dictionary(lookup);
        EXPECT_EQ(SplitCached(dictionary, text), SplitPerCharacter(text)) << schema;
        connection.Close();
    }
}

TEST_F(CachedPiecesTest, LooksUpEachDistinctCharacterOnceAndNoOtherEntry) {
    test::MakeDatabase({{"好", "女子"}});
    test::RunSql(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 50000) "
        "insert into chr12 select 'long key ' || i, 'never' from n");
    CachedPieces dictionary(lookup);
    EXPECT_EQ(SplitCached(dictionary, u"好好人𠮷好"), u"女子女子人𠮷女子");
    EXPECT_EQ(dictionary.size(), 3u);
}

}  // namespace
}  // namespace zelk::lookup
