#pragma once

#include <vector>

#include "base/DictionaryEntry.h"
#include "text/MemoryDictionary.h"

namespace zelk::text {

// The dictionary sets the program ships, as the build made them.
struct ShippedSets {
    std::vector<base::DictionaryEntry> generated;   // cjk-decomp-lr.tsv
    std::vector<base::DictionaryEntry> supplement;  // supplement.tsv: written by hand, over it
    std::vector<base::DictionaryEntry> topBottom;   // top-bottom.tsv: chosen by the user
};

// The one way the sets and the user's own entries combine, in the order
// zelk-dict create [--with top-bottom] and then zelk-dict import
// --replace-keys of the user's entries write them: the supplement's entries
// replace the generated ones of their keys, the top-bottom set fills in
// only keys that have none, and the user's entries replace any.
MemoryDictionary ComposeDictionary(const ShippedSets& sets, bool withTopBottom,
                                   const std::vector<base::DictionaryEntry>& user = {});

}  // namespace zelk::text
