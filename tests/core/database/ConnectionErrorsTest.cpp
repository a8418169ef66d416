#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DatabaseFixture.h"
#include "database/AdoQuery.h"
#include "database/DatabaseErrors.h"
#include "database/DictionaryDatabase.h"
#include "database/ReadTransaction.h"
#include "database/RecordOperations.h"

namespace zelk::db {
namespace {

using base::DictionaryEntry;

using test::MakeDatabase;
using test::QueryColumn;
using test::RunSql;

class ConnectionErrorsTest : public test::DatabaseFixture {
  protected:
    // The text of the error that fn raises, or "<no error>".
    template <typename Fn>
    static std::string ErrorOf(Fn fn) {
        try {
            fn();
        } catch (const std::exception& error) {
            return error.what();
        }
        return "<no error>";
    }

    // Enough entries to fill many pages.
    static std::vector<DictionaryEntry> DefaultTestEntries(int count) {
        std::vector<DictionaryEntry> entries;
        for (int i = 0; i < count; ++i) {
            entries.push_back({"k" + std::to_string(i), std::string(20, 'x')});
        }
        entries.push_back({"好", "女子"});
        return entries;
    }

    std::string FullPath() const { return (dir.path() / "Zelk.dll").lexically_normal().string(); }
};

TEST_F(ConnectionErrorsTest, MissingFileNamesItsFullPathUntilTheFileAppears) {
    const std::string expected = "Could not find file '" + FullPath() + "'.";
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }), expected);
    EXPECT_EQ(ErrorOf([&] { FindEntry(lookup, "好"); }), expected);
    EXPECT_EQ(ErrorOf([&] { SaveEntry(maintenance, "好", "女子"); }), expected);
    EXPECT_FALSE(connection.Connected());
    EXPECT_FALSE(std::filesystem::exists("Zelk.dll")) << "the program must never create it";

    MakeDatabase({{"好", "女子"}});
    EXPECT_EQ(FindEntry(lookup, "好"), "女子");
    EXPECT_TRUE(connection.Connected());
}

TEST_F(ConnectionErrorsTest, WrongPasswordSaysSo) {
    test::RunSql("create table chr12 (chr1, chr2); create table sv (oid, val);", "Zelk.dll",
                 "another password");
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }),
              "Not a valid password for the database '" + FullPath() + "'.");
    EXPECT_FALSE(connection.Connected());
}

TEST_F(ConnectionErrorsTest, UnencryptedDatabaseIsAWrongPassword) {
    test::RunSql("create table chr12 (chr1, chr2); create table sv (oid, val);", "Zelk.dll", "");
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }),
              "Not a valid password: the database '" + FullPath() +
                  "' is not protected with the program's password.");
}

TEST_F(ConnectionErrorsTest, FileThatIsNoDatabaseSaysSo) {
    std::ofstream("Zelk.dll") << "MZ this is a real library, not a database\n";
    const std::string expected = "Unrecognized database format '" + FullPath() + "'.";
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }), expected);

    std::ofstream("Zelk.dll", std::ios::trunc).close();  // an empty file is no database either
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }), expected);
    EXPECT_EQ(std::filesystem::file_size("Zelk.dll"), 0u) << "nothing may be written into it";
}

TEST_F(ConnectionErrorsTest, FolderInPlaceOfTheFile) {
    std::filesystem::create_directory("Zelk.dll");
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }),
              "'" + FullPath() + "' is a folder, not a database file.");
}

TEST_F(ConnectionErrorsTest, MissingTableOrKeyColumnGivesTheEngineText) {
    MakeDatabase({});
    RunSql("drop table chr12");
    EXPECT_EQ(ErrorOf([&] { FindEntry(lookup, "好"); }), "no such table: chr12");
    EXPECT_FALSE(lookup.Active());  // a failed open leaves the cursor closed

    RunSql("create table chr12 (key text, chr2 text)");
    EXPECT_EQ(ErrorOf([&] { FindEntry(lookup, "好"); }), "no such column: chr1");
    RunSql("drop table sv");
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }), "no such table: sv");
}

TEST_F(ConnectionErrorsTest, MissingReadOrWrittenColumnIsFieldNotFound) {
    MakeDatabase({});
    RunSql(
        "drop table chr12; create table chr12 (chr1 text, other text);"
        "insert into chr12 values ('好', 'x');");
    EXPECT_EQ(ErrorOf([&] { FindEntry(lookup, "好"); }), "ADOQuery1: Field 'chr2' not found");
    EXPECT_EQ(FindEntry(lookup, "坏"), std::nullopt);  // nothing is read without a row
    EXPECT_EQ(ErrorOf([&] { SaveEntry(maintenance, "坏", "土不"); }),
              "ADOQuery2: Field 'chr2' not found");
    EXPECT_EQ(QueryColumn("select count(*) from chr12"), std::vector<std::string>{"1"});

    RunSql("drop table sv; create table sv (oid integer, value text)");
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }), "ADOQueryInit: Field 'val' not found");
    EXPECT_EQ(ErrorOf([&] { StoreSavedSentence(settings, "x"); }),
              "ADOQueryInit: Field 'val' not found");
}

