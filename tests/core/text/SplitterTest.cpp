#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "AdoQuery.h"
#include "CodePage.h"
#include "DatabaseErrors.h"
#include "DictionaryLookup.h"
#include "RecordOperations.h"
#include "TestDatabase.h"

namespace zelk {
namespace {

// Records every lookup and every piece in one sequence, to check their order.
struct Recorder {
    std::vector<std::u16string> events;
    std::u16string result;
    int failAtLookup = 0;  // 1-based; 0 never fails

    CharLookup Lookup(std::u16string (*replace)(std::u16string_view)) {
        return [this, replace](std::u16string_view c) {
            events.push_back(u"L:" + std::u16string(c));
            if (static_cast<int>(std::count_if(events.begin(), events.end(), [](const auto& e) {
                    return e.starts_with(u"L:");
                })) == failAtLookup) {
                throw std::runtime_error("lookup failed");
            }
            return replace(c);
        };
    }
    PieceReceiver Receiver() {
        return [this](std::u16string_view piece) {
            events.push_back(u"R:" + std::u16string(piece));
            result += piece;
        };
    }
};

std::u16string Identity(std::u16string_view c) {
    return std::u16string(c);
}

std::u16string Table(std::u16string_view c) {
    if (c == u"好") return u"女子";
    if (c == u"空") return u"";
    if (c == u"𠮷") return u"士口";
    return std::u16string(c);
}

TEST(SplitSentenceTest, EmptySentenceRunsNothing) {
    Recorder recorder;
    SplitSentence(u"", recorder.Lookup(Table), recorder.Receiver());
    EXPECT_TRUE(recorder.events.empty());
}

TEST(SplitSentenceTest, LookupAndReceiverAlternateInSentenceOrder) {
    Recorder recorder;
    SplitSentence(u"好a好", recorder.Lookup(Table), recorder.Receiver());
    EXPECT_EQ(recorder.events, (std::vector<std::u16string>{u"L:好", u"R:女子", u"L:a", u"R:a",
                                                            u"L:好", u"R:女子"}));
    EXPECT_EQ(recorder.result, u"女子a女子");
}

TEST(SplitSentenceTest, PiecesOfZeroOneAndSeveralCharacters) {
    Recorder recorder;
    SplitSentence(u"空x好 空", recorder.Lookup(Table), recorder.Receiver());
    EXPECT_EQ(recorder.result, u"x女子 ");
    EXPECT_EQ(recorder.events.size(), 10u);  // every character, the empty pieces included
}

TEST(SplitSentenceTest, FailureAtTheKthLookupKeepsPiecesBeforeIt) {
    Recorder recorder;
    recorder.failAtLookup = 3;
    EXPECT_THROW(SplitSentence(u"好好好好", recorder.Lookup(Table), recorder.Receiver()),
                 std::runtime_error);
    EXPECT_EQ(recorder.result, u"女子女子");
    EXPECT_EQ(recorder.events.back(), u"L:好");  // no lookup or piece after the failure
    EXPECT_EQ(recorder.events.size(), 5u);
}

TEST(SplitSentenceTest, ReceiverFailureStopsTheWalk) {
    int lookups = 0;
    EXPECT_THROW(SplitSentence(
                     u"abc",
                     [&](std::u16string_view c) {
                         ++lookups;
                         return std::u16string(c);
                     },
                     [](std::u16string_view) { throw std::runtime_error("full"); }),
                 std::runtime_error);
    EXPECT_EQ(lookups, 1);
}

TEST(SplitSentenceTest, SurrogatePairIsOneCharacterLoneSurrogatesAreTheirOwn) {
    Recorder recorder;
    SplitSentence(u"𠮷好", recorder.Lookup(Table), recorder.Receiver());
    EXPECT_EQ(recorder.events,
              (std::vector<std::u16string>{u"L:𠮷", u"R:士口", u"L:好", u"R:女子"}));

    Recorder lone;
    const std::u16string text = {0xDC00, 0xD842, u'a', 0xD842};
    SplitSentence(text, lone.Lookup(Identity), lone.Receiver());
    EXPECT_EQ(lone.events.size(), 8u);
    EXPECT_EQ(lone.result, text);
}

// LookupChar and SplitWithDictionary against a real database.
class DictionarySplitTest : public ::testing::Test {
  protected:
    std::u16string Split(std::u16string_view sentence) {
        std::u16string result;
        SplitWithDictionary(lookup, sentence, [&](std::u16string_view p) { result += p; });
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
    SaveEntry(maintenance, "人", "丿乀");
    EXPECT_EQ(Split(u"好人"), u"女子丿乀");
}

TEST_F(DictionarySplitTest, EmptySentenceDoesNotTouchTheDatabase) {
    EXPECT_EQ(Split(u""), u"");  // no database file at all, and no error
    EXPECT_FALSE(connection.Connected());
    EXPECT_THROW(Split(u"好"), EEngineError);
}

TEST_F(DictionarySplitTest, LookupFailurePartWayKeepsTheEarlierPieces) {
    test::MakeDatabase({{"好", "女子"}});
    test::RunSql(
        "drop table chr12; create table chr12 (chr1 text, other text);"
        "insert into chr12 values ('坏', 'x')");
    std::u16string result;
    try {
        SplitWithDictionary(lookup, u"好人坏了", [&](std::u16string_view p) { result += p; });
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "ADOQuery1: Field 'chr2' not found");
    }
    EXPECT_EQ(result, u"好人");
    // The read transaction has ended: the database can be written again.
    test::RunSql("insert into chr12 values ('了', 'y')");
}

TEST_F(DictionarySplitTest, ReplacementOutsideTheWindowCodePageGivesQuestionMark) {
    test::MakeDatabase({{"吉", "𠮷"}, {"好", "女子"}});
    TADOConnection gbk(BuildConnectionString(), kCodePageGbk);
    TADOQuery gbkLookup("ADOQuery1", gbk);
    EXPECT_EQ(LookupChar(gbkLookup, u"吉"), u"?");
    EXPECT_EQ(LookupChar(gbkLookup, u"好"), u"女子");
}

}  // namespace
}  // namespace zelk
