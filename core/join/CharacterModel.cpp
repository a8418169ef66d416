#include "join/CharacterModel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numeric>

#include "base/Unicode.h"

namespace zelk::join {

using base::DecodeUtf8;

namespace {

// The weight of the pair counts against the characters' own: a pair seen in
// text says more than a character's frequency, but the text is never all
// there is.
constexpr double kPairWeight = 0.8;
// The weight of a triple against its last pair: less than a pair's, since
// triples are seen far fewer times each.
constexpr double kTripleWeight = 0.3;
constexpr double kLevelScale = 4.0;
constexpr unsigned kLevels = '~' - '!' + 1;
// The count each level stands for.
const std::array<float, 256> kLevelCounts = [] {
    std::array<float, 256> counts{};
    for (std::size_t level = 0; level < kLevels; ++level)
        counts[level] = static_cast<float>(std::exp(static_cast<double>(level) / kLevelScale));
    return counts;
}();
constexpr std::size_t kBmpSize = 0x10000;

std::uint32_t Next(std::uint32_t follower) {
    return follower >> 8;
}

struct Line {
    char32_t character;
    std::uint64_t count;
    std::string_view followers;
};

bool ParseLine(std::string_view line, Line& parsed) {
    const std::size_t length = DecodeUtf8(line, 0, parsed.character);
    if (length == 0 || length >= line.size() || line[length] != '\t') return false;
    const std::string_view rest = line.substr(length + 1);
    const std::size_t tab = rest.find('\t');
    const std::string_view number = rest.substr(0, tab);
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), parsed.count);
    if (error != std::errc() || end != number.data() + number.size()) return false;
    parsed.followers = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return true;
}

// Splits text into lines and hands each that is no comment to read.
template <typename Read>
void ForEachLine(std::string_view text, Read read) {
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line[0] != '#') read(line);
        start = end + 1;
    }
}

// The arrays being built, with the ids of the characters read so far.
class ArrayBuilder {
  public:
    explicit ArrayBuilder(CharacterModelArrays& arrays) : a_(arrays) {}

    std::uint32_t IdOf(char32_t c) const {
        if (c < kBmpSize) return a_.bmpIds[c];
        const auto it = std::lower_bound(a_.otherCharacters.begin(), a_.otherCharacters.end(), c);
        return it != a_.otherCharacters.end() && *it == c
                   ? a_.otherIds[static_cast<std::size_t>(it - a_.otherCharacters.begin())]
                   : CharacterModel::kUnknown;
    }

    // Appends the followers of one line, ordered by id.
    void ReadFollowers(std::string_view list, std::vector<std::uint32_t>& into) const {
        const std::size_t begin = into.size();
        for (std::size_t at = 0; at < list.size();) {
            char32_t next = 0;
            const std::size_t length = DecodeUtf8(list, at, next);
            if (length == 0 || at + length >= list.size()) break;
            const auto level = static_cast<unsigned char>(list[at + length]);
            at += length + 1;
            const std::uint32_t id = IdOf(next);
            if (id == CharacterModel::kUnknown || level < '!' || level > '~') continue;
            into.push_back(id << 8 | static_cast<std::uint32_t>(level - '!'));
        }
        const auto first = into.begin() + static_cast<std::ptrdiff_t>(begin);
        const auto byId = [](std::uint32_t a, std::uint32_t b) { return Next(a) < Next(b); };
        if (!std::is_sorted(first, into.end(), byId)) std::sort(first, into.end(), byId);
    }

  private:
    CharacterModelArrays& a_;
};

}  // namespace

