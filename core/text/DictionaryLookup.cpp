#include "DictionaryLookup.h"

#include "CodePage.h"
#include "ReadTransaction.h"
#include "RecordOperations.h"

namespace zelk {

std::u16string LookupChar(TADOQuery& lookupCursor, std::u16string_view character) {
    const CodePage codePage = lookupCursor.Connection().WindowCodePage();
    const std::optional<std::string> replacement =
        FindEntry(lookupCursor, Utf16ToAnsi(character, codePage));
    if (!replacement) return std::u16string(character);
    return AnsiToUtf16(*replacement, codePage);
}

bool HasEntry(TADOQuery& lookupCursor, char32_t character) {
    const std::string key =
        Utf16ToAnsi(CodePointToUtf16(character), lookupCursor.Connection().WindowCodePage());
    return FindEntry(lookupCursor, key).has_value();
}

void SplitWithDictionary(TADOQuery& lookupCursor, std::u16string_view sentence,
                         const PieceReceiver& receiver) {
    ReadTransaction transaction(lookupCursor.Connection());
    SplitSentence(
        sentence,
        [&](std::u16string_view character) {
            transaction.Begin();
            return LookupChar(lookupCursor, character);
        },
        receiver);
}

}  // namespace zelk
