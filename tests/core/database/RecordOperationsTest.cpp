#include <gtest/gtest.h>

#include "DatabaseFixture.h"
#include "database/AdoQuery.h"
#include "database/DatabaseErrors.h"
#include "database/RecordOperations.h"
#include "platform/Files.h"

namespace zelk::db {
namespace {

using test::MakeDatabase;
using test::QueryColumn;
using test::RunSql;

using RecordOperationsTest = test::DatabaseFixture;

TEST_F(RecordOperationsTest, KeyWithoutEntry) {
    MakeDatabase({{"好", "女子"}});
    EXPECT_EQ(FindEntry(lookup, "坏"), std::nullopt);
    EXPECT_TRUE(lookup.Active());  // left open on its result

    SaveEntry(maintenance, "坏", "土不");
    EXPECT_EQ(QueryColumn("select chr2 from chr12 where chr1 = '坏'"),
              std::vector<std::string>{"土不"});
    EXPECT_EQ(FindEntry(lookup, "坏"), "土不");
}

TEST_F(RecordOperationsTest, DeleteOfKeyWithoutEntryFailsAndChangesNothing) {
    MakeDatabase({{"好", "女子"}});
    try {
        DeleteEntry(maintenance, "坏");
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "ADOQuery2: Cannot perform this operation on an empty dataset");
    }
    EXPECT_EQ(QueryColumn("select count(*) from chr12"), std::vector<std::string>{"1"});
}

TEST_F(RecordOperationsTest, KeyWithTwoEntriesActsOnTheFirstOnly) {
    MakeDatabase({});
    RunSql("insert into chr12 values ('好', '一'); insert into chr12 values ('好', '二');");
    EXPECT_EQ(FindEntry(maintenance, "好"), "一");

    SaveEntry(maintenance, "好", "三");
    EXPECT_EQ(QueryColumn("select chr2 from chr12 order by rowid"),
              (std::vector<std::string>{"三", "二"}));

    DeleteEntry(maintenance, "好");
    EXPECT_EQ(FindEntry(lookup, "好"), "二");
    DeleteEntry(maintenance, "好");
    EXPECT_EQ(FindEntry(lookup, "好"), std::nullopt);
    EXPECT_THROW(DeleteEntry(maintenance, "好"), EDatabaseError);
}

// A restore from backup or a new database replaces the file under the open
// connection: the next operations read and write the file now there.
TEST_F(RecordOperationsTest, FileReplacedWhileOpenIsOpenedAnew) {
    if (!platform::OpenFilesCanBeReplaced())
        GTEST_SKIP() << "this system replaces no file that the database engine has open";
    MakeDatabase({{"好", "女子"}});
    EXPECT_EQ(LoadSavedSentence(settings), "拆功，阴阳，请让精神好，骆驼，难捉狗");
    MakeDatabase({{"好", "新"}}, "replacement.dll");
    std::filesystem::rename("replacement.dll", "Zelk.dll");

    EXPECT_EQ(FindEntry(lookup, "好"), "新");
    StoreSavedSentence(settings, "换了文件以后");
    SaveEntry(maintenance, "林", "木木");
    DeleteEntry(maintenance, "好");
    EXPECT_EQ(QueryColumn("select val from sv"), std::vector<std::string>{"换了文件以后"});
    EXPECT_EQ(QueryColumn("select chr1 || chr2 from chr12"), std::vector<std::string>{"林木木"});

    std::filesystem::remove("Zelk.dll");
    MakeDatabase({}, "Zelk.dll");
    StoreSavedSentence(settings, "再换一次");
    EXPECT_EQ(QueryColumn("select val from sv"), std::vector<std::string>{"再换一次"});
}

// The lookup cursor keeps its compiled statement between lookups: it must
// answer for the database as it is now, after a failure, a new file and a
// schema changed by another program.
TEST_F(RecordOperationsTest, KeptStatementFollowsFailuresNewFilesAndSchemaChanges) {
    MakeDatabase({{"好", "女子"}});
    EXPECT_EQ(FindEntry(lookup, "好"), "女子");

    RunSql("alter table chr12 rename to moved");
    EXPECT_THROW(FindEntry(lookup, "好"), EEngineError);
    RunSql("alter table moved rename to chr12");
    EXPECT_EQ(FindEntry(lookup, "好"), "女子");

    // Another program rebuilds the table with its columns in another order
    // and one more: the reused statement reads the new columns by name.
    RunSql(
        "create table t (note text, chr2 text, chr1 text); "
        "insert into t select 'n', '子女', chr1 from chr12; drop table chr12; "
        "alter table t rename to chr12");
    EXPECT_EQ(FindEntry(lookup, "好"), "子女");
    SaveEntry(maintenance, "好", "女子");
    EXPECT_EQ(QueryColumn("select note || chr2 from chr12"), std::vector<std::string>{"n女子"});
    // A view in place of the table: the cursor reads it, and cannot change it.
    RunSql("alter table chr12 rename to entries; create view chr12 as select * from entries");
    EXPECT_EQ(FindEntry(lookup, "好"), "女子");
    EXPECT_THROW(SaveEntry(maintenance, "好", "x"), EDatabaseError);

    if (!platform::OpenFilesCanBeReplaced()) return;  // no file replaced while open
    MakeDatabase({{"好", "新文件"}}, "replacement.dll");
    std::filesystem::rename("replacement.dll", "Zelk.dll");
    EXPECT_EQ(FindEntry(lookup, "好"), "新文件");
    connection.Close();
    EXPECT_EQ(FindEntry(lookup, "好"), "新文件");
}

TEST_F(RecordOperationsTest, EmptyAndNullReplacementCountAsFound) {
    MakeDatabase({{"空", ""}, {"无", std::nullopt}});
    EXPECT_EQ(FindEntry(lookup, "空"), "");
    EXPECT_EQ(FindEntry(lookup, "无"), "");
}

TEST_F(RecordOperationsTest, AsciiLettersCompareWithoutCaseOtherTextExactly) {
    MakeDatabase({{"a", "小"}, {"Ａ", "全"}});
    EXPECT_EQ(FindEntry(lookup, "A"), "小");
    EXPECT_EQ(FindEntry(lookup, "ａ"), std::nullopt);  // fullwidth letters are not folded

    // A save with a key the comparison finds equal rewrites that row's key.
    SaveEntry(maintenance, "A", "大");
    EXPECT_EQ(QueryColumn("select chr1 || '=' || chr2 from chr12 order by rowid"),
              (std::vector<std::string>{"A=大", "Ａ=全"}));
}

TEST_F(RecordOperationsTest, KeysWithQuotesMatchLiterally) {
    MakeDatabase({{"'", "quote"}, {"x", "ex"}, {"' or '1'='1", "tricky"}});
    EXPECT_EQ(FindEntry(lookup, "'"), "quote");
    EXPECT_EQ(FindEntry(lookup, "' or '1'='1"), "tricky");
    EXPECT_EQ(FindEntry(lookup, "' or 1=1 --"), std::nullopt);

    SaveEntry(maintenance, "it's", "s");
    DeleteEntry(maintenance, "' or '1'='1");
    EXPECT_EQ(QueryColumn("select chr1 from chr12 order by rowid"),
              (std::vector<std::string>{"'", "x", "it's"}));
    EXPECT_THROW(DeleteEntry(maintenance, "' or '1'='1"), EDatabaseError);
    EXPECT_EQ(QueryColumn("select count(*) from chr12"), std::vector<std::string>{"3"});
}

TEST_F(RecordOperationsTest, SavedSentenceRoundTrip) {
    MakeDatabase({});
    EXPECT_EQ(LoadSavedSentence(settings), "拆功，阴阳，请让精神好，骆驼，难捉狗");
    StoreSavedSentence(settings, "新的句子");
    EXPECT_EQ(LoadSavedSentence(settings), "新的句子");
    StoreSavedSentence(settings, "");
    EXPECT_EQ(LoadSavedSentence(settings), "");
    EXPECT_EQ(QueryColumn("select count(*) from sv"), std::vector<std::string>{"1"});
}

TEST_F(RecordOperationsTest, NoSavedSentenceRowReadsEmptyAndStoreAddsOneThatIsFoundAgain) {
    MakeDatabase({});
    RunSql("delete from sv");
    EXPECT_EQ(LoadSavedSentence(settings), "");
    StoreSavedSentence(settings, "第一句");
    EXPECT_EQ(QueryColumn("select oid || ':' || val from sv"),
              std::vector<std::string>{"1:第一句"});
    EXPECT_EQ(LoadSavedSentence(settings), "第一句");
    StoreSavedSentence(settings, "第二句");
    EXPECT_EQ(QueryColumn("select val from sv"), std::vector<std::string>{"第二句"});
}

TEST_F(RecordOperationsTest, NullSavedSentenceReadsEmpty) {
    MakeDatabase({});
    RunSql("update sv set val = null");
    EXPECT_EQ(LoadSavedSentence(settings), "");
}

TEST_F(RecordOperationsTest, SeveralSavedSentenceRowsOnlyTheFirstChanges) {
    MakeDatabase({});
    RunSql("insert into sv (oid, val) values (1, 'second')");
    StoreSavedSentence(settings, "changed");
    EXPECT_EQ(QueryColumn("select val from sv order by rowid"),
              (std::vector<std::string>{"changed", "second"}));
}

TEST_F(RecordOperationsTest, EachLookupSeesChangesMadeThroughAnotherCursor) {
    MakeDatabase({{"好", "女子"}});
    EXPECT_EQ(FindEntry(lookup, "好"), "女子");
    SaveEntry(maintenance, "好", "好好");
    EXPECT_EQ(FindEntry(lookup, "好"), "好好");
    DeleteEntry(maintenance, "好");
    EXPECT_EQ(FindEntry(lookup, "好"), std::nullopt);
}

TEST_F(RecordOperationsTest, LongTextsAreStoredWhole) {
    MakeDatabase({});
    std::string sentence;
    for (int i = 0; i < 50000; ++i) sentence += "拆";
    StoreSavedSentence(settings, sentence);
    EXPECT_EQ(LoadSavedSentence(settings), sentence);
}

TEST_F(RecordOperationsTest, ConnectionOpensOnFirstUseAndStaysOpen) {
    MakeDatabase({});
    EXPECT_FALSE(connection.Connected());
    LoadSavedSentence(settings);
    EXPECT_TRUE(connection.Connected());
    FindEntry(lookup, "好");
    EXPECT_TRUE(connection.Connected());
}

}  // namespace
}  // namespace zelk::db
