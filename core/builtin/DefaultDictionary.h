#pragma once

#include <string_view>
#include <vector>

#include "base/DictionaryEntry.h"
#include "text/DictionaryComposition.h"

namespace zelk::builtin {

// The dictionary sets as built into the program, so that it needs no data
// file at run time.

// The generated dictionary (cjk-decomp-lr.tsv).
std::string_view GeneratedDictionaryTsv();
// The hand-written supplement (supplement.tsv).
std::string_view SupplementDictionaryTsv();
// The optional top-bottom and enclosing set (top-bottom.tsv: 李 木子, 国 囗玉),
// kept out of the default dictionary.
std::string_view TopBottomDictionaryTsv();

// The three sets, parsed.
text::ShippedSets BuiltinSets();
// The generated entries, then the supplement's, as a new database merges them.
std::vector<base::DictionaryEntry> DefaultDictionaryEntries();
std::vector<base::DictionaryEntry> TopBottomEntries();

}  // namespace zelk::builtin
