#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/DictionaryEntry.h"
#include "text/SplitWalk.h"

namespace zelk::text {

// The dictionary held in memory, with the database's rules, so that a
// program without the database (the browser edition) splits and joins as
// zelk-split does: rows in order, a key matched as the key column compares
// (ASCII letters in either case), the first row of a key the one a lookup
// finds, and the merges of zelk-dict import.
class MemoryDictionary : public PieceSource {
  public:
    // Merges entries in order, as an import with this policy writes them
    // into the database, and counts as it counts.
    base::ImportSummary Merge(const std::vector<base::DictionaryEntry>& entries,
                              base::MergePolicy policy);
    // Deletes the first row whose key equals key; false when none has it.
    bool Remove(std::string_view key);

    // The first row whose key equals key, or nothing when no row has it.
    const base::DictionaryEntry* Find(std::string_view key) const;
    // The piece of one character (a code point), as LookupChar gives it: its
    // first row's replacement (empty for null), or nothing without a row.
    const std::u16string* PieceFor(char32_t character) const;
    // The walk's piece: that piece, or the character itself.
    std::u16string_view PieceOf(std::u16string_view character) override;

    // Every row, in order.
    const std::vector<base::DictionaryEntry>& Entries() const { return rows_; }

    // Whether two keys are equal as the key column compares them.
    static bool SameKey(std::string_view a, std::string_view b) { return Folded(a) == Folded(b); }

  private:
    static std::string Folded(std::string_view key);
    std::size_t Write(std::size_t row, const base::DictionaryEntry& entry);

    std::vector<base::DictionaryEntry> rows_;
    std::unordered_map<std::string, std::size_t> firstRow_;  // by folded key
    // The pieces of the one-character keys by their folded character, for
    // splitting.
    std::unordered_map<char32_t, std::u16string> pieces_;
};

}  // namespace zelk::text
