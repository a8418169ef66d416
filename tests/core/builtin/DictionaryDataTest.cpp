// Checks over the shipped dictionary data: the faults a regenerated or
// hand-edited file could bring in.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "base/CodePage.h"
#include "base/Unicode.h"
#include "builtin/DefaultDictionary.h"
#include "text/DictionaryTsv.h"

namespace zelk::builtin {
namespace {

using base::AnsiToUtf16;
using text::ParseDictionaryTsv;

using base::DictionaryEntry;
using base::Utf16ToAnsi;
using base::kCodePageGbk;

std::string DataFile(const std::string& name) {
    std::ifstream file(std::string(ZELK_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The first field of each line that is not a comment.
std::vector<std::string> FirstFields(const std::string& text) {
    std::vector<std::string> fields;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        fields.push_back(line.substr(0, line.find('\t')));
    }
    return fields;
}

bool InGbk(const std::u16string& text) {
    return Utf16ToAnsi(text, kCodePageGbk).find('?') == std::string::npos;
}

// Every key one GBK character, every part a GBK character (no private-use or
// unencoded code point), no key among its own parts or mapped to nothing, no
// key twice.
void CheckSet(const std::vector<DictionaryEntry>& entries, const char* name) {
    std::set<std::string> keys;
    for (const DictionaryEntry& entry : entries) {
        const std::u16string key = AnsiToUtf16(entry.key);
        const std::u16string parts = AnsiToUtf16(entry.replacement.value_or(""));
        EXPECT_EQ(key.size(), 1u) << name << ": " << entry.key;
        EXPECT_TRUE(InGbk(key)) << name << ": " << entry.key;
        EXPECT_GE(parts.size(), 2u) << name << ": " << entry.key << " maps to too little";
        EXPECT_LE(parts.size(), 5u) << name << ": " << entry.key;
        EXPECT_EQ(parts.find(key), std::u16string::npos)
            << name << ": " << entry.key << " is among its own parts";
        for (char16_t part : parts) {
            EXPECT_TRUE(InGbk(std::u16string(1, part)) && !(part >= 0xE000 && part <= 0xF8FF))
                << name << ": " << entry.key << " has a part outside GBK";
        }
        EXPECT_TRUE(keys.insert(entry.key).second) << name << ": " << entry.key << " twice";
    }
}

std::map<std::string, std::string> AsMap(const std::vector<DictionaryEntry>& entries) {
    std::map<std::string, std::string> map;
    for (const DictionaryEntry& entry : entries) map[entry.key] = entry.replacement.value_or("");
    return map;
}

TEST(DictionaryDataTest, EverySetIsWellFormed) {
    CheckSet(ParseDictionaryTsv(GeneratedDictionaryTsv(), "g"), "cjk-decomp-lr.tsv");
    CheckSet(ParseDictionaryTsv(SupplementDictionaryTsv(), "s"), "supplement.tsv");
    const std::vector<DictionaryEntry> topBottom = TopBottomEntries();
    CheckSet(topBottom, "top-bottom.tsv");
    EXPECT_GT(topBottom.size(), 2000u);
    EXPECT_LT(topBottom.size(), 8000u);
}

TEST(DictionaryDataTest, CommonLeftRightCharactersAreSplitOrNamedWhole) {
    const auto dictionary = AsMap(DefaultDictionaryEntries());
    const std::vector<std::string> common = FirstFields(DataFile("common-lr.tsv"));
    const std::vector<std::string> wholeList = FirstFields(DataFile("whole.tsv"));
    const std::set<std::string> whole(wholeList.begin(), wholeList.end());
    ASSERT_GT(common.size(), 1800u);
    std::size_t leftWhole = 0;
    for (const std::string& character : common) {
        const bool split = dictionary.contains(character);
        EXPECT_NE(split, whole.contains(character))
            << character << (split ? " is split and named whole" : " is neither split nor whole");
        leftWhole += whole.contains(character);
    }
    for (const std::string& character : whole) {
        EXPECT_FALSE(dictionary.contains(character)) << character << " named whole but split";
    }
    EXPECT_LE(leftWhole * 100, common.size() * 5) << leftWhole << " of " << common.size();
}

// The common traditional left-right characters whose simplified forms split
// are split too, with traditional parts, as a reader reads them.
TEST(DictionaryDataTest, TraditionalCharactersAreSplitAsTheirSimplifiedForms) {
    const auto dictionary = AsMap(DefaultDictionaryEntries());
    const std::vector<std::string> traditional = FirstFields(DataFile("traditional-lr.tsv"));
    const std::vector<std::string> wholeList = FirstFields(DataFile("whole.tsv"));
    const std::set<std::string> whole(wholeList.begin(), wholeList.end());
    ASSERT_GT(traditional.size(), 1000u);
    for (const std::string& character : traditional) {
        EXPECT_TRUE(dictionary.contains(character) || whole.contains(character))
            << character << " is neither split nor named whole";
    }
    for (const auto& [character, split] : std::map<std::string, std::string>{
             {"對", "丵寸"},
             {"從", "彳从止"},
             {"將", "爿夕寸"},
             {"別", "口力刂"},
             {"沒", "氵勹又"},
             {"強", "弓厶虫"},
             {"識", "訁音戈"},
             {"報", "幸卩又"},
             {"斷", "乚丝丝斤"},
             {"絕", "糹刀巴"},
             {"聯", "耳幺幺丱"},
             {"難", "廿口夫隹"},
             {"繼", "糹乚丝丝"},
             // traditional parts where the simplified form has its own
             {"說", "訁兌"},
             {"語", "訁吾"},
             {"鐵", "釒土呈戈"},
             {"飾", "飠丿一巾"},
             // apart from the simplified pieces, so that each reads back as itself
             {"溫", "氵囚皿"},
             {"搖", "扌月缶"},
             {"剎", "乂术刂"}}) {
        EXPECT_EQ(dictionary.contains(character) ? dictionary.at(character) : "<none>", split)
            << character;
    }
}

TEST(DictionaryDataTest, CorrectedSplitsStayCorrected) {
    const auto dictionary = AsMap(DefaultDictionaryEntries());
    const std::map<std::string, std::string> expected = {
        // the wrong level
        {"捯", "扌到"},
        {"椡", "木到"},
        {"铏", "钅刑"},
        {"楋", "木剌"},
        // traditional-only and wrong parts
        {"所", "户斤"},
        {"刾", "夹刂"},
        {"粼", "粦巛"},
        {"敘", "余攵"},
        // parts with no GBK form, drawn with those that have one
        {"经", "纟又工"},
        {"轻", "车又工"},
        {"报", "扌卩又"},
        {"服", "月卩又"},
        {"将", "丬夕寸"},
        {"德", "彳十罒一心"},
        {"杨", "木易"},
        // 𠬤 is 又 over 干, not 丰
        {"释", "釆又干"},
        {"译", "讠又干"},
        {"择", "扌又干"},
        // left parts in their left-side form
        {"物", "牜勿"},
        {"錢", "釒戔"},
        {"説", "訁兑"},
        {"記", "訁己"}};
    for (const auto& [character, split] : expected) {
        EXPECT_EQ(dictionary.contains(character) ? dictionary.at(character) : "<none>", split)
            << character;
    }
    // 荆 is 艹 over 刑: top-bottom, not left-right.
    EXPECT_FALSE(dictionary.contains("荆"));
    const auto topBottom = AsMap(TopBottomEntries());
    EXPECT_EQ(topBottom.at("荆"), "艹刑");
    for (const auto& [character, split] : std::map<std::string, std::string>{{"李", "木子"},
                                                                             {"章", "立早"},
                                                                             {"吴", "口天"},
                                                                             {"思", "田心"},
                                                                             {"昌", "日日"},
                                                                             {"岩", "山石"},
                                                                             {"国", "囗玉"},
                                                                             {"这", "辶文"},
                                                                             {"或", "戈口一"},
                                                                             {"网", "冂乂乂"},
                                                                             {"向", "丿冋"},
                                                                             {"弄", "王廾"},
                                                                             {"王", "一土"},
                                                                             {"文", "亠乂"}}) {
        EXPECT_EQ(topBottom.contains(character) ? topBottom.at(character) : "<none>", split)
            << character;
    }
}

TEST(DictionaryDataTest, SingleShapesOfTheTopBottomSetStayWhole) {
    const auto topBottom = AsMap(TopBottomEntries());
    const std::vector<std::string> whole = FirstFields(DataFile("top-bottom-whole.tsv"));
    ASSERT_GT(whole.size(), 10u);
    for (const std::string& character : whole) {
        EXPECT_FALSE(topBottom.contains(character)) << character << " named whole but split";
    }
    for (const char* shape : {"不", "工", "面", "三", "且", "己"}) {
        EXPECT_FALSE(topBottom.contains(shape)) << shape;
    }
}

}  // namespace
}  // namespace zelk::builtin
