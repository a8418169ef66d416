#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "DictionaryEntry.h"

namespace zelk {

// The dictionary held in memory, with the database's rules, so that a
// program without the database (the browser edition) splits and joins as
// zelk-split does: rows in order, a key matched as the key column compares
// (ASCII letters in either case), the first row of a key the one a lookup
// finds, and the merges of zelk-dict import.
class MemoryDictionary {
  public:
    enum class Merge {
        KeepExisting,  // a key with a row keeps it; new keys are added
        ReplaceKeys,   // a key's first row takes the entry; new keys are added
    };

    // Merges entries in order; a later entry for a key the merge itself
    // wrote replaces the earlier one, whatever the mode.
    void Merge(const std::vector<DictionaryEntry>& entries, enum Merge mode);

    // The replacement of the first row whose key equals key, null for a
    // null replacement; nothing when no row has the key.
    const DictionaryEntry* Find(std::string_view key) const;
    // The piece of one character (UTF-16), as LookupChar gives it: its
    // first row's replacement (empty for null), or nothing.
    const std::u16string* PieceOf(char32_t character) const;

    // Every row, in order.
    const std::vector<DictionaryEntry>& Entries() const { return rows_; }

    // Whether two keys are equal as the key column compares them.
    static bool SameKey(std::string_view a, std::string_view b) { return Folded(a) == Folded(b); }

  private:
    static std::string Folded(std::string_view key);
    std::size_t Write(std::size_t row, const DictionaryEntry& entry);

    std::vector<DictionaryEntry> rows_;
    std::unordered_map<std::string, std::size_t> firstRow_;  // by folded key
    // The pieces of the one-character keys by their folded character, for
    // splitting.
    std::unordered_map<char32_t, std::u16string> pieces_;
};

}  // namespace zelk
