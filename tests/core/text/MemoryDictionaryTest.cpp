// The dictionary in memory against the database it stands in for: the same
// rows after the same merges, and the same lookups.
#include <gtest/gtest.h>

#include "DictionaryDatabase.h"
#include "DictionaryLookup.h"
#include "MemoryDictionary.h"
#include "TestDatabase.h"

namespace zelk {
namespace {

const std::vector<DictionaryEntry> kBase = {
    {"好", "女子"}, {"Q", "[Q]"}, {"林", std::nullopt}, {"请", "讠青"}, {"好", "子女"}};
const std::vector<DictionaryEntry> kAdded = {
    {"q", "[q]"}, {"明", "日月"}, {"林", "木木"}, {"明", "日 月"}, {"ab", "长键"}};

TEST(MemoryDictionaryTest, MergesAsTheDatabaseImports) {
    for (const auto& [memoryMode, databaseMode] :
         {std::pair{MemoryDictionary::Merge::KeepExisting, ImportMode::KeepExisting},
          std::pair{MemoryDictionary::Merge::ReplaceKeys, ImportMode::ReplaceKeys}}) {
        test::ScopedWorkDir dir;
        CreateDictionaryDatabase("Zelk.dll", kBase, "s", false);
        TADOConnection connection;
        ImportDictionary(connection, kAdded, databaseMode);
        MemoryDictionary memory;
        memory.Merge(kBase, MemoryDictionary::Merge::ReplaceKeys);
        memory.Merge(kAdded, memoryMode);
        EXPECT_EQ(memory.Entries(), ExportDictionary(connection));

        TADOQuery lookup("ADOQuery1", connection);
        for (char32_t c : {U'好', U'q', U'Q', U'林', U'明', U'无', U'a'}) {
            const std::u16string character = CodePointToUtf16(c);
            const std::u16string* piece = memory.PieceOf(c);
            EXPECT_EQ(piece ? *piece : character, LookupChar(lookup, character))
                << static_cast<unsigned>(c);
        }
        ASSERT_NE(memory.Find("AB"), nullptr);
        EXPECT_EQ(memory.Find("AB")->replacement, "长键");
        EXPECT_EQ(memory.Find("无"), nullptr);
    }
}

TEST(MemoryDictionaryTest, KeysCompareAsTheKeyColumn) {
    EXPECT_TRUE(MemoryDictionary::SameKey("Abc", "aBC"));
    EXPECT_FALSE(MemoryDictionary::SameKey("Ä", "ä"));  // ASCII letters alone, as the engine
    EXPECT_FALSE(MemoryDictionary::SameKey("好", "好 "));
}

}  // namespace
}  // namespace zelk
