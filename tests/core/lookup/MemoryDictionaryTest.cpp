// The dictionary in memory against the database it stands in for: the same
// rows after the same merges, and the same lookups.
#include <gtest/gtest.h>

#include "TestDatabase.h"
#include "base/Unicode.h"
#include "database/DictionaryDatabase.h"
#include "lookup/DatabasePieces.h"
#include "text/MemoryDictionary.h"

namespace zelk::lookup {
namespace {

using base::DictionaryEntry;
using base::MergePolicy;
using text::MemoryDictionary;

const std::vector<DictionaryEntry> kBase = {
    {"好", "女子"}, {"Q", "[Q]"}, {"林", std::nullopt}, {"请", "讠青"}, {"好", "子女"}};
const std::vector<DictionaryEntry> kAdded = {
    {"q", "[q]"}, {"明", "日月"}, {"林", "木木"}, {"明", "日 月"}, {"ab", "长键"}};

TEST(MemoryDictionaryTest, MergesAsTheDatabaseImports) {
    for (const MergePolicy policy :
         {MergePolicy::KeepExisting, MergePolicy::ReplaceKeys, MergePolicy::ReplaceAll}) {
        test::ScopedWorkDir dir;
        db::CreateDictionaryDatabase("Zelk.dll", kBase, "s", false);
        db::TADOConnection connection;
        db::ImportDictionary(connection, kAdded, policy);
        MemoryDictionary memory;
        memory.Merge(kBase, MergePolicy::ReplaceKeys);
        memory.Merge(kAdded, policy);
        EXPECT_EQ(memory.Entries(), db::ExportDictionary(connection));

        db::TADOQuery lookup("ADOQuery1", connection);
        for (char32_t c : {U'好', U'q', U'Q', U'林', U'明', U'无', U'a'}) {
            const std::u16string character = base::CodePointToUtf16(c);
            EXPECT_EQ(memory.PieceOf(character), LookupChar(lookup, character))
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
}  // namespace zelk::lookup
