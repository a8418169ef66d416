#pragma once

#include <string>
#include <string_view>

#include "AdoQuery.h"
#include "Splitter.h"

namespace zelk {

// The splitter on the dictionary database.

// The piece for one character, by one FindEntry on the lookup cursor: the
// first entry's replacement, or the character itself when it has none.
std::u16string LookupChar(TADOQuery& lookupCursor, std::u16string_view character);

// Whether the character (a code point) has an entry, by one FindEntry.
bool HasEntry(TADOQuery& lookupCursor, char32_t character);

// SplitSentence with LookupChar on the lookup cursor, all lookups inside one
// read transaction that begins at the first lookup.
void SplitWithDictionary(TADOQuery& lookupCursor, std::u16string_view sentence,
                         const PieceReceiver& receiver);

}  // namespace zelk
