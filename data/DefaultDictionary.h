#pragma once

#include <string_view>
#include <vector>

#include "DictionaryTsv.h"

namespace zelk {

// The generated dictionary (cjk-decomp-lr.tsv) as built into the program.
std::string_view GeneratedDictionaryTsv();
// The hand-written supplement (supplement.tsv).
std::string_view SupplementDictionaryTsv();
// The entries a new database gets: the generated ones, then the supplement's.
std::vector<DictionaryEntry> DefaultDictionaryEntries();

// The optional top-bottom and enclosing set (top-bottom.tsv: 李 木子, 国 囗玉),
// kept out of the default dictionary.
std::string_view TopBottomDictionaryTsv();
std::vector<DictionaryEntry> TopBottomEntries();

}  // namespace zelk
