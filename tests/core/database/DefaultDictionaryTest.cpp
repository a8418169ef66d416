#include <gtest/gtest.h>

#include <set>

#include "AdoQuery.h"
#include "CodePage.h"
#include "DefaultDictionary.h"
#include "DictionaryDatabase.h"
#include "DictionaryLookup.h"
#include "RecordOperations.h"
#include "TestDatabase.h"

namespace zelk {
namespace {

TEST(DefaultDictionaryTest, ComprehensiveAndWithinGbk) {
    const std::vector<DictionaryEntry> generated =
        ParseDictionaryTsv(GeneratedDictionaryTsv(), "generated");
    EXPECT_GT(generated.size(), 13500u);
    EXPECT_LT(generated.size(), 13700u);
    std::set<std::string> keys;
    for (const DictionaryEntry& entry : generated) {
        const std::u16string key = AnsiToUtf16(entry.key);
        const std::u16string parts = AnsiToUtf16(entry.replacement.value_or(""));
        EXPECT_EQ(key.size(), 1u) << entry.key;
        EXPECT_TRUE(parts.size() == 2 || parts.size() == 3) << entry.key;
        const std::string gbk = Utf16ToAnsi(key + parts, kCodePageGbk);
        EXPECT_EQ(gbk.find('?'), std::string::npos) << entry.key << " outside code page 936";
        EXPECT_TRUE(keys.insert(entry.key).second) << entry.key << " twice";
    }
}

TEST(DefaultDictionaryTest, SupplementIsSeparateAndAddsCommonCharacters) {
    const auto supplement = ParseDictionaryTsv(SupplementDictionaryTsv(), "supplement");
    EXPECT_FALSE(supplement.empty());
    EXPECT_EQ(supplement.front(), (DictionaryEntry{"能", "厶月匕匕"}));
    EXPECT_EQ(DefaultDictionaryEntries().size(),
              ParseDictionaryTsv(GeneratedDictionaryTsv(), "g").size() + supplement.size());
}

TEST(DefaultDictionaryTest, NewDatabaseSplitsTheInitialSentence) {
    test::ScopedWorkDir dir;
    CreateDictionaryDatabase("Zelk.dll", DefaultDictionaryEntries(), kInitialSentence, false);
    TADOConnection connection;
    TADOQuery settings("ADOQueryInit", connection);
    TADOQuery lookup("ADOQuery1", connection);
    const std::string sentence = LoadSavedSentence(settings);
    EXPECT_EQ(sentence, "拆功，阴阳，请让精神好，骆驼，难捉狗");
    std::u16string result;
    SplitWithDictionary(lookup, AnsiToUtf16(sentence),
                        [&](std::u16string_view piece) { result += piece; });
    EXPECT_EQ(Utf16ToAnsi(result),
              "扌斥工力，阝月阝日，讠青讠上米青礻申女子，马各马它，又隹扌足犭句");
    EXPECT_EQ(FindEntry(lookup, "能"), "厶月匕匕");
    EXPECT_EQ(FindEntry(lookup, "林"), "木木");
}

TEST(DefaultDictionaryTest, CreateRefusesToOverwriteUnlessAsked) {
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

TEST(DefaultDictionaryTest, ImportMergesOrReplacesAndExportReadsBack) {
    test::ScopedWorkDir dir;
    CreateDictionaryDatabase("Zelk.dll", {{"好", "女子"}, {"林", "木木"}}, "s", false);
    TADOConnection connection;
    const ImportSummary merged = ImportDictionary(
        connection, {{"好", "子女"}, {"明", "日月"}, {"明", "日 月"}}, ImportMode::ReplaceKeys);
    EXPECT_EQ(merged.added, 1u);
    EXPECT_EQ(merged.changed, 1u);
    EXPECT_EQ(merged.repeated, 1u);  // the second 明 replaces the import's own first
    EXPECT_EQ(ExportDictionary(connection),
              (std::vector<DictionaryEntry>{{"好", "子女"}, {"林", "木木"}, {"明", "日 月"}}));
    ImportDictionary(connection, {{"一", std::nullopt}}, ImportMode::ReplaceAll);
    EXPECT_EQ(ExportDictionary(connection), (std::vector<DictionaryEntry>{{"一", std::nullopt}}));
}

TEST(DefaultDictionaryTest, ImportThatKeepsExistingKeysAddsOnlyNewOnes) {
    test::ScopedWorkDir dir;
    CreateDictionaryDatabase("Zelk.dll", {{"好", "user's own"}, {"林", "木木"}}, "s", false);
    TADOConnection connection;
    // Keys compare as the column does: Q is the import's own q.
    const ImportSummary summary = ImportDictionary(
        connection,
        {{"好", "女子"}, {"明", "日月"}, {"明", "日 月"}, {"林", "x"}, {"q", "1"}, {"Q", "2"}},
        ImportMode::KeepExisting);
    EXPECT_EQ(summary.added, 2u);
    EXPECT_EQ(summary.changed, 0u);
    EXPECT_EQ(summary.repeated, 2u);
    EXPECT_EQ(summary.kept, 2u);
    EXPECT_EQ(ExportDictionary(connection),
              (std::vector<DictionaryEntry>{
                  {"好", "user's own"}, {"林", "木木"}, {"明", "日 月"}, {"Q", "2"}}));
}

}  // namespace
}  // namespace zelk
