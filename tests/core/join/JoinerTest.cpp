#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "base/CodePage.h"
#include "base/Unicode.h"
#include "builtin/DefaultDictionary.h"
#include "join/JoinStream.h"
#include "join/Joiner.h"
#include "join/ModelLoading.h"

namespace zelk::join {
namespace {

using builtin::DefaultDictionaryEntries;

using base::AnsiToUtf16;
using base::DictionaryEntry;
using base::StartsSurrogatePair;
using base::Utf16ToAnsi;

std::u16string Join(const Joiner& joiner, std::u16string_view text) {
    return joiner.Join(text);
}

TEST(JoinerTest, TakesTheBestReadingWhereTheLongestFirstFails) {
    // 乙 reads 木木木, a longer piece than 甲's 木木, but 甲甲 is far likelier
    // than 乙 followed by a lone 木.
    const std::vector<DictionaryEntry> dictionary = {{"甲", "木木"}, {"乙", "木木木"}};
    const Joiner joiner(dictionary, "甲\t100\n乙\t1\n木\t50\n");
    EXPECT_EQ(Join(joiner, u"木木木木"), u"甲甲");
    EXPECT_EQ(Join(joiner, u"木木木"), u"木甲");
    EXPECT_EQ(Join(Joiner(dictionary, "甲\t100\n乙\t200\n木\t50\n"), u"木木木"), u"乙");
}

TEST(JoinerTest, TheCharacterBeforeDecides) {
    // 女子 reads as 好 alone, as the two characters after 男 when the model
    // has seen 男女 and 女子 often.
    const std::vector<DictionaryEntry> dictionary = {{"好", "女子"}};
    const std::string model = "好\t1000\n女\t300\t子5\n子\t300\n男\t300\t女5\n";
    const Joiner joiner(dictionary, model);
    EXPECT_EQ(Join(joiner, u"女子"), u"好");
    EXPECT_EQ(Join(joiner, u"男女子"), u"男女子");
    // Pairs the model has not seen leave the character's own count to decide.
    EXPECT_EQ(Join(Joiner(dictionary, "好\t1\n女\t5000\n子\t5000\n"), u"女子"), u"女子");
    // A user's entry for the same parts competes by its count alone.
    EXPECT_EQ(Join(Joiner({{"好", "女子"}, {"妤", "女子"}}, "好\t10\n妤\t20\n"), u"女子"), u"妤");
    EXPECT_EQ(Join(Joiner({{"妤", "女子"}, {"好", "女子"}}, "好\t10\n妤\t20\n"), u"女子"), u"妤");
}

TEST(JoinerTest, TheTwoCharactersBeforeDecide) {
    // After 男 alone 女子 stays two characters (as above); a triple seen often
    // reads it as 好 after 少男.
    const std::vector<DictionaryEntry> dictionary = {{"好", "女子"}};
    const std::string pairs = "好\t1000\n女\t300\t子5\n子\t300\n男\t300\t女5\n少\t300\t男5\n";
    const Joiner joiner(dictionary, pairs, "少男\t好5\n");
    EXPECT_EQ(Join(joiner, u"少男女子"), u"少男好");
    EXPECT_EQ(Join(joiner, u"男女子"), u"男女子");
    EXPECT_EQ(Join(joiner, u"少，男女子"),
              u"少，男女子");  // no triple across text that is not read
    // Lines out of order, broken ones skipped; of two lines for a pair the
    // first counts.
    const Joiner messy(dictionary, pairs, "男女\t子5\n少男\n\xff男\t好5\n少男\t好5\n少男\t女5\n");
    EXPECT_EQ(Join(messy, u"少男女子"), u"少男好");
    EXPECT_EQ(Join(Joiner(dictionary, pairs, "少男\t女5\n少男\t好5\n"), u"少男女子"), u"少男女子");
}

TEST(JoinerTest, ModelLinesThatDoNotParseAreSkipped) {
    const std::vector<DictionaryEntry> dictionary = {{"好", "女子"}};
    // Without its counts 好 would win; the broken lines must not lose them
    // nor stop the lines after them, and a second line for 好 does not count.
    const std::string model =
        "# comment\n好\tmany\n\n女\n子 9\n\xff\t7\n女\t900\t子\x01子5\xe5\n"
        "子\t900\n好\t1\n好\t100000\n";
    EXPECT_EQ(Join(Joiner(dictionary, model), u"女子"), u"女子");
}

TEST(JoinerTest, TextThatIsNoSplitPassesThrough) {
    const Joiner joiner({{"好", "女子"}, {"𠮷", "士口"}}, "好\t10\n");
    const std::u16string text = u"abc 123，。😀\n龘\r\n𠀀\t";
    EXPECT_EQ(Join(joiner, text), text);
    EXPECT_EQ(Join(joiner, u"士口女子"), u"𠮷好");  // a key outside the BMP, unknown to the model
    EXPECT_EQ(Join(joiner, u""), u"");
    // A lone surrogate is text like any other.
    EXPECT_EQ(Join(joiner, std::u16string(1, char16_t(0xD800)) + u"女子"),
              std::u16string(1, char16_t(0xD800)) + u"好");
    // A piece that ends inside a surrogate pair does not read.
    const Joiner half({{"好", std::string("女\xed\xa0\x80")}}, "好\t10\n");
    EXPECT_EQ(Join(half, u"女😀"), u"女😀");
}

TEST(JoinerTest, SeparatedTextDropsOnlyTheSeparatorsTheSplitWrote) {
    const Joiner joiner({{"好", "女子"}, {"林", "木木"}, {"的", "白勺"}}, "女\t5000\n好\t10\n");
    EXPECT_EQ(joiner.Join(u"女子 木木，a\n女 子", u" "), u"好林，a\n女子");
    EXPECT_EQ(joiner.Join(u"女子|木木", u"|"), u"好林");
    // The text's own separators, where no Chinese stands on both sides, stay.
    EXPECT_EQ(joiner.Join(u"第 1 章，女子 白勺 Debian 11", u" "), u"第 1 章，好的 Debian 11");
    // A blank of the text between two Chinese characters cannot be told from
    // a separator (the split says so).
    EXPECT_EQ(joiner.Join(u"章 女子", u" "), u"章好");
    EXPECT_EQ(joiner.Join(u"女子  白勺 ", u" "), u"好  的 ");
    EXPECT_EQ(joiner.Join(u"女子---白勺", u"--"), u"好---的");
    EXPECT_EQ(joiner.Join(u"女子 士口 木", u" "), u"好士口木");  // no piece: as it stands
}

// Joins text cut into parts at every place, and whole.
void ExpectCutsChangeNothing(const Joiner& joiner, std::u16string_view separator,
                             std::u16string_view text) {
    JoinStream whole(joiner, std::u16string(separator));
    std::u16string expected = whole.Push(text);
    expected += whole.Finish();
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        JoinStream stream(joiner, std::u16string(separator));
        std::u16string joined = stream.Push(text.substr(0, cut));
        joined += stream.Push(text.substr(cut));
        joined += stream.Finish();
        EXPECT_EQ(joined, expected) << "cut at " << cut;
    }
}

TEST(JoinStreamTest, TheReadingIsTheSameWhereverTheTextIsCut) {
    const Joiner joiner({{"好", "女子"}, {"林", "木木"}, {"𠮷", "士口"}}, "好\t10\n林\t10\n");
    for (std::u16string_view text :
         {std::u16string_view(u"女子木木，女子士口😀木木ab女子"),
          std::u16string_view(u"a女子b\n木木"), std::u16string_view(u"女子木木女子木木女子")}) {
        ExpectCutsChangeNothing(joiner, u"", text);
    }
    for (std::u16string_view text : {std::u16string_view(u"女子 木木，a b 女子  士口 😀 x女子"),
                                     std::u16string_view(u"第 1 章 女子 木木 x"),
                                     std::u16string_view(u"女子 木木 女子\n木木 女子")}) {
        ExpectCutsChangeNothing(joiner, u" ", text);
    }
    ExpectCutsChangeNothing(joiner, u"--", u"女子--木木---x--女子-- 木木");
}

// Text that never lets the reading agree early, and a line with no end,
// are given out as they are read, not held to the end of the text: the
// memory a join needs does not grow with the text.
TEST(JoinStreamTest, ALongTextIsGivenOutAsItIsReadNotHeldToItsEnd) {
    const Joiner joiner({{"好", "女子"}, {"妤", "女子"}, {"林", "木木"}},
                        "好\t10\n妤\t10\n林\t10\n女\t10\n子\t10\n");
    for (const std::u16string_view separator : {u"", u" "}) {
        std::u16string text;
        for (int i = 0; i < 150000; ++i) (text += i % 3 ? u"女子" : u"木木") += separator;
        JoinStream stream(joiner, std::u16string(separator));
        std::u16string joined;
        std::size_t before = 0;
        for (std::size_t at = 0; at < text.size(); at += 4096) {
            joined += stream.Push(std::u16string_view(text).substr(at, 4096));
            if (before == 0 && at >= 200000) before = joined.size();
        }
        EXPECT_GT(before, 50000u) << "held back until the end";
        joined += stream.Finish();
        EXPECT_EQ(joined, joiner.Join(text, separator));
        EXPECT_EQ(joined.size(), 150000u + separator.size());  // the last separator stands
    }
}

// The default dictionary as a database holds it: a later entry for a key
// replaces an earlier one.
std::map<std::u16string, std::u16string> DefaultPieces() {
    std::map<std::u16string, std::u16string> pieces;
    for (const DictionaryEntry& entry : DefaultDictionaryEntries()) {
        pieces[AnsiToUtf16(entry.key)] = AnsiToUtf16(entry.replacement.value_or(""));
    }
    return pieces;
}

std::u16string Split(const std::map<std::u16string, std::u16string>& pieces,
                     std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = StartsSurrogatePair(text, i) ? 2 : 1;
        const std::u16string character(text.substr(i, length));
        const auto it = pieces.find(character);
        out += it != pieces.end() ? it->second : character;
        i += length;
    }
    return out;
}

