// Splitting only listed words: which characters a split reaches, however
// the words overlap and however the text arrives.
#include "text/WordScope.h"

#include <gtest/gtest.h>

#include <random>

#include "base/Unicode.h"
#include "text/EngineError.h"
#include "text/SplitWalk.h"

namespace zelk::text {
namespace {

// A source that brackets every character it is asked for.
struct Brackets : PieceSource {
    std::u16string piece;
    std::u16string_view PieceOf(std::u16string_view character) override {
        piece = u"[" + std::u16string(character) + u"]";
        return piece;
    }
};

std::u16string Limited(const std::vector<std::u16string>& words, std::u16string_view text,
                       std::size_t part = std::u16string_view::npos) {
    const WordScope scope(words);
    Brackets source;
    std::u16string out;
    SplitWalk walk(source, [&](std::u16string_view, std::u16string_view piece) { out += piece; },
                   &scope);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = part >= text.size() - at ? text.size() : at + part;
        if (end < text.size() && base::StartsSurrogatePair(text, end - 1)) ++end;  // whole characters
        walk.Push(text.substr(at, end - at));
        at = end;
    }
    walk.Finish();
    return out;
}

TEST(WordScopeTest, OnlyCharactersInsideOccurrencesAreSplit) {
    EXPECT_EQ(Limited({u"精神", u"神好"}, u"精神好，精神病，好"), u"[精][神][好]，[精][神]病，好");
    EXPECT_EQ(Limited({u"好"}, u"好人好事"), u"[好]人[好]事");  // one character: every occurrence
    EXPECT_EQ(Limited({u"骆驼"}, u"骆驼骆驼骆"), u"[骆][驼][骆][驼]骆");  // touching occurrences
    EXPECT_EQ(Limited({u"人民", u"民"}, u"人民，民，人"), u"[人][民]，[民]，人");
    EXPECT_EQ(Limited({u"共和国", u"和"}, u"共和共和国"), u"共[和][共][和][国]");
    EXPECT_EQ(Limited({u"𠮷野"}, u"𠮷野家𠮷"), u"[𠮷][野]家𠮷");  // a surrogate pair is one character
    EXPECT_EQ(Limited({u"精神"}, u"精\n神"), u"精\n神");
    EXPECT_EQ(Limited({u"精神"}, u""), u"");
}

TEST(WordScopeTest, WhereTheTextIsCutChangesNothing) {
    std::mt19937 random(7305);
    const std::u16string alphabet = u"精神好人民共和国𠮷野，";
    std::u16string text;
    for (int i = 0; i < 3000; ++i) {
        std::size_t at = random() % alphabet.size();
        if (at > 0 && base::StartsSurrogatePair(alphabet, at - 1)) --at;
        text += alphabet.substr(at, base::CharacterLength(alphabet, at));
    }
    const std::vector<std::u16string> words = {u"精神", u"神好", u"人民共和国", u"和", u"𠮷野", u"好好"};
    const std::u16string whole = Limited(words, text);
    for (std::size_t part : {1u, 2u, 3u, 7u, 100u}) EXPECT_EQ(Limited(words, text, part), whole);
}

TEST(WordScopeTest, WordListsAreCheckedByLine) {
    EXPECT_EQ(ParseWordList("\xEF\xBB\xBF# words\n\n精神\r\n骆驼 \n", "w.txt"),
              (std::vector<std::u16string>{u"精神", u"骆驼 "}));
    const auto faultOf = [](std::string_view text) {
        try {
            ParseWordList(text, "w.txt");
        } catch (const EngineError& error) {
            return std::string(error.what());
        }
        return std::string("<no error>");
    };
    EXPECT_EQ(faultOf("精神\nabc\n"), "w.txt:2: --only: the word 'abc' has no Chinese character");
    EXPECT_EQ(faultOf("\xFF\n"), "w.txt:1: --only: the word is not valid UTF-8");
    EXPECT_EQ(faultOf("# only a comment\n\n"), "w.txt: --only: no word to split");
    EXPECT_THROW(CheckWords({}), EngineError);
    EXPECT_THROW(CheckWords({u"好", u"々"}), EngineError);  // a sign of repetition is no character
    EXPECT_NO_THROW(CheckWords({u"a好"}));
}

}  // namespace
}  // namespace zelk::text
