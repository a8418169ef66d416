#pragma once

#include <optional>
#include <string>

namespace zelk {

// One dictionary entry, as a row of chr12 holds it: the key and its
// replacement (null when absent), as UTF-8 text.
struct DictionaryEntry {
    std::string key;
    std::optional<std::string> replacement;
    bool operator==(const DictionaryEntry&) const = default;
};

}  // namespace zelk
