// Writes that must never land where nobody sees them, nor change rows the
// program did not write: a file replaced under a writer, a file with a schema
// of its own, a statement that never ends, left-overs of killed writers.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "database/DatabaseErrors.h"
#include "DatabaseFixture.h"
#include "database/DictionaryDatabase.h"
#include "database/RecordOperations.h"
#include "database/StepTimeLimit.h"
#include "database/WriteTransaction.h"

namespace zelk::db {
namespace {

using base::DictionaryEntry;

using test::MakeDatabase;
using test::QueryColumn;
using test::RunSql;

template <typename Fn>
std::string ErrorOf(Fn fn) {
    try {
        fn();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "<no error>";
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class WriteSafetyTest : public test::DatabaseFixture {
  protected:
    void SetUp() override {
        MakeDatabase({{"好", "女子"}, {"林", "木木"}});
        MakeDatabase({{"新", "亲斤"}}, "replacement.dll");
    }
    std::vector<std::string> Keys(const std::filesystem::path& path = "Zelk.dll") {
        return QueryColumn("select chr1 from chr12 order by rowid", path);
    }
};

// --- A file replaced while it is written ------------------------------------

TEST_F(WriteSafetyTest, ReplacedFileFailsTheCommitAndKeepsNothing) {
    sqlite3* db = connection.Handle();
    {
        WriteTransaction transaction(db);
        ExecuteSql(db, "insert into chr12 (chr1, chr2) values ('明', '日月')");
        std::filesystem::rename("replacement.dll", "Zelk.dll");
        EXPECT_TRUE(Contains(ErrorOf([&] { transaction.Commit(); }), "moved or replaced"));
    }
    connection.Close();
    EXPECT_EQ(Keys(), std::vector<std::string>{"新"});
}

TEST_F(WriteSafetyTest, MaintenanceSaveAfterReplacementWritesNothingThenUsesTheNewFile) {
    maintenance.SetSQL("select * from chr12 where chr1 = ?", {"好"});
    maintenance.Open();
    maintenance.Edit();
    maintenance.SetFieldAsString("chr2", "子女");
    std::filesystem::rename("replacement.dll", "Zelk.dll");
    EXPECT_TRUE(Contains(ErrorOf([&] { maintenance.Post(); }), "moved or replaced"));
    const std::string error = ErrorOf([&] { SaveEntry(maintenance, "好", "子女"); });
    EXPECT_EQ(error, "<no error>") << "the next try opens the file now there";
    EXPECT_EQ(Keys(), (std::vector<std::string>{"新", "好"}));
}

TEST_F(WriteSafetyTest, NoWriteInsideARunningRead) {
    sqlite3* db = connection.Handle();
    ExecuteSql(db, "begin");
    EXPECT_TRUE(Contains(ErrorOf([&] { WriteTransaction transaction(db); }), "still running"));
    ExecuteSql(db, "rollback");
}

TEST_F(WriteSafetyTest, CreateOverADatabaseBeingWrittenLeavesItAlone) {
    test::ScopedDatabaseLock writer;
    EXPECT_TRUE(Contains(ErrorOf([] { CreateDictionaryDatabase("Zelk.dll", {}, "s", true); }),
                         "being written by another process"));
    writer.Release();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"好", "林"}));
    EXPECT_EQ(CreateDictionaryDatabase("Zelk.dll", {{"a", "b"}, {"A", "c"}}, "s", true), 1u)
        << "the count is of what the file holds";
}

TEST_F(WriteSafetyTest, CreateOverAForeignFileDropsItsJournal) {
    std::ofstream("Zelk.dll", std::ios::trunc) << std::string(4096, 'x');
    std::ofstream("Zelk.dll-journal") << std::string(4096, 'y');
    CreateDictionaryDatabase("Zelk.dll", {{"好", "女子"}}, "s", true);
    EXPECT_FALSE(std::filesystem::exists("Zelk.dll-journal"));
    EXPECT_EQ(Keys(), std::vector<std::string>{"好"});
}

// --- Files with a schema of their own ---------------------------------------

TEST_F(WriteSafetyTest, TriggersOfTheFileDoNotRun) {
    RunSql(
        "create trigger wipe_on_save after update on sv begin delete from chr12; end;"
        "create trigger wipe_on_insert after insert on chr12 begin "
        "  delete from chr12 where rowid <> new.rowid; end;");
    StoreSavedSentence(settings, "edited");
    SaveEntry(maintenance, "明", "日月");
    const base::ImportSummary summary =
        ImportDictionary(connection, {{"一", "一"}}, base::MergePolicy::KeepExisting);
    EXPECT_EQ(summary.added, 1u);
    connection.Close();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"好", "林", "明", "一"}));
}

