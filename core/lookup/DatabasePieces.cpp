#include "lookup/DatabasePieces.h"

#include "base/CodePage.h"
#include "base/Unicode.h"
#include "database/RecordOperations.h"

namespace zelk::lookup {

std::u16string LookupChar(db::TADOQuery& lookupCursor, std::u16string_view character) {
    const base::CodePage codePage = lookupCursor.Connection().WindowCodePage();
    const std::optional<std::string> replacement =
        db::FindEntry(lookupCursor, base::Utf16ToAnsi(character, codePage));
    if (!replacement) return std::u16string(character);
    return base::AnsiToUtf16(*replacement, codePage);
}

bool HasEntry(db::TADOQuery& lookupCursor, char32_t character) {
    const std::string key = base::Utf16ToAnsi(base::CodePointToUtf16(character),
                                              lookupCursor.Connection().WindowCodePage());
    return db::FindEntry(lookupCursor, key).has_value();
}

std::u16string_view DatabasePieces::PieceOf(std::u16string_view character) {
    transaction_.Begin();
    piece_ = LookupChar(cursor_, character);
    return piece_;
}

}  // namespace zelk::lookup
