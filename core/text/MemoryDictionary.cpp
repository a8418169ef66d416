#include "text/MemoryDictionary.h"

#include <unordered_set>

#include "base/Unicode.h"

namespace zelk::text {

using base::DictionaryEntry;
using base::MergePolicy;

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
    const std::u16string key = base::Utf8ToUtf16(entry.key);
    if (base::IsOneCharacter(key)) {
        pieces_[FoldedCharacter(base::CodePointOf(key))] =
            base::Utf8ToUtf16(entry.replacement.value_or(""));
    }
    return row;
}

base::ImportSummary MemoryDictionary::Merge(const std::vector<DictionaryEntry>& entries,
                                           MergePolicy policy) {
    if (policy == MergePolicy::ReplaceAll) *this = MemoryDictionary();
    base::ImportSummary summary;
    std::unordered_set<std::size_t> written;
    for (const DictionaryEntry& entry : entries) {
        const auto it = firstRow_.find(Folded(entry.key));
        if (it == firstRow_.end()) {
            written.insert(Write(rows_.size(), entry));
            ++summary.added;
            continue;
        }
        const bool own = written.contains(it->second);
        if (policy == MergePolicy::KeepExisting && !own) {
            ++summary.kept;
            continue;
        }
        ++(own ? summary.repeated : summary.changed);
        written.insert(Write(it->second, entry));
    }
    return summary;
}

bool MemoryDictionary::Remove(std::string_view key) {
    const auto it = firstRow_.find(Folded(key));
    if (it == firstRow_.end()) return false;
    std::vector<DictionaryEntry> rows = std::move(rows_);
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(it->second));
    // The indexes follow the rows: made anew, as the rows now stand.
    *this = MemoryDictionary();
    for (const DictionaryEntry& row : rows) {
        if (!firstRow_.contains(Folded(row.key))) {
            Write(rows_.size(), row);
        } else {
            rows_.push_back(row);
        }
    }
    return true;
}

const DictionaryEntry* MemoryDictionary::Find(std::string_view key) const {
    const auto it = firstRow_.find(Folded(key));
    return it == firstRow_.end() ? nullptr : &rows_[it->second];
}

const std::u16string* MemoryDictionary::PieceFor(char32_t character) const {
    // ASCII letters find the row of either case, as the key column compares.
    const auto it = pieces_.find(FoldedCharacter(character));
    return it == pieces_.end() ? nullptr : &it->second;
}

std::u16string_view MemoryDictionary::PieceOf(std::u16string_view character) {
    const std::u16string* piece = PieceFor(base::CodePointOf(character));
    return piece ? std::u16string_view(*piece) : character;
}

}  // namespace zelk::text
