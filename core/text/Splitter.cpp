#include "Splitter.h"

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

void SplitSentence(std::u16string_view sentence, const CharLookup& lookup,
                   const PieceReceiver& receiver) {
    const std::size_t n = sentence.size();
    for (std::size_t i = 0; i < n;) {
        const std::size_t length = StartsSurrogatePair(sentence, i) ? 2 : 1;
        const std::u16string piece = lookup(sentence.substr(i, length));
        receiver(piece);
        i += length;
    }
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
