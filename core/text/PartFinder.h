#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/DictionaryEntry.h"
#include "text/CharacterRanks.h"

namespace zelk::text {

// Finds characters by their parts, for riddles and for reading split text:
// the dictionary entries whose replacement holds every given part (a part
// given twice must occur twice), or with exact set, whose replacement is the
// parts in order and nothing else. Only entries whose key is one character
// take part. The most common characters come first: by their rank in
// running text where ranks know them; then those of GB2312's first level,
// its second, the rest of GBK and all others, each group in GBK's order (by
// pinyin in the first level). Texts are UTF-8.
std::vector<base::DictionaryEntry> FindByParts(const std::vector<base::DictionaryEntry>& entries,
                                         const std::vector<std::string>& parts, bool exact,
                                         const CharacterRanks* ranks = nullptr);

// 1 for GB2312's first level (the common characters), 2 for its second, 3
// for the rest of GBK, 4 for characters outside it.
int CommonnessGroup(std::u16string_view character);

}  // namespace zelk::text