CharacterModelArrays CharacterModel::ParseArrays(std::string_view pairs, std::string_view triples) {
    CharacterModelArrays a;
    std::vector<Line> lines;
    ForEachLine(pairs, [&](std::string_view line) {
        Line parsed{};
        if (ParseLine(line, parsed)) lines.push_back(parsed);
    });
    // Ids in code point order, so that followers written in that order need
    // no sorting; the first line of a character counts.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& x, const Line& y) { return x.character < y.character; });
    lines.erase(
        std::unique(lines.begin(), lines.end(),
                    [](const Line& x, const Line& y) { return x.character == y.character; }),
        lines.end());
    a.bmpIds.assign(kBmpSize, kUnknown);
    a.counts.push_back(0);
    for (const Line& line : lines) {
        const auto id = static_cast<std::uint32_t>(a.counts.size());
        if (line.character < kBmpSize) {
            a.bmpIds[line.character] = id;
        } else {
            a.otherCharacters.push_back(line.character);
            a.otherIds.push_back(id);
        }
        a.counts.push_back(
            static_cast<std::uint32_t>(std::min<std::uint64_t>(line.count, UINT32_MAX)));
    }
    const ArrayBuilder builder(a);
    a.firstFollower.assign(a.counts.size() + 1, 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        a.firstFollower[i + 1] = static_cast<std::uint32_t>(a.followers.size());
        builder.ReadFollowers(lines[i].followers, a.followers);
    }
    a.firstFollower[a.counts.size()] = static_cast<std::uint32_t>(a.followers.size());

    // Triples: the pairs in order, the first line of a pair counting.
    struct Pair {
        std::uint64_t key;  // before << 32 | previous
        std::string_view followers;
    };
    std::vector<Pair> pairsOfTriples;
    ForEachLine(triples, [&](std::string_view line) {
        char32_t before = 0, previous = 0;
        const std::size_t first = DecodeUtf8(line, 0, before);
        const std::size_t second = first ? DecodeUtf8(line, first, previous) : 0;
        if (second == 0 || first + second >= line.size() || line[first + second] != '\t') return;
        const std::uint32_t x = builder.IdOf(before), y = builder.IdOf(previous);
        if (x == kUnknown || y == kUnknown) return;
        pairsOfTriples.push_back({std::uint64_t{x} << 32 | y, line.substr(first + second + 1)});
    });
    std::stable_sort(pairsOfTriples.begin(), pairsOfTriples.end(),
                     [](const Pair& x, const Pair& y) { return x.key < y.key; });
    a.firstHistory.assign(a.counts.size() + 1, 0);
    std::uint64_t lastKey = 0;
    for (const Pair& pair : pairsOfTriples) {
        if (!a.historyPrevious.empty() && pair.key == lastKey) continue;
        lastKey = pair.key;
        const auto before = static_cast<std::uint32_t>(pair.key >> 32);
        a.firstHistory[before + 1] = static_cast<std::uint32_t>(a.historyPrevious.size() + 1);
        a.historyPrevious.push_back(static_cast<std::uint32_t>(pair.key));
        a.firstTriple.push_back(static_cast<std::uint32_t>(a.triples.size()));
        builder.ReadFollowers(pair.followers, a.triples);
    }
    a.firstTriple.push_back(static_cast<std::uint32_t>(a.triples.size()));
    // Each character's histories end where the next one's begin.
    for (std::size_t id = 1; id < a.firstHistory.size(); ++id)
        a.firstHistory[id] = std::max(a.firstHistory[id], a.firstHistory[id - 1]);
    return a;
}

CharacterModel::CharacterModel(std::string_view pairs, std::string_view triples) {
    auto arrays = std::make_shared<CharacterModelArrays>(ParseArrays(pairs, triples));
    const CharacterModelArrays& a = *arrays;
    Adopt({a.bmpIds, a.otherCharacters, a.otherIds, a.counts, a.firstFollower, a.followers,
           a.firstHistory, a.historyPrevious, a.firstTriple, a.triples});
    owner_ = std::move(arrays);
}

CharacterModel::CharacterModel(const CharacterModelArrays& a, std::shared_ptr<const void> owner)
    : CharacterModel(
          Views{a.bmpIds, a.otherCharacters, a.otherIds, a.counts, a.firstFollower, a.followers,
                a.firstHistory, a.historyPrevious, a.firstTriple, a.triples},
          std::move(owner)) {}

