#include "lookup/CachedPieces.h"

#include "base/Unicode.h"

namespace zelk::lookup {

std::u16string_view CachedPieces::PieceOf(std::u16string_view character) {
    const char32_t codePoint = base::CodePointOf(character);
    auto it = pieces_.find(codePoint);
    if (it == pieces_.end()) it = pieces_.emplace(codePoint, lookups_.PieceOf(character)).first;
    return it->second;
}

}  // namespace zelk::lookup
