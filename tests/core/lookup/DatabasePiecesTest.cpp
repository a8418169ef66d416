#include <gtest/gtest.h>

#include <string>

#include "TestDatabase.h"
#include "base/CodePage.h"
#include "database/AdoQuery.h"
#include "database/DatabaseErrors.h"
#include "database/RecordOperations.h"
#include "lookup/DatabasePieces.h"

namespace zelk::lookup {
namespace {

using db::TADOConnection;
using db::TADOQuery;

// LookupChar and the walk on DatabasePieces against a real database.
class DictionarySplitTest : public ::testing::Test {
  protected:
    std::u16string Split(std::u16string_view sentence) {
        std::u16string result;
        DatabasePieces pieces(lookup);
        text::SplitSentence(sentence, pieces,
                            [&](std::u16string_view, std::u16string_view p) { result += p; });
        return result;
    }
    test::ScopedWorkDir dir;
    TADOConnection connection;
    TADOQuery lookup{"ADOQuery1", connection};
    TADOQuery maintenance{"ADOQuery2", connection};
};

TEST_F(DictionarySplitTest, EveryCharacterIsLookedUpIncludingQuotesAndLetters) {
    test::MakeDatabase({{"好", "女子"}, {"'", "[quote]"}, {"a", "A"}, {"𠮷", "士口"}, {"空", ""}});
    EXPECT_EQ(Split(u"好'a A 空𠮷!"), u"女子[quote]A A 士口!");
    EXPECT_EQ(LookupChar(lookup, u"坏"), u"坏");
    EXPECT_EQ(LookupChar(lookup, u"空"), u"");
}

TEST_F(DictionarySplitTest, EntrySavedBetweenTwoSplitsShowsInTheSecond) {
    test::MakeDatabase({{"好", "女子"}});
    EXPECT_EQ(Split(u"好人"), u"女子人");
    db::SaveEntry(maintenance, "人", "丿乀");
    EXPECT_EQ(Split(u"好人"), u"女子丿乀");
}

TEST_F(DictionarySplitTest, EmptySentenceDoesNotTouchTheDatabase) {
    EXPECT_EQ(Split(u""), u"");  // no database file at all, and no error
    EXPECT_FALSE(connection.Connected());
    EXPECT_THROW(Split(u"好"), db::EEngineError);
}

TEST_F(DictionarySplitTest, LookupFailurePartWayKeepsTheEarlierPieces) {
    test::MakeDatabase({{"好", "女子"}});
    test::RunSql(
        "drop table chr12; create table chr12 (chr1 text, other text);"
        "insert into chr12 values ('坏', 'x')");
    std::u16string result;
    try {
        DatabasePieces pieces(lookup);
        text::SplitSentence(u"好人坏了", pieces,
                            [&](std::u16string_view, std::u16string_view p) { result += p; });
        FAIL();
    } catch (const db::EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "ADOQuery1: Field 'chr2' not found");
    }
    EXPECT_EQ(result, u"好人");
    // The read transaction has ended: the database can be written again.
    test::RunSql("insert into chr12 values ('了', 'y')");
}

TEST_F(DictionarySplitTest, ReplacementOutsideTheWindowCodePageGivesQuestionMark) {
    test::MakeDatabase({{"吉", "𠮷"}, {"好", "女子"}});
    TADOConnection gbk(db::BuildConnectionString(), base::kCodePageGbk);
    TADOQuery gbkLookup("ADOQuery1", gbk);
    EXPECT_EQ(LookupChar(gbkLookup, u"吉"), u"?");
    EXPECT_EQ(LookupChar(gbkLookup, u"好"), u"女子");
}

}  // namespace
}  // namespace zelk::lookup