CharacterModel::CharacterModel(const Views& views, std::shared_ptr<const void> owner)
    : owner_(std::move(owner)) {
    Adopt(views);
}

void CharacterModel::Adopt(const Views& views) {
    views_ = views;
    total_ = 1 + std::accumulate(views_.counts.begin(), views_.counts.end(), 0.0);
}

CharacterModel::Id CharacterModel::IdOf(char32_t character) const {
    Id id = kUnknown;
    if (character < views_.bmpIds.size()) {
        id = views_.bmpIds[character];
    } else {
        const auto& others = views_.otherCharacters;
        const auto it = std::lower_bound(others.begin(), others.end(), character);
        const auto index = static_cast<std::size_t>(it - others.begin());
        if (it != others.end() && *it == character && index < views_.otherIds.size())
            id = views_.otherIds[index];
    }
    return id < views_.counts.size() ? id : kUnknown;
}

float CharacterModel::CountOf(std::span<const std::uint32_t> followers, std::uint32_t first,
                              std::uint32_t last, Id next) {
    if (first > last || last > followers.size()) return 0.0f;
    const auto begin = followers.begin() + first;
    const auto end = followers.begin() + last;
    const auto it =
        std::lower_bound(begin, end, next, [](std::uint32_t f, Id id) { return Next(f) < id; });
    return it != end && Next(*it) == next ? kLevelCounts[*it & 0xFF] : 0.0f;
}

float CharacterModel::FollowerCount(Id previous, Id next) const {
    if (previous == kUnknown || previous + 1 >= views_.firstFollower.size()) return 0.0f;
    return CountOf(views_.followers, views_.firstFollower[previous],
                   views_.firstFollower[previous + 1], next);
}

namespace {

double PairProbability(double pairCount, double previousCount, double nextCount, double floor,
                       double total) {
    double probability = (1 - kPairWeight) * (nextCount + floor) / total;
    if (previousCount > 0) probability += kPairWeight * pairCount / previousCount;
    return probability;
}

}  // namespace

float CharacterModel::LogProbability(Id previous, Id next, double floor) const {
    const bool known = previous != kUnknown && next != kUnknown;
    const double pair = known ? FollowerCount(previous, next) : 0;
    return static_cast<float>(
        std::log(PairProbability(pair, known ? Count(previous) : 0, Count(next), floor, total_)));
}

CharacterModel::Context CharacterModel::ContextOf(Id before, Id previous) const {
    Context context;
    context.previous = previous;
    if (before == kUnknown || previous == kUnknown || before + 1 >= views_.firstHistory.size())
        return context;
    const std::uint32_t first = views_.firstHistory[before];
    const std::uint32_t last = views_.firstHistory[before + 1];
    const auto& histories = views_.historyPrevious;
    if (first > last || last > histories.size()) return context;
    const auto begin = histories.begin() + first;
    const auto end = histories.begin() + last;
    const auto it = std::lower_bound(begin, end, previous);
    if (it == end || *it != previous) return context;
    const auto index = static_cast<std::size_t>(it - histories.begin());
    if (index + 1 >= views_.firstTriple.size()) return context;
    context.firstTriple = views_.firstTriple[index];
    context.lastTriple = views_.firstTriple[index + 1];
    context.history = FollowerCount(before, previous);
    return context;
}

float CharacterModel::LogProbability(const Context& context, Id next, double floor) const {
    if (context.history <= 0 || next == kUnknown)
        return LogProbability(context.previous, next, floor);
    const Id previous = context.previous;
    const double pair = FollowerCount(previous, next);
    const double triple = CountOf(views_.triples, context.firstTriple, context.lastTriple, next);
    const double probability =
        kTripleWeight * std::min(1.0, triple / context.history) +
        (1 - kTripleWeight) * PairProbability(pair, Count(previous), Count(next), floor, total_);
    return static_cast<float>(std::log(probability));
}

}  // namespace zelk::join
