#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "AdoQuery.h"
#include "DictionaryLookup.h"

namespace zelk {

// The dictionary as a batch split of a large text uses it: each distinct
// character is looked up once, by LookupChar on the lookup cursor, and its
// piece is remembered for the rest of the run. Answers are therefore exactly
// the window's, whatever the database's comparison, key types or views, and
// entries that no character of the text matches cost nothing. Unlike the
// window, it keeps what it has read: an entry changed during the run shows
// only for characters not met before.
class CachedDictionary {
  public:
    explicit CachedDictionary(TADOQuery& lookupCursor) : cursor_(lookupCursor) {}

    // The number of distinct characters looked up so far.
    std::size_t size() const { return pieces_.size(); }

    // SplitSentence with the remembered pieces; the characters met for the
    // first time are looked up inside one read transaction.
    void Split(std::u16string_view sentence, const PieceReceiver& receiver);

  private:
    TADOQuery& cursor_;
    // By code point; a lone surrogate stands for itself.
    std::unordered_map<char32_t, std::u16string> pieces_;
};

}  // namespace zelk
