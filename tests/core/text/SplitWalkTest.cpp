#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "text/SplitWalk.h"

namespace zelk::text {
namespace {

// Records every lookup and every piece in one sequence, to check their order.
struct Recorder : PieceSource {
    explicit Recorder(std::u16string (*replace)(std::u16string_view)) : replace(replace) {}

    std::u16string (*replace)(std::u16string_view);
    std::vector<std::u16string> events;
    std::u16string piece;
    std::u16string result;
    int failAtLookup = 0;  // 1-based; 0 never fails
    int pauses = 0;

    std::u16string_view PieceOf(std::u16string_view c) override {
        events.push_back(u"L:" + std::u16string(c));
        if (static_cast<int>(std::count_if(events.begin(), events.end(), [](const auto& e) {
                return e.starts_with(u"L:");
            })) == failAtLookup) {
            throw std::runtime_error("lookup failed");
        }
        piece = replace(c);
        return piece;
    }
    void Pause() noexcept override { ++pauses; }
    PieceReceiver Receiver() {
        return [this](std::u16string_view character, std::u16string_view piece) {
            events.push_back(u"R:" + std::u16string(character) + u"=" + std::u16string(piece));
            result += piece;
        };
    }
};

std::u16string Identity(std::u16string_view c) {
    return std::u16string(c);
}

std::u16string Table(std::u16string_view c) {
    if (c == u"好") return u"女子";
    if (c == u"空") return u"";
    if (c == u"𠮷") return u"士口";
    return std::u16string(c);
}

TEST(SplitSentenceTest, EmptySentenceRunsNothing) {
    Recorder recorder(Table);
    SplitSentence(u"", recorder, recorder.Receiver());
    EXPECT_TRUE(recorder.events.empty());
}

TEST(SplitSentenceTest, LookupAndReceiverAlternateInSentenceOrder) {
    Recorder recorder(Table);
    SplitSentence(u"好a好", recorder, recorder.Receiver());
    EXPECT_EQ(recorder.events, (std::vector<std::u16string>{u"L:好", u"R:好=女子", u"L:a",
                                                            u"R:a=a", u"L:好", u"R:好=女子"}));
    EXPECT_EQ(recorder.result, u"女子a女子");
}

TEST(SplitSentenceTest, PiecesOfZeroOneAndSeveralCharacters) {
    Recorder recorder(Table);
    SplitSentence(u"空x好 空", recorder, recorder.Receiver());
    EXPECT_EQ(recorder.result, u"x女子 ");
    EXPECT_EQ(recorder.events.size(), 10u);  // every character, the empty pieces included
}

TEST(SplitSentenceTest, FailureAtTheKthLookupKeepsPiecesBeforeIt) {
    Recorder recorder(Table);
    recorder.failAtLookup = 3;
    EXPECT_THROW(SplitSentence(u"好好好好", recorder, recorder.Receiver()), std::runtime_error);
    EXPECT_EQ(recorder.result, u"女子女子");
    EXPECT_EQ(recorder.events.back(), u"L:好");  // no lookup or piece after the failure
    EXPECT_EQ(recorder.events.size(), 5u);
    EXPECT_EQ(recorder.pauses, 1) << "the source is paused however the walk ends";
}

TEST(SplitSentenceTest, ReceiverFailureStopsTheWalk) {
    Recorder recorder(Identity);
    EXPECT_THROW(SplitSentence(u"abc", recorder,
                               [](std::u16string_view, std::u16string_view) {
                                   throw std::runtime_error("full");
                               }),
                 std::runtime_error);
    EXPECT_EQ(recorder.events, std::vector<std::u16string>{u"L:a"});
}

TEST(SplitSentenceTest, SurrogatePairIsOneCharacterLoneSurrogatesAreTheirOwn) {
    Recorder recorder(Table);
    SplitSentence(u"𠮷好", recorder, recorder.Receiver());
    EXPECT_EQ(recorder.events,
              (std::vector<std::u16string>{u"L:𠮷", u"R:𠮷=士口", u"L:好", u"R:好=女子"}));

    Recorder lone(Identity);
    const std::u16string text = {0xDC00, 0xD842, u'a', 0xD842};
    SplitSentence(text, lone, lone.Receiver());
    EXPECT_EQ(lone.events.size(), 8u);
    EXPECT_EQ(lone.result, text);
}

TEST(SplitWalkTest, PartsOfOneTextWalkAsTheWholeAndPauseTheSourceAfterEach) {
    Recorder whole(Table), parts(Table);
    SplitSentence(u"好空x𠮷好", whole, whole.Receiver());
    SplitWalk walk(parts, parts.Receiver());
    for (std::u16string_view part : {u"好空", u"", u"x𠮷", u"好"}) walk.Push(part);
    EXPECT_EQ(parts.events, whole.events);
    EXPECT_EQ(parts.pauses, 4);
}

}  // namespace
}  // namespace zelk::text