TEST_F(ConnectionErrorsTest, ResultThatCannotBeChangedIsReadOnly) {
    MakeDatabase({});
    RunSql(
        "drop table sv; create table sv_data (oid integer default 1, val text);"
        "create view sv as select * from sv_data;");
    EXPECT_EQ(LoadSavedSentence(settings), "");
    EXPECT_EQ(ErrorOf([&] { StoreSavedSentence(settings, "x"); }),
              "ADOQueryInit: Cannot modify a read-only dataset");
}

TEST_F(ConnectionErrorsTest, ReadOnlyDatabaseRefusesEveryChangeAndKeepsItsData) {
    MakeDatabase({{"好", "女子"}});
    FindEntry(lookup, "好");
    ASSERT_EQ(sqlite3_exec(connection.Handle(), "pragma query_only = 1", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::string expected = "Cannot update. Database or object is read-only.";
    EXPECT_EQ(ErrorOf([&] { SaveEntry(maintenance, "好", "子女"); }), expected);
    EXPECT_EQ(maintenance.GetState(), TADOQuery::State::Edit);  // the change stays unfinished
    EXPECT_EQ(ErrorOf([&] { SaveEntry(maintenance, "新", "亲斤"); }), expected);
    EXPECT_EQ(ErrorOf([&] { DeleteEntry(maintenance, "好"); }), expected);
    EXPECT_EQ(ErrorOf([&] { StoreSavedSentence(settings, "x"); }), expected);
    EXPECT_EQ(FindEntry(lookup, "好"), "女子");
    EXPECT_EQ(LoadSavedSentence(settings), std::string(kInitialSentence));
}

TEST_F(ConnectionErrorsTest, WriteProtectedFileRefusesChanges) {
    MakeDatabase({{"好", "女子"}});
    std::filesystem::permissions("Zelk.dll", std::filesystem::perms::owner_read);
    if (std::ofstream("Zelk.dll", std::ios::binary | std::ios::app))
        GTEST_SKIP() << "file permissions do not bind this user (root)";
    EXPECT_EQ(FindEntry(lookup, "好"), "女子");
    EXPECT_EQ(ErrorOf([&] { SaveEntry(maintenance, "好", "子女"); }),
              "Cannot update. Database or object is read-only.");
}

TEST_F(ConnectionErrorsTest, FileLockedAtOpenNamesItsPathOnce) {
    MakeDatabase({});
    test::ScopedDatabaseLock lock;
    EXPECT_EQ(ErrorOf([&] { LoadSavedSentence(settings); }),
              "The database file '" + FullPath() + "' is in use by another process.");
}

TEST_F(ConnectionErrorsTest, DamagedPageSaysSoOnEveryPath) {
    MakeDatabase(DefaultTestEntries(2000));
    {
        // Past the first page, so that the file still opens.
        std::fstream file("Zelk.dll", std::ios::in | std::ios::out | std::ios::binary);
        const auto size = std::filesystem::file_size("Zelk.dll");
        for (std::uintmax_t page = 2; page < size / 1024; ++page) {
            file.seekp(static_cast<std::streamoff>(page * 1024 + 100));
            file << std::string(50, '\0');
        }
    }
    const std::string expected = "The database file '" + FullPath() +
                                 "' is damaged (database disk image is malformed); restore it "
                                 "from a backup.";
    EXPECT_EQ(ErrorOf([&] { FindEntry(lookup, "好"); }), expected);
    EXPECT_EQ(ErrorOf([&] {
                  ReadTransaction split(connection);  // as a split reads
                  split.Begin();
                  FindEntry(lookup, "好");
              }),
              expected);
}

TEST_F(ConnectionErrorsTest, RowDeletedBehindTheCursorIsReported) {
    MakeDatabase({{"好", "女子"}});
    FindEntry(maintenance, "好");
    maintenance.Edit();
    RunSql("delete from chr12");
    maintenance.SetFieldAsString("chr2", "x");
    EXPECT_NE(ErrorOf([&] { maintenance.Post(); }).find("Row cannot be located"),
              std::string::npos);
}

}  // namespace
}  // namespace zelk::db
