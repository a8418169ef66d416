#include "MemoryDictionary.h"

#include <unordered_set>

#include "CodePage.h"

namespace zelk {

namespace {

char32_t FoldedCharacter(char32_t c) {
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

}  // namespace

std::string MemoryDictionary::Folded(std::string_view key) {
    std::string folded(key);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::size_t MemoryDictionary::Write(std::size_t row, const DictionaryEntry& entry) {
    if (row == rows_.size()) {
        rows_.push_back(entry);
        firstRow_.emplace(Folded(entry.key), row);
    } else {
        rows_[row] = entry;
    }
    const std::u16string key = AnsiToUtf16(entry.key, kCodePageUtf8);
    if (IsOneCharacter(key)) {
        pieces_[FoldedCharacter(CodePointOf(key))] =
            AnsiToUtf16(entry.replacement.value_or(""), kCodePageUtf8);
    }
    return row;
}

void MemoryDictionary::Merge(const std::vector<DictionaryEntry>& entries, enum Merge mode) {
    std::unordered_set<std::size_t> written;
    for (const DictionaryEntry& entry : entries) {
        const auto it = firstRow_.find(Folded(entry.key));
        if (it == firstRow_.end()) {
            written.insert(Write(rows_.size(), entry));
            continue;
        }
        if (mode == Merge::KeepExisting && !written.contains(it->second)) continue;
        written.insert(Write(it->second, entry));
    }
}

const DictionaryEntry* MemoryDictionary::Find(std::string_view key) const {
    const auto it = firstRow_.find(Folded(key));
    return it == firstRow_.end() ? nullptr : &rows_[it->second];
}

const std::u16string* MemoryDictionary::PieceOf(char32_t character) const {
    // ASCII letters find the row of either case, as the key column compares.
    const auto it = pieces_.find(FoldedCharacter(character));
    return it == pieces_.end() ? nullptr : &it->second;
}

}  // namespace zelk
