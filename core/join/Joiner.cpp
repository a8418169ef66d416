#include "join/Joiner.h"

#include <algorithm>
#include <limits>

#include "base/ChineseCharacters.h"
#include "base/Unicode.h"
#include "join/JoinStream.h"

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

}  // namespace

Joiner::Joiner(const std::vector<DictionaryEntry>& dictionary, std::string_view pairs,
               std::string_view triples)
    : Joiner(dictionary, CharacterModel(pairs, triples)) {}

Joiner::Joiner(const std::vector<DictionaryEntry>& dictionary, CharacterModel model)
    : model_(std::move(model)), nodes_(1), bmpKeys_(0x10000, false) {
    std::vector<std::pair<std::uint32_t, Reading>> ends;  // (trie node, reading)
    for (const DictionaryEntry& entry : dictionary) {
        const std::u16string key = base::Utf8ToUtf16(entry.key);
        if (!base::IsOneCharacter(key) || !entry.replacement)
            continue;  // only characters are split
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

std::u16string Joiner::Join(std::u16string_view text, std::u16string_view separator) const {
    JoinStream stream(*this, std::u16string(separator));
    std::u16string joined = stream.Push(text);
    joined += stream.Finish();
    return joined;
}

void Joiner::OfferPlace(std::u16string_view text, std::size_t i, ReadingPath& path) const {
    // The character at i as it stands.
    const std::size_t length = base::CharacterLength(text, i);
    const char32_t standing = CodePointOf(text.substr(i, length));
    const bool hasEntry = HasEntry(standing);
    path.Offer(length, standing, model_.IdOf(standing), hasEntry ? kUnseenKeyCount : kUnseenCount,
               hasEntry ? kKeptWhole : 0.0f);
    // Every character whose piece starts here.
    std::uint32_t node = 0;
    for (std::size_t j = i; j < text.size(); ++j) {
        node = Child(node, text[j]);
        if (node == 0) break;
        const Node& reached = nodes_[node];
        // A reading may not end inside a surrogate pair.
        if (reached.readingCount == 0 || StartsSurrogatePair(text, j)) continue;
        for (std::uint32_t r = 0; r < reached.readingCount; ++r) {
            const Reading& reading = readings_[reached.firstReading + r];
            path.Offer(j + 1 - i, reading.character, reading.id, kUnseenKeyCount);
        }
    }
}

bool Joiner::OfferPiece(std::u16string_view run, ReadingPath& path) const {
    std::uint32_t node = 0;
    for (std::size_t j = 0; j < run.size(); ++j) {
        node = Child(node, run[j]);
        if (node == 0) return false;
    }
    const Node& reached = nodes_[node];
    if (run.empty() || reached.readingCount == 0) return false;
    for (std::uint32_t r = 0; r < reached.readingCount; ++r) {
        const Reading& reading = readings_[reached.firstReading + r];
        path.Offer(1, reading.character, reading.id, kUnseenKeyCount);
    }
    return true;
}

void Joiner::OfferStanding(char32_t character, ReadingPath& path) const {
    path.Offer(1, character, model_.IdOf(character),
               HasEntry(character) ? kUnseenKeyCount : kUnseenCount);
}

}  // namespace zelk::join