TEST_F(WriteSafetyTest, AConflictClauseThatDeletesRowsFailsTheWrite) {
    RunSql(
        "drop table chr12;"
        "create table chr12 (chr1 text collate nocase, chr2 text unique on conflict replace);"
        "insert into chr12 values ('好', '女子'), ('林', '木木');");
    const std::string error = ErrorOf([&] { SaveEntry(maintenance, "妤", "女子"); });
    EXPECT_TRUE(Contains(error, "changed other rows of chr12")) << error;
    EXPECT_TRUE(
        Contains(ErrorOf([&] {
                     ImportDictionary(connection, {{"妤", "女子"}}, base::MergePolicy::KeepExisting);
                 }),
                 "(2 rows instead of 3 rows)"));  // one added, one replaced away
    connection.Close();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"好", "林"}));
}

// --- Statements that never end ----------------------------------------------

class SlowViewTest : public WriteSafetyTest {
  protected:
    void SetUp() override {
        WriteSafetyTest::SetUp();
        RunSql(
            "drop table chr12;"
            "create view chr12 as with recursive r(n) as (select 1 union all select n + 1 from r)"
            " select cast(n as text) as chr1, 'y' as chr2 from r where n < 0;");
        SetStepTimeLimit(std::chrono::milliseconds(300));
    }
    void TearDown() override { SetStepTimeLimit(kDefaultStepTimeLimit); }
};

TEST_F(SlowViewTest, ALookupIsStoppedWithAMessage) {
    const auto start = std::chrono::steady_clock::now();
    const std::string error = ErrorOf([&] { FindEntry(lookup, "好"); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(Contains(error, "gave no answer within 0.3 seconds")) << error;
    EXPECT_EQ(LoadSavedSentence(settings), std::string(kInitialSentence))
        << "the connection stays usable";
}

TEST_F(SlowViewTest, ManyShortStepsAreNotStopped) {
    std::vector<DictionaryEntry> entries;
    for (int i = 0; i < 200000; ++i) entries.push_back({"k" + std::to_string(i), "v"});
    MakeDatabase(entries, "big.dll");
    TADOConnection big(BuildConnectionString("big.dll"));
    EXPECT_EQ(ExportDictionary(big).size(), entries.size());
}

// --- Left-overs of writers that were killed ---------------------------------

TEST(TemporaryFilesTest, CreateRemovesLeftOversOfEndedProcessesOnly) {
    test::ScopedWorkDir dir;
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    const std::string dead = "Zelk.dll.new-" + std::to_string(child) + "-17";
    const std::string alive = "Zelk.dll.new-" + std::to_string(getppid()) + "-18";
    for (const std::string& name : {dead, dead + "-journal", alive, std::string("Zelk.dll.new-x")})
        std::ofstream(name) << "left";
    CreateDictionaryDatabase("Zelk.dll", {}, "s", false);
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_FALSE(std::filesystem::exists(dead + "-journal"));
    EXPECT_TRUE(std::filesystem::exists(alive));
    EXPECT_TRUE(std::filesystem::exists("Zelk.dll.new-x"));
}

}  // namespace
}  // namespace zelk::db
