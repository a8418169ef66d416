#include "text/WordScope.h"

#include <algorithm>
#include <deque>

#include "base/ChineseCharacters.h"
#include "base/Unicode.h"
#include "text/EngineError.h"

namespace zelk::text {

namespace {

std::uint64_t Edge(std::uint32_t node, char32_t character) {
    return std::uint64_t{node} << 32 | character;
}

}  // namespace

WordScope::WordScope(const std::vector<std::u16string>& words) : nodes_(1) {
    for (const std::u16string& word : words) {
        std::uint32_t node = 0;
        for (std::size_t i = 0; i < word.size(); i += base::CharacterLength(word, i)) {
            const char32_t character = base::CodePointOf(std::u16string_view(word).substr(i, 2));
            const auto [it, added] = edges_.try_emplace(Edge(node, character),
                                                        static_cast<std::uint32_t>(nodes_.size()));
            if (added) nodes_.push_back({nodes_[node].depth + 1, 0, 0});
            node = it->second;
        }
        nodes_[node].longest = nodes_[node].depth;
    }
    // Failure links breadth first: a node's is its parent's followed by the
    // same character, or the root's child, or the root.
    std::vector<std::vector<std::pair<char32_t, std::uint32_t>>> children(nodes_.size());
    for (const auto& [edge, child] : edges_)
        children[edge >> 32].emplace_back(static_cast<char32_t>(edge & 0xFFFFFFFF), child);
    std::deque<std::uint32_t> queue;
    for (const auto& [character, child] : children[0]) queue.push_back(child);
    while (!queue.empty()) {
        const std::uint32_t node = queue.front();
        queue.pop_front();
        for (const auto& [character, child] : children[node]) {
            std::uint32_t fallback = nodes_[node].failure;
            std::uint32_t target;
            while ((target = Child(fallback, character)) == 0 && fallback != 0)
                fallback = nodes_[fallback].failure;
            nodes_[child].failure = target == child ? 0 : target;
            nodes_[child].longest =
                std::max(nodes_[child].longest, nodes_[nodes_[child].failure].longest);
            queue.push_back(child);
        }
    }
}

std::uint32_t WordScope::Child(std::uint32_t node, char32_t character) const {
    const auto it = edges_.find(Edge(node, character));
    return it == edges_.end() ? 0 : it->second;
}

WordScope::State WordScope::Next(State state, char32_t character, std::size_t& covers) const {
    std::uint32_t next;
    while ((next = Child(state, character)) == 0 && state != 0) state = nodes_[state].failure;
    covers = nodes_[next].longest;
    return next;
}

std::vector<std::u16string> ParseWordList(std::string_view text, std::string_view sourceName) {
    std::vector<std::u16string> words;
    std::size_t lineNumber = 0;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // byte order mark
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (!base::IsValidUtf8(line)) {
            throw EngineError(ErrorCode::OnlyNotUtf8, std::string(sourceName), lineNumber);
        }
        std::u16string word = base::Utf8ToUtf16(line);
        if (!base::HasChineseCharacter(word)) {
            throw EngineError(ErrorCode::OnlyWithoutChinese, std::string(sourceName), lineNumber,
                              std::string(line));
        }
        words.push_back(std::move(word));
    }
    if (words.empty()) throw EngineError(ErrorCode::OnlyEmpty, std::string(sourceName));
    return words;
}

void CheckWords(const std::vector<std::u16string>& words) {
    if (words.empty()) throw EngineError(ErrorCode::OnlyEmpty);
    for (const std::u16string& word : words) {
        if (!base::HasChineseCharacter(word)) {
            throw EngineError(ErrorCode::OnlyWithoutChinese, {}, 0, base::Utf16ToUtf8(word));
        }
    }
}

}  // namespace zelk::text
