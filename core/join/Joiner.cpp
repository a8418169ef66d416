#include "join/Joiner.h"

#include <algorithm>
#include <limits>

#include "base/ChineseCharacters.h"
#include "base/Unicode.h"

namespace zelk::join {

using base::AppendUtf16;
using base::CodePointOf;
using base::DictionaryEntry;
using base::IsChineseWriting;
using base::LastCodePoint;
using base::StartsSurrogatePair;

namespace {

// The count given to a dictionary character the model has never seen, and
// to any other unseen character: a character with an entry is a word of
// some text, so it is less rare than an arbitrary symbol.
constexpr double kUnseenKeyCount = 0.5;
constexpr double kUnseenCount = 0.05;
// A character with an entry that stands in split text as itself was not
// split: possible (the user typed it so), but unlikely (a log-probability).
constexpr float kKeptWhole = -8.0f;

struct State {
    char32_t character;  // the last character read
    CharacterModel::Id id;
    CharacterModel::Id before;  // the model's id of the character before it
    float score;
    std::uint32_t parent;  // the state before it; kNoParent at the start
};
constexpr std::uint32_t kNoParent = std::numeric_limits<std::uint32_t>::max();

// Keeps the better of two states that read the same last character after
// the same one before it: the model looks two characters back, so only the
// best way to each such pair matters.
void Offer(std::vector<State>& states, const State& state) {
    for (State& other : states) {
        if (other.character == state.character && other.before == state.before) {
            if (state.score > other.score) other = state;
            return;
        }
    }
    states.push_back(state);
}

// The characters of the best of states[first, last), read back along the
// parents to the start.
std::u16string BestPath(const std::vector<State>& states, std::uint32_t first, std::uint32_t last) {
    std::uint32_t best = first;
    for (std::uint32_t s = first; s < last; ++s)
        if (states[s].score > states[best].score) best = s;
    std::vector<char32_t> characters;
    for (std::uint32_t s = best; states[s].parent != kNoParent; s = states[s].parent)
        characters.push_back(states[s].character);
    std::u16string result;
    result.reserve(characters.size());
    for (auto it = characters.rbegin(); it != characters.rend(); ++it) AppendUtf16(result, *it);
    return result;
}

}  // namespace

Joiner::Joiner(const std::vector<DictionaryEntry>& dictionary, std::string_view pairs,
               std::string_view triples)
    : Joiner(dictionary, CharacterModel(pairs, triples)) {}

Joiner::Joiner(const std::vector<DictionaryEntry>& dictionary, CharacterModel model)
    : model_(std::move(model)), nodes_(1), bmpKeys_(0x10000, false), inPieces_(0x10000, false) {
    std::vector<std::pair<std::uint32_t, Reading>> ends;  // (trie node, reading)
    for (const DictionaryEntry& entry : dictionary) {
        const std::u16string key = base::Utf8ToUtf16(entry.key);
        if (!base::IsOneCharacter(key) || !entry.replacement) continue;  // only characters are split
        const char32_t character = CodePointOf(key);
        if (character < 0x10000) {
            bmpKeys_[character] = true;
        } else {
            otherKeys_.insert(character);
        }
        const std::u16string piece = base::Utf8ToUtf16(*entry.replacement);
        if (piece.empty()) continue;  // a character that vanished cannot come back
        longestPiece_ = std::max(longestPiece_, piece.size());
        std::uint32_t node = 0;
        for (char16_t unit : piece) {
            inPieces_[unit] = true;
            const std::uint64_t edge = static_cast<std::uint64_t>(node) << 16 | unit;
            auto it = edges_.find(edge);
            if (it == edges_.end()) {
                it = edges_.emplace(edge, static_cast<std::uint32_t>(nodes_.size())).first;
                nodes_.emplace_back();
            }
            node = it->second;
        }
        ends.emplace_back(node, Reading{character, model_.IdOf(character)});
    }
    std::stable_sort(ends.begin(), ends.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& pair : ends) {
        // (Named, not bound: lambdas of every compiler may capture them.)
        const Reading& reading = pair.second;
        Node& end = nodes_[pair.first];
        const auto first = readings_.begin() + end.firstReading;
        if (end.readingCount == 0) {
            end.firstReading = static_cast<std::uint32_t>(readings_.size());
        } else if (std::any_of(first, first + end.readingCount, [&](const Reading& r) {
                       return r.character == reading.character;
                   })) {
            continue;  // the same entry twice
        }
        readings_.push_back(reading);
        ++end.readingCount;
    }
}

bool Joiner::HasEntry(char32_t character) const {
    if (character < 0x10000) return bmpKeys_[character];
    return otherKeys_.count(character) != 0;
}

std::uint32_t Joiner::Child(std::uint32_t node, char16_t unit) const {
    const auto it = edges_.find(static_cast<std::uint64_t>(node) << 16 | unit);
    return it == edges_.end() ? 0 : it->second;
}

std::u16string Joiner::Join(std::u16string_view text) const {
    const std::size_t n = text.size();
    // The states that end at each position, stored as they are reached;
    // states that end further on wait in a ring as long as the longest reach.
    std::vector<State> states;
    std::vector<std::uint32_t> firstState(n + 2, 0);
    std::vector<std::vector<State>> waiting(longestPiece_ + 3);
    std::vector<CharacterModel::Context> contexts;  // of the states at the current position
    waiting[0].push_back({0, CharacterModel::kUnknown, CharacterModel::kUnknown, 0.0f, kNoParent});
    for (std::size_t i = 0; i <= n; ++i) {
        std::vector<State>& arrived = waiting[i % waiting.size()];
        firstState[i] = static_cast<std::uint32_t>(states.size());
        states.insert(states.end(), arrived.begin(), arrived.end());
        arrived.clear();
        firstState[i + 1] = static_cast<std::uint32_t>(states.size());
        if (i == n || firstState[i] == firstState[i + 1]) continue;

        // What the model knows of each state's last two characters, looked
        // up once for all the characters that may follow.
        contexts.clear();
        for (std::uint32_t s = firstState[i]; s < firstState[i + 1]; ++s)
            contexts.push_back(model_.ContextOf(states[s].before, states[s].id));
        const auto extend = [&](std::size_t end, char32_t character, CharacterModel::Id id,
                                double floor, float penalty) {
            std::vector<State>& target = waiting[end % waiting.size()];
            for (std::uint32_t s = firstState[i]; s < firstState[i + 1]; ++s) {
                const float step = model_.LogProbability(contexts[s - firstState[i]], id, floor);
                Offer(target, {character, id, states[s].id, states[s].score + step + penalty, s});
            }
        };
        // The character at i as it stands.
        const std::size_t length = StartsSurrogatePair(text, i) ? 2 : 1;
        const char32_t standing = CodePointOf(text.substr(i, length));
        const bool hasEntry = HasEntry(standing);
        extend(i + length, standing, model_.IdOf(standing),
               hasEntry ? kUnseenKeyCount : kUnseenCount, hasEntry ? kKeptWhole : 0.0f);
        // Every character whose piece starts here.
        std::uint32_t node = 0;
        for (std::size_t j = i; j < n; ++j) {
            node = Child(node, text[j]);
            if (node == 0) break;
            const Node& reached = nodes_[node];
            // A reading may not end inside a surrogate pair.
            if (reached.readingCount == 0 || (j + 1 < n && StartsSurrogatePair(text, j))) continue;
            for (std::uint32_t r = 0; r < reached.readingCount; ++r) {
                const Reading& reading = readings_[reached.firstReading + r];
                extend(j + 1, reading.character, reading.id, kUnseenKeyCount, 0.0f);
            }
        }
    }
    if (n == 0) return {};
    return BestPath(states, firstState[n], firstState[n + 1]);
}

void Joiner::AddSlots(std::u16string_view stretch, std::vector<Slot>& slots) const {
    const auto lengthAt = [&](std::size_t i) { return StartsSurrogatePair(stretch, i) ? 2 : 1; };
    for (std::size_t i = 0; i < stretch.size();) {
        // A run of Chinese characters and parts is one piece.
        std::size_t end = i;
        while (end < stretch.size() &&
               IsChineseWriting(CodePointOf(stretch.substr(end, lengthAt(end))))) {
            end += lengthAt(end);
        }
        std::uint32_t node = 0;
        for (std::size_t j = i; j < end && (node = Child(node, stretch[j])) != 0; ++j) {
        }
        if (end > i && node != 0 && nodes_[node].readingCount > 0) {
            slots.push_back({nodes_[node].firstReading, nodes_[node].readingCount, 0});
            i = end;
            continue;
        }
        // Anything else stands as it is, a character at a time.
        const std::size_t stop = std::max(end, i + lengthAt(i));
        for (; i < stop; i += lengthAt(i)) {
            slots.push_back({0, 0, CodePointOf(stretch.substr(i, lengthAt(i)))});
        }
    }
}

std::u16string Joiner::ReadSlots(const std::vector<Slot>& slots) const {
    // A best path as in Join, over places whose cuts are known.
    std::vector<State> states{
        {0, CharacterModel::kUnknown, CharacterModel::kUnknown, 0.0f, kNoParent}};
    std::uint32_t first = 0, last = 1;  // the states of the place before
    std::vector<State> next;
    for (const Slot& slot : slots) {
        next.clear();
        for (std::uint32_t s = first; s < last; ++s) {
            const CharacterModel::Context context =
                model_.ContextOf(states[s].before, states[s].id);
            const auto offer = [&](char32_t character, CharacterModel::Id id, double floor) {
                const float step = model_.LogProbability(context, id, floor);
                Offer(next, {character, id, states[s].id, states[s].score + step, s});
            };
            if (slot.readingCount == 0) {
                offer(slot.standing, model_.IdOf(slot.standing),
                      HasEntry(slot.standing) ? kUnseenKeyCount : kUnseenCount);
                continue;
            }
            for (std::uint32_t r = 0; r < slot.readingCount; ++r) {
                const Reading& reading = readings_[slot.firstReading + r];
                offer(reading.character, reading.id, kUnseenKeyCount);
            }
        }
        first = static_cast<std::uint32_t>(states.size());
        states.insert(states.end(), next.begin(), next.end());
        last = static_cast<std::uint32_t>(states.size());
    }
    return BestPath(states, first, last);
}

std::u16string Joiner::JoinSeparated(std::u16string_view text,
                                     std::u16string_view separator) const {
    std::u16string result;
    result.reserve(text.size());
    std::vector<Slot> slots;  // of the line so far
    const auto endLine = [&] {
        result += ReadSlots(slots);
        slots.clear();
    };
    std::size_t start = 0;  // of the stretch not cut into slots yet
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == u'\n' || text[i] == u'\r') {
            AddSlots(text.substr(start, i - start), slots);
            endLine();
            result += text[i++];
            start = i;
            continue;
        }
        if (separator.empty() || text.compare(i, separator.size(), separator) != 0) {
            ++i;
            continue;
        }
        const std::size_t after = i + separator.size();
        const bool written = IsChineseWriting(LastCodePoint(text.substr(start, i - start))) &&
                             after < text.size() &&
                             IsChineseWriting(CodePointOf(text.substr(after, 2)));
        if (written) {
            AddSlots(text.substr(start, i - start), slots);
            start = after;
        }
        i = after;
    }
    AddSlots(text.substr(start), slots);
    endLine();
    return result;
}

}  // namespace zelk::join