Joiner DefaultJoiner(const std::map<std::u16string, std::u16string>& pieces) {
    std::vector<DictionaryEntry> entries;
    for (const auto& [key, piece] : pieces)
        entries.push_back({Utf16ToAnsi(key), Utf16ToAnsi(piece)});
    const SourceChecksum build = ParseChecksum(ZELK_JOIN_MODEL_SOURCE);
    return Joiner(entries, LoadModelFile(ZELK_JOIN_MODEL_FILE, &build));
}

std::size_t CommonSubsequence(std::u16string_view a, std::u16string_view b) {
    std::vector<std::size_t> previous(b.size() + 1, 0), current(b.size() + 1, 0);
    for (char16_t x : a) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            current[j + 1] = x == b[j] ? previous[j] + 1 : std::max(previous[j + 1], current[j]);
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

TEST(JoinerTest, DefaultDictionaryReadsRealTextBack) {
    const auto pieces = DefaultPieces();
    const Joiner joiner = DefaultJoiner(pieces);
    const std::u16string sentence = u"拆功，阴阳，请让精神好，骆驼，难捉狗";  // a new database's
    EXPECT_EQ(joiner.Join(Split(pieces, sentence)), sentence);

    // Poems from Debian's fortunes-zh, a few hundred lines, compared by
    // alignment: the characters of the longest common subsequence are right.
    std::ifstream poems("/usr/share/games/fortunes/tang300");
    if (!poems) GTEST_SKIP() << "fortunes-zh is not installed";
    std::size_t characters = 0, right = 0;
    std::string line;
    for (int n = 0; n < 800 && std::getline(poems, line); ++n) {
        const std::u16string original = AnsiToUtf16(line);
        const std::u16string joined = joiner.Join(Split(pieces, original));
        characters += original.size();
        right += CommonSubsequence(original, joined);
    }
    ASSERT_GT(characters, 5000u);
    EXPECT_GE(static_cast<double>(right) / static_cast<double>(characters), 0.998)
        << right << " of " << characters;
}

}  // namespace
}  // namespace zelk::join
