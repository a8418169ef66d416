// The dictionary built into the programs: what a new database holds and splits.
#include <gtest/gtest.h>

#include <set>

#include "TestDatabase.h"
#include "base/CodePage.h"
#include "builtin/DefaultDictionary.h"
#include "database/AdoQuery.h"
#include "database/DictionaryDatabase.h"
#include "database/RecordOperations.h"
#include "lookup/DatabasePieces.h"
#include "text/DictionaryTsv.h"

namespace zelk::builtin {
namespace {

using base::DictionaryEntry;

TEST(DefaultDictionaryTest, ComprehensiveAndWithinGbk) {
    const std::vector<DictionaryEntry> generated =
        text::ParseDictionaryTsv(GeneratedDictionaryTsv(), "generated");
    EXPECT_GT(generated.size(), 13500u);
    EXPECT_LT(generated.size(), 13700u);
    std::set<std::string> keys;
    for (const DictionaryEntry& entry : generated) {
        const std::u16string key = base::AnsiToUtf16(entry.key);
        const std::u16string parts = base::AnsiToUtf16(entry.replacement.value_or(""));
        EXPECT_EQ(key.size(), 1u) << entry.key;
        EXPECT_TRUE(parts.size() == 2 || parts.size() == 3) << entry.key;
        const std::string gbk = base::Utf16ToAnsi(key + parts, base::kCodePageGbk);
        EXPECT_EQ(gbk.find('?'), std::string::npos) << entry.key << " outside code page 936";
        EXPECT_TRUE(keys.insert(entry.key).second) << entry.key << " twice";
    }
}

TEST(DefaultDictionaryTest, SupplementIsSeparateAndAddsCommonCharacters) {
    const auto supplement = text::ParseDictionaryTsv(SupplementDictionaryTsv(), "supplement");
    EXPECT_FALSE(supplement.empty());
    EXPECT_EQ(supplement.front(), (DictionaryEntry{"能", "厶月匕匕"}));
    EXPECT_EQ(DefaultDictionaryEntries().size(),
              text::ParseDictionaryTsv(GeneratedDictionaryTsv(), "g").size() + supplement.size());
}

TEST(DefaultDictionaryTest, NewDatabaseSplitsTheInitialSentence) {
    test::ScopedWorkDir dir;
    db::CreateDictionaryDatabase("Zelk.dll", DefaultDictionaryEntries(), db::kInitialSentence,
                                 false);
    db::TADOConnection connection;
    db::TADOQuery settings("ADOQueryInit", connection);
    db::TADOQuery lookup("ADOQuery1", connection);
    const std::string sentence = db::LoadSavedSentence(settings);
    EXPECT_EQ(sentence, "拆功，阴阳，请让精神好，骆驼，难捉狗");
    std::u16string result;
    lookup::DatabasePieces pieces(lookup);
    text::SplitSentence(base::AnsiToUtf16(sentence), pieces,
                        [&](std::u16string_view, std::u16string_view piece) { result += piece; });
    EXPECT_EQ(base::Utf16ToAnsi(result),
              "扌斥工力，阝月阝日，讠青讠上米青礻申女子，马各马它，又隹扌足犭句");
    EXPECT_EQ(db::FindEntry(lookup, "能"), "厶月匕匕");
    EXPECT_EQ(db::FindEntry(lookup, "林"), "木木");
}

}  // namespace
}  // namespace zelk::builtin
