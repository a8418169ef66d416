#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "lookup/DatabasePieces.h"

namespace zelk::lookup {

// The dictionary as a batch split of a large text uses it: each distinct
// character is looked up once, by LookupChar on the lookup cursor, and its
// piece is remembered for the rest of the run. Answers are therefore exactly
// the window's, whatever the database's comparison, key types or views, and
// entries that no character of the text matches cost nothing. Unlike the
// window, it keeps what it has read: an entry changed during the run shows
// only for characters not met before. The characters met for the first time
// in one part of a text are looked up inside one read transaction.
class CachedPieces : public text::PieceSource {
  public:
    explicit CachedPieces(db::TADOQuery& lookupCursor) : lookups_(lookupCursor) {}

    std::u16string_view PieceOf(std::u16string_view character) override;
    void Pause() noexcept override { lookups_.Pause(); }

    // The number of distinct characters looked up so far.
    std::size_t size() const { return pieces_.size(); }

  private:
    DatabasePieces lookups_;
    // By code point; a lone surrogate stands for itself.
    std::unordered_map<char32_t, std::u16string> pieces_;
};

}  // namespace zelk::lookup
