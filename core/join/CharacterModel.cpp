#include "CharacterModel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "CodePage.h"

namespace zelk {

namespace {

// The weight of the pair counts against the characters' own: a pair seen in
// text says more than a character's frequency, but the text is never all
// there is.
constexpr double kPairWeight = 0.8;
// The weight of a triple against its last pair: less than a pair's, since
// triples are seen far fewer times each.
constexpr double kTripleWeight = 0.3;
constexpr double kLevelScale = 4.0;
// The count each level stands for.
const std::array<float, '~' - '!' + 1> kLevelCounts = [] {
    std::array<float, '~' - '!' + 1> counts;
    for (std::size_t level = 0; level < counts.size(); ++level)
        counts[level] = static_cast<float>(std::exp(static_cast<double>(level) / kLevelScale));
    return counts;
}();

struct Line {
    char32_t character;
    double count;
    std::string_view followers;
};

bool ParseLine(std::string_view line, Line& parsed) {
    if (line.empty() || line[0] == '#') return false;
    const std::size_t length = DecodeUtf8(line, 0, parsed.character);
    if (length == 0 || length >= line.size() || line[length] != '\t') return false;
    const std::string_view rest = line.substr(length + 1);
    const std::size_t tab = rest.find('\t');
    const std::string_view number = rest.substr(0, tab);
    std::uint64_t count = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
    if (error != std::errc() || end != number.data() + number.size()) return false;
    parsed.count = static_cast<double>(count);
    parsed.followers = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return true;
}

// Splits text into lines and hands each to read.
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

}  // namespace

CharacterModel::CharacterModel(std::string_view pairs, std::string_view triples)
    : bmpIds_(0x10000, kUnknown) {
    std::vector<Line> lines;
    ForEachLine(pairs, [&](std::string_view line) {
        Line parsed{};
        if (ParseLine(line, parsed)) lines.push_back(parsed);
    });
    // Ids in code point order, so that followers written in that order need
    // no sorting; the first line of a character counts.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.character < b.character; });
    lines.erase(
        std::unique(lines.begin(), lines.end(),
                    [](const Line& a, const Line& b) { return a.character == b.character; }),
        lines.end());
    counts_.reserve(lines.size() + 1);
    counts_.push_back(0);
    for (const Line& line : lines) {
        const Id id = static_cast<Id>(counts_.size());
        if (line.character < 0x10000) {
            bmpIds_[line.character] = id;
        } else {
            otherIds_.emplace(line.character, id);
        }
        counts_.push_back(line.count);
        total_ += line.count;
    }
    // Followers, now that every character has its id (line i is id i + 1).
    followers_.reserve(pairs.size() / 4);
    firstFollower_.assign(counts_.size() + 1, 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        firstFollower_[i + 1] = static_cast<std::uint32_t>(followers_.size());
        ReadFollowers(lines[i].followers, followers_);
    }
    firstFollower_[counts_.size()] = static_cast<std::uint32_t>(followers_.size());
    ReadTriples(triples);
}

void CharacterModel::ReadFollowers(std::string_view list, std::vector<Follower>& into) const {
    const std::size_t begin = into.size();
    for (std::size_t at = 0; at < list.size();) {
        char32_t next = 0;
        const std::size_t length = DecodeUtf8(list, at, next);
        if (length == 0 || at + length >= list.size()) break;
        const unsigned char level = static_cast<unsigned char>(list[at + length]);
        at += length + 1;
        const Id id = IdOf(next);
        if (id == kUnknown || level < '!' || level > '~') continue;
        into.push_back({id << 8 | static_cast<std::uint32_t>(level - '!')});
    }
    const auto first = into.begin() + static_cast<std::ptrdiff_t>(begin);
    const auto byId = [](const Follower& a, const Follower& b) { return a.Next() < b.Next(); };
    if (!std::is_sorted(first, into.end(), byId)) std::sort(first, into.end(), byId);
}

void CharacterModel::ReadTriples(std::string_view text) {
    // Room for the most the text can hold (a next character and its level
    // take at least four bytes); pages never written cost no memory.
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    tripleHistories_.reserve(lines);
    firstTriple_.reserve(lines + 1);
    triples_.reserve(text.size() / 4);
    bool ordered = true;
    ForEachLine(text, [&](std::string_view line) {
        char32_t before = 0, previous = 0;
        const std::size_t first = DecodeUtf8(line, 0, before);
        const std::size_t second = first ? DecodeUtf8(line, first, previous) : 0;
        if (second == 0 || first + second >= line.size() || line[first + second] != '\t') return;
        const Id a = IdOf(before), b = IdOf(previous);
        if (a == kUnknown || b == kUnknown) return;
        const std::uint64_t key = static_cast<std::uint64_t>(a) << 32 | b;
        ordered = ordered && (tripleHistories_.empty() || tripleHistories_.back() < key);
        tripleHistories_.push_back(key);
        firstTriple_.push_back(static_cast<std::uint32_t>(triples_.size()));
        ReadFollowers(line.substr(first + second + 1), triples_);
    });
    firstTriple_.push_back(static_cast<std::uint32_t>(triples_.size()));
    if (!ordered) OrderTriples();
}

void CharacterModel::OrderTriples() {
    // Pairs in code point order come in order; others are sorted here, the
    // first line of a pair counting.
    std::vector<std::size_t> lines(tripleHistories_.size());
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = i;
    std::stable_sort(lines.begin(), lines.end(), [&](std::size_t x, std::size_t y) {
        return tripleHistories_[x] < tripleHistories_[y];
    });
    std::vector<std::uint64_t> histories;
    std::vector<std::uint32_t> firsts;
    std::vector<Follower> triples;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::size_t i = lines[k];
        if (!histories.empty() && histories.back() == tripleHistories_[i]) continue;
        histories.push_back(tripleHistories_[i]);
        firsts.push_back(static_cast<std::uint32_t>(triples.size()));
        triples.insert(triples.end(), triples_.begin() + firstTriple_[i],
                       triples_.begin() + firstTriple_[i + 1]);
    }
    firsts.push_back(static_cast<std::uint32_t>(triples.size()));
    tripleHistories_ = std::move(histories);
    firstTriple_ = std::move(firsts);
    triples_ = std::move(triples);
}

