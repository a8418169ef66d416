#include <gtest/gtest.h>

#include "database/AdoQuery.h"
#include "base/CodePage.h"
#include "database/DatabaseErrors.h"
#include "database/DictionaryDatabase.h"
#include "TestDatabase.h"

namespace zelk::db {
namespace {

using base::AnsiToUtf16;
using base::Utf16ToAnsi;
using base::kCodePageGbk;

using test::QueryColumn;
using test::RunSql;

class AdoQueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakeDatabase({{"甲", "一"}, {"乙", "二"}, {"丙", std::nullopt}});
    }
    void OpenAll() {
        query.SetSQL("select * from chr12");
        query.Open();
    }
    test::ScopedWorkDir dir;
    TADOConnection connection;
    TADOQuery query{"Q", connection};
};

TEST_F(AdoQueryTest, ClosedCursorRefusesWork) {
    EXPECT_FALSE(query.Active());
    EXPECT_THROW(query.RecordCount(), EDatabaseError);
    EXPECT_THROW(query.Edit(), EDatabaseError);
    try {
        query.Delete();
        ADD_FAILURE() << "Delete on a closed cursor raised nothing";
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Q: Cannot perform this operation on a closed dataset");
    }
    query.Close();  // nothing on a closed cursor
}

TEST_F(AdoQueryTest, OpenFetchesEverythingFirstRowCurrent) {
    OpenAll();
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_EQ(query.FieldAsString("chr1"), "甲");
    EXPECT_EQ(query.FieldAsString("CHR2"), "一");  // names compare without case
    EXPECT_THROW(query.FieldAsString("chr3"), EDatabaseError);
}

TEST_F(AdoQueryTest, EmptyResultReadsEmptyText) {
    query.SetSQL("select * from chr12 where chr1 = ?", {"无"});
    query.Open();
    EXPECT_EQ(query.RecordCount(), 0);
    EXPECT_EQ(query.FieldAsString("chr2"), "");
    EXPECT_TRUE(query.FieldIsNull("chr2"));
}

TEST_F(AdoQueryTest, SettingAColumnOutsideAChangeFails) {
    OpenAll();
    try {
        query.SetFieldAsString("chr2", "x");
        FAIL();
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Q: Dataset not in edit or insert mode");
    }
    EXPECT_THROW(query.Post(), EDatabaseError);
}

TEST_F(AdoQueryTest, EditOnEmptyResultAppendsAndNewRowGetsTheEngineDefaults) {
    query.SetSQL("select * from sv where oid = 2");
    query.Open();
    query.Edit();
    EXPECT_EQ(query.GetState(), TADOQuery::State::Insert);
    query.SetFieldAsString("val", "v");
    query.Post();
    EXPECT_EQ(query.GetState(), TADOQuery::State::Browse);
    EXPECT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.FieldAsString("oid"), "1");  // the column's default, read back
    EXPECT_EQ(QueryColumn("select val from sv order by rowid"),
              (std::vector<std::string>{std::string(kInitialSentence), "v"}));
}

TEST_F(AdoQueryTest, CloseDropsAnUnfinishedChange) {
    OpenAll();
    query.Edit();
    query.SetFieldAsString("chr2", "changed");
    EXPECT_EQ(query.FieldAsString("chr2"), "changed");
    query.Close();
    OpenAll();
    EXPECT_EQ(query.FieldAsString("chr2"), "一");
}

TEST_F(AdoQueryTest, PostWritesOnlyTheColumnsSet) {
    OpenAll();
    RunSql("update chr12 set chr1 = '丁' where chr1 = '甲'");  // behind the cursor's back
    query.Edit();
    query.SetFieldAsString("chr2", "十");
    query.Post();
    EXPECT_EQ(QueryColumn("select chr1 || chr2 from chr12 order by rowid")[0], "丁十");
}

TEST_F(AdoQueryTest, DeleteRemovesTheCurrentRowAndMovesOn) {
    OpenAll();
    query.Delete();
    EXPECT_EQ(query.RecordCount(), 2);
    EXPECT_EQ(query.FieldAsString("chr1"), "乙");
    EXPECT_EQ(QueryColumn("select chr1 from chr12 order by rowid"),
              (std::vector<std::string>{"乙", "丙"}));
}

TEST_F(AdoQueryTest, JoinedResultIsReadOnly) {
    query.SetSQL("select a.chr1, b.val from chr12 a, sv b");
    query.Open();
    EXPECT_TRUE(query.ReadOnly());
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_THROW(query.Edit(), EDatabaseError);
    EXPECT_THROW(query.Delete(), EDatabaseError);
}

TEST_F(AdoQueryTest, TextsCrossInTheWindowCodePage) {
    RunSql("insert into chr12 values ('吉', '𠮷士口'), ('欧', '€')");
    TADOConnection gbk(BuildConnectionString(), kCodePageGbk);
    TADOQuery cursor("Q", gbk);
    const std::string key = Utf16ToAnsi(u"吉", kCodePageGbk);
    cursor.SetSQL("select * from chr12 where chr1 = ?", {key});
    cursor.Open();
    ASSERT_EQ(cursor.RecordCount(), 1);
    EXPECT_EQ(AnsiToUtf16(cursor.FieldAsString("chr2"), kCodePageGbk), u"?士口");

    cursor.Edit();
    cursor.SetFieldAsString("chr2", Utf16ToAnsi(u"士口€", kCodePageGbk));
    cursor.Post();
    EXPECT_EQ(QueryColumn("select chr2 from chr12 where chr1 = '吉'"),
              std::vector<std::string>{"士口€"});
}

}  // namespace
}  // namespace zelk::db
