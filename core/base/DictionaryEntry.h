#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace zelk::base {

// One dictionary entry, as a row of chr12 holds it: the key and its
// replacement (null when absent), as UTF-8 text.
struct DictionaryEntry {
    std::string key;
    std::optional<std::string> replacement;
    bool operator==(const DictionaryEntry&) const = default;
};

// What entries merged into a dictionary do to a key that has an entry
// already. Within one merge, a later entry for a key the merge itself wrote
// replaces the earlier one, whatever the policy.
enum class MergePolicy {
    KeepExisting,  // the key keeps its entry: only new keys are added
    ReplaceKeys,   // the key's first entry is changed, as the maintenance panel's save does
    ReplaceAll,    // the dictionary is emptied first
};

// What a merge did, counted by entry.
struct ImportSummary {
    std::size_t added = 0;     // rows added
    std::size_t changed = 0;   // rows that were there before, changed
    std::size_t kept = 0;      // entries not written: their key has an entry already
    std::size_t repeated = 0;  // entries for a key an earlier entry of the merge wrote
};

}  // namespace zelk::base