CharacterModel::Id CharacterModel::IdOf(char32_t character) const {
    if (character < 0x10000) return bmpIds_[character];
    const auto it = otherIds_.find(character);
    return it == otherIds_.end() ? kUnknown : it->second;
}

float CharacterModel::CountOf(const std::vector<Follower>& followers, std::uint32_t first,
                              std::uint32_t last, Id next) {
    const auto begin = followers.begin() + first;
    const auto end = followers.begin() + last;
    const auto it =
        std::lower_bound(begin, end, next, [](const Follower& f, Id id) { return f.Next() < id; });
    return it != end && it->Next() == next ? kLevelCounts[it->Level()] : 0.0f;
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
    const double pair =
        known ? CountOf(followers_, firstFollower_[previous], firstFollower_[previous + 1], next)
              : 0;
    return static_cast<float>(std::log(
        PairProbability(pair, known ? counts_[previous] : 0, counts_[next], floor, total_)));
}

CharacterModel::Context CharacterModel::ContextOf(Id before, Id previous) const {
    Context context;
    context.previous = previous;
    if (before == kUnknown || previous == kUnknown) return context;
    const std::uint64_t key = static_cast<std::uint64_t>(before) << 32 | previous;
    const auto it = std::lower_bound(tripleHistories_.begin(), tripleHistories_.end(), key);
    if (it == tripleHistories_.end() || *it != key) return context;
    const auto index = static_cast<std::size_t>(it - tripleHistories_.begin());
    context.firstTriple = firstTriple_[index];
    context.lastTriple = firstTriple_[index + 1];
    context.history =
        CountOf(followers_, firstFollower_[before], firstFollower_[before + 1], previous);
    return context;
}

float CharacterModel::LogProbability(const Context& context, Id next, double floor) const {
    if (context.history <= 0 || next == kUnknown)
        return LogProbability(context.previous, next, floor);
    const Id previous = context.previous;
    const double pair =
        CountOf(followers_, firstFollower_[previous], firstFollower_[previous + 1], next);
    const double triple = CountOf(triples_, context.firstTriple, context.lastTriple, next);
    const double probability = kTripleWeight * std::min(1.0, triple / context.history) +
                               (1 - kTripleWeight) * PairProbability(pair, counts_[previous],
                                                                     counts_[next], floor, total_);
    return static_cast<float>(std::log(probability));
}

}  // namespace zelk
