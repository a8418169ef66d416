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
constexpr double kLevelScale = 4.0;

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

}  // namespace

CharacterModel::CharacterModel(std::string_view text) : bmpIds_(0x10000, kUnknown) {
    std::vector<Line> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        Line line{};
        if (ParseLine(text.substr(start, end - start), line)) lines.push_back(line);
        start = end + 1;
    }
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
    // Followers, now that every character has its id.
    std::array<float, '~' - '!' + 1> levelCounts;
    for (std::size_t level = 0; level < levelCounts.size(); ++level)
        levelCounts[level] = static_cast<float>(std::exp(static_cast<double>(level) / kLevelScale));
    followers_.reserve(text.size() / 4);
    firstFollower_.assign(counts_.size() + 1, 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t begin = followers_.size();
        firstFollower_[i + 1] = static_cast<std::uint32_t>(begin);  // line i is id i + 1
        const std::string_view list = lines[i].followers;
        for (std::size_t at = 0; at < list.size();) {
            char32_t next = 0;
            const std::size_t length = DecodeUtf8(list, at, next);
            if (length == 0 || at + length >= list.size()) break;
            const unsigned char level = static_cast<unsigned char>(list[at + length]);
            at += length + 1;
            const Id id = IdOf(next);
            if (id == kUnknown || level < '!' || level > '~') continue;
            followers_.push_back({id, levelCounts[level - '!']});
        }
        const auto first = followers_.begin() + static_cast<std::ptrdiff_t>(begin);
        const auto byId = [](const Follower& a, const Follower& b) { return a.next < b.next; };
        if (!std::is_sorted(first, followers_.end(), byId))
            std::sort(first, followers_.end(), byId);
    }
    firstFollower_[counts_.size()] = static_cast<std::uint32_t>(followers_.size());
    followers_.shrink_to_fit();
}

CharacterModel::Id CharacterModel::IdOf(char32_t character) const {
    if (character < 0x10000) return bmpIds_[character];
    const auto it = otherIds_.find(character);
    return it == otherIds_.end() ? kUnknown : it->second;
}

float CharacterModel::LogProbability(Id previous, Id next, double floor) const {
    double probability = (1 - kPairWeight) * (counts_[next] + floor) / total_;
    if (previous != kUnknown && next != kUnknown && counts_[previous] > 0) {
        const auto first = followers_.begin() + firstFollower_[previous];
        const auto last = followers_.begin() + firstFollower_[previous + 1];
        const auto it = std::lower_bound(first, last, next,
                                         [](const Follower& f, Id id) { return f.next < id; });
        if (it != last && it->next == next)
            probability += kPairWeight * it->count / counts_[previous];
    }
    return static_cast<float>(std::log(probability));
}

}  // namespace zelk
