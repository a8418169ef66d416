#include "Joiner.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "CodePage.h"

namespace zelk {

namespace {

// A stretch of text that is no reading of anything costs this much (a
// log-probability): far below any known word, so text is passed through only
// where nothing reads.
constexpr float kPassThrough = -30.0f;
// A dictionary character that the counts do not know is taken as this rare.
constexpr double kUnknownCharacterCount = 7.0;

struct Frequency {
    std::u16string text;
    double count;
};

std::vector<Frequency> ParseFrequencies(std::string_view tsv, double& total) {
    std::vector<Frequency> rows;
    total = 0;
    std::size_t start = 0;
    while (start < tsv.size()) {
        std::size_t end = tsv.find('\n', start);
        if (end == std::string_view::npos) end = tsv.size();
        const std::string_view line = tsv.substr(start, end - start);
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        std::uint64_t count = 0;
        const std::string_view number = line.substr(tab + 1);
        if (std::from_chars(number.data(), number.data() + number.size(), count).ec != std::errc())
            continue;
        rows.push_back(
            {AnsiToUtf16(line.substr(0, tab), kCodePageUtf8), static_cast<double>(count)});
        total += static_cast<double>(count);
    }
    return rows;
}

}  // namespace

Joiner::Joiner(const std::vector<DictionaryEntry>& dictionary, std::string_view frequencies) {
    nodes_.emplace_back();  // the root
    double total = 0;
    const std::vector<Frequency> counts = ParseFrequencies(frequencies, total);
    total = std::max(total, 1.0);
    const auto score = [&](double count) { return static_cast<float>(std::log(count / total)); };

    // The pieces text was split with: the first entry of each key.
    std::unordered_map<std::u16string, double> known;
    for (const Frequency& row : counts) known.emplace(row.text, row.count);
    for (const DictionaryEntry& entry : dictionary) {
        if (!entry.replacement) continue;
        const std::u16string key = AnsiToUtf16(entry.key, kCodePageUtf8);
        const std::u16string piece = AnsiToUtf16(*entry.replacement, kCodePageUtf8);
        if (!IsOneCharacter(key)) continue;  // only single characters are split
        if (key.size() == 1) {
            pieces_.emplace(key[0], piece);
        } else {
            longPieces_.emplace(key, piece);
        }
        if (piece.empty()) continue;  // a character that vanished cannot come back
        const auto it = known.find(key);
        AddForm(piece, key, score(it != known.end() ? it->second : kUnknownCharacterCount));
    }
    // Words and characters as their split forms read.
    for (const Frequency& row : counts) {
        const std::u16string form = SplitForm(row.text);
        if (!form.empty()) AddForm(form, row.text, score(row.count));
    }
}

std::u16string Joiner::SplitForm(std::u16string_view text) const {
    std::u16string form;
    for (std::size_t i = 0; i < text.size();) {
        if (StartsSurrogatePair(text, i)) {
            const std::u16string key(text.substr(i, 2));
            const auto it = longPieces_.find(key);
            form += it != longPieces_.end() ? it->second : key;
            i += 2;
        } else {
            const auto it = pieces_.find(text[i]);
            if (it != pieces_.end()) {
                form += it->second;
            } else {
                form += text[i];
            }
            ++i;
        }
    }
    return form;
}

std::uint32_t Joiner::Child(std::uint32_t node, char16_t unit) const {
    const auto it = edges_.find(static_cast<std::uint64_t>(node) << 16 | unit);
    return it == edges_.end() ? 0 : it->second;
}

void Joiner::AddForm(std::u16string_view form, std::u16string_view output, float score) {
    std::uint32_t node = 0;
    for (char16_t unit : form) {
        const std::uint64_t edge = static_cast<std::uint64_t>(node) << 16 | unit;
        auto it = edges_.find(edge);
        if (it == edges_.end()) {
            it = edges_.emplace(edge, static_cast<std::uint32_t>(nodes_.size())).first;
            nodes_.emplace_back();
        }
        node = it->second;
    }
    if (IsOneCharacter(output)) {
        auto [it, added] = characterForms_.try_emplace(std::u16string(form),
                                                       Reading{std::u16string(output), score});
        if (!added && score > it->second.score) it->second = {std::u16string(output), score};
    }
    Node& end = nodes_[node];
    if (end.output == 0 || score > end.score) {
        outputs_.emplace_back(output);
        end.output = static_cast<std::uint32_t>(outputs_.size());
        end.score = score;
    }
}

std::u16string Joiner::Join(std::u16string_view text) const {
    const std::size_t n = text.size();
    constexpr float kNone = -std::numeric_limits<float>::infinity();
    // best[i]: the best score of a reading of text[0, i); from[i]: where
    // its last step starts, and what it reads (0: the text itself).
    std::vector<float> best(n + 1, kNone);
    std::vector<std::uint32_t> from(n + 1, 0), output(n + 1, 0);
    best[0] = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (best[i] == kNone) continue;
        const std::size_t unit = StartsSurrogatePair(text, i) ? 2 : 1;
        if (best[i] + kPassThrough > best[i + unit]) {
            best[i + unit] = best[i] + kPassThrough;
            from[i + unit] = static_cast<std::uint32_t>(i);
            output[i + unit] = 0;
        }
        std::uint32_t node = 0;
        for (std::size_t j = i; j < n; ++j) {
            node = Child(node, text[j]);
            if (node == 0) break;
            const Node& reached = nodes_[node];
            // A reading may not end inside a surrogate pair.
            if (reached.output == 0 || (j + 1 < n && StartsSurrogatePair(text, j))) continue;
            const float score = best[i] + reached.score;
            if (score > best[j + 1]) {
                best[j + 1] = score;
                from[j + 1] = static_cast<std::uint32_t>(i);
                output[j + 1] = reached.output;
            }
        }
    }
    std::vector<std::size_t> ends;
    for (std::size_t j = n; j > 0; j = from[j]) ends.push_back(j);
    std::u16string result;
    result.reserve(n);
    for (auto it = ends.rbegin(); it != ends.rend(); ++it) {
        const std::size_t j = *it;
        if (output[j] == 0) {
            result += text.substr(from[j], j - from[j]);
        } else {
            result += outputs_[output[j] - 1];
        }
    }
    return result;
}

std::u16string Joiner::JoinSeparated(std::u16string_view text,
                                     std::u16string_view separator) const {
    std::u16string result;
    const auto readPiece = [&](std::u16string_view piece) {
        const auto it = characterForms_.find(std::u16string(piece));
        result += it != characterForms_.end() ? std::u16string_view(it->second.character) : piece;
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size();) {
        const bool lineBreak = i < text.size() && (text[i] == u'\n' || text[i] == u'\r');
        const bool atSeparator = !separator.empty() && i < text.size() &&
                                 text.compare(i, separator.size(), separator) == 0;
        if (i == text.size() || lineBreak || atSeparator) {
            readPiece(text.substr(start, i - start));
            if (i == text.size()) break;
            if (lineBreak) {
                result += text[i];
                i += 1;
            } else {
                i += separator.size();
            }
            start = i;
            continue;
        }
        ++i;
    }
    return result;
}

}  // namespace zelk
