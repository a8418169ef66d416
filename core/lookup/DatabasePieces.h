#pragma once

#include <string>
#include <string_view>

#include "database/AdoQuery.h"
#include "database/ReadTransaction.h"
#include "text/SplitWalk.h"

namespace zelk::lookup {

// The splitter on the dictionary database.

// The piece for one character, by one FindEntry on the lookup cursor: the
// first entry's replacement, or the character itself when it has none.
std::u16string LookupChar(db::TADOQuery& lookupCursor, std::u16string_view character);

// Whether the character (a code point) has an entry, by one FindEntry.
bool HasEntry(db::TADOQuery& lookupCursor, char32_t character);

// The window's piece source: every character looked up as it comes, by
// LookupChar on the lookup cursor, all lookups of one source inside one read
// transaction that begins at the first lookup and ends with the source.
class DatabasePieces : public text::PieceSource {
  public:
    explicit DatabasePieces(db::TADOQuery& lookupCursor)
        : cursor_(lookupCursor), transaction_(lookupCursor.Connection()) {}

    std::u16string_view PieceOf(std::u16string_view character) override;
    void Pause() noexcept override { transaction_.End(); }

  private:
    db::TADOQuery& cursor_;
    db::ReadTransaction transaction_;
    std::u16string piece_;
};

}  // namespace zelk::lookup
