#include <gtest/gtest.h>

#include "TestDatabase.h"
#include "database/AdoQuery.h"
#include "database/DictionaryDatabase.h"
#include "database/RecordOperations.h"

namespace zelk::db {
namespace {

using base::DictionaryEntry;
using base::MergePolicy;

TEST(DictionaryDatabaseTest, CreateRefusesToOverwriteUnlessAsked) {
    test::ScopedWorkDir dir;
    CreateDictionaryDatabase("Zelk.dll", {{"好", "女子"}}, "first", false);
    EXPECT_THROW(CreateDictionaryDatabase("Zelk.dll", {}, "second", false), std::runtime_error);
    TADOConnection connection;
    TADOQuery settings("ADOQueryInit", connection);
    EXPECT_EQ(LoadSavedSentence(settings), "first");
    connection.Close();
    CreateDictionaryDatabase("Zelk.dll", {}, "second", true);
    EXPECT_EQ(LoadSavedSentence(settings), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file may be left behind";
}

TEST(DictionaryDatabaseTest, ImportMergesOrReplacesAndExportReadsBack) {
    test::ScopedWorkDir dir;
    CreateDictionaryDatabase("Zelk.dll", {{"好", "女子"}, {"林", "木木"}}, "s", false);
    TADOConnection connection;
    const base::ImportSummary merged = ImportDictionary(
        connection, {{"好", "子女"}, {"明", "日月"}, {"明", "日 月"}}, MergePolicy::ReplaceKeys);
    EXPECT_EQ(merged.added, 1u);
    EXPECT_EQ(merged.changed, 1u);
    EXPECT_EQ(merged.repeated, 1u);  // the second 明 replaces the import's own first
    EXPECT_EQ(ExportDictionary(connection),
              (std::vector<DictionaryEntry>{{"好", "子女"}, {"林", "木木"}, {"明", "日 月"}}));
    ImportDictionary(connection, {{"一", std::nullopt}}, MergePolicy::ReplaceAll);
    EXPECT_EQ(ExportDictionary(connection), (std::vector<DictionaryEntry>{{"一", std::nullopt}}));
}

TEST(DictionaryDatabaseTest, ImportThatKeepsExistingKeysAddsOnlyNewOnes) {
    test::ScopedWorkDir dir;
    CreateDictionaryDatabase("Zelk.dll", {{"好", "user's own"}, {"林", "木木"}}, "s", false);
    TADOConnection connection;
    // Keys compare as the column does: Q is the import's own q.
    const base::ImportSummary summary = ImportDictionary(
        connection,
        {{"好", "女子"}, {"明", "日月"}, {"明", "日 月"}, {"林", "x"}, {"q", "1"}, {"Q", "2"}},
        MergePolicy::KeepExisting);
    EXPECT_EQ(summary.added, 2u);
    EXPECT_EQ(summary.changed, 0u);
    EXPECT_EQ(summary.repeated, 2u);
    EXPECT_EQ(summary.kept, 2u);
    EXPECT_EQ(ExportDictionary(connection),
              (std::vector<DictionaryEntry>{
                  {"好", "user's own"}, {"林", "木木"}, {"明", "日 月"}, {"Q", "2"}}));
}

}  // namespace
}  // namespace zelk::db
