#include <gtest/gtest.h>

#include "text/PartFinder.h"

namespace zelk::text {
namespace {

using base::DictionaryEntry;

const std::vector<DictionaryEntry> kEntries = {
    {"林", "木木"},       {"村", "木寸"},       {"桠", "木亚"}, {"好", "女子"},
    {"孬", "不好"},       {"森", "木木木"},     {"材", "木才"}, {"材", "木才?"},
    {"木木", "two keys"}, {"无", std::nullopt}, {"𣏾", "木木"}};

std::string Keys(const std::vector<DictionaryEntry>& found) {
    std::string keys;
    for (const DictionaryEntry& entry : found) keys += entry.key + " ";
    return keys;
}

TEST(PartFinderTest, OnePartCommonCharactersFirst) {
    // 村 林 材 材 (GB2312 level 1, by pinyin), 桠 (level 2), then 𣏾 (outside GBK);
    // "木木" is no single character, 无 has no replacement.
    EXPECT_EQ(Keys(FindByParts(kEntries, {"木"}, false)), "材 材 村 林 森 桠 𣏾 ");
}

TEST(PartFinderTest, RanksInRunningTextComeFirst) {
    const CharacterRanks ranks("林\n的\n森\n村\n");
    EXPECT_EQ(ranks.RankOf(U'林'), 1u);
    EXPECT_EQ(ranks.RankOf(U'村'), 4u);
    EXPECT_EQ(ranks.RankOf(U'桠'), std::nullopt);
    EXPECT_EQ(Keys(FindByParts(kEntries, {"木"}, false, &ranks)), "林 森 村 材 材 桠 𣏾 ");
}

TEST(PartFinderTest, EveryPartAsOftenAsGiven) {
    EXPECT_EQ(Keys(FindByParts(kEntries, {"女", "子"}, false)), "好 ");
    EXPECT_EQ(Keys(FindByParts(kEntries, {"木", "木"}, false)), "林 森 𣏾 ");
    EXPECT_EQ(Keys(FindByParts(kEntries, {"木", "木", "木"}, false)), "森 ");
    EXPECT_EQ(Keys(FindByParts(kEntries, {"子", "女"}, false)), "好 ");
}

TEST(PartFinderTest, ExactIsThePartsInOrderAndNothingElse) {
    EXPECT_EQ(Keys(FindByParts(kEntries, {"木", "木"}, true)), "林 𣏾 ");
    EXPECT_EQ(Keys(FindByParts(kEntries, {"子", "女"}, true)), "");
    EXPECT_EQ(Keys(FindByParts(kEntries, {"木才"}, true)), "材 ");
}

TEST(PartFinderTest, PartWithNoCharacterFindsNothing) {
    EXPECT_TRUE(FindByParts(kEntries, {"龘"}, false).empty());
}

TEST(PartFinderTest, CommonnessGroups) {
    EXPECT_EQ(CommonnessGroup(u"的"), 1);
    EXPECT_EQ(CommonnessGroup(u"桠"), 2);
    EXPECT_EQ(CommonnessGroup(u"丂"), 3);
    EXPECT_EQ(CommonnessGroup(u"𣏾"), 4);
    EXPECT_EQ(CommonnessGroup(u"a"), 4);
}

}  // namespace
}  // namespace zelk::text
