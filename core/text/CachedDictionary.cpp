#include "CachedDictionary.h"

#include "CodePage.h"
#include "ReadTransaction.h"

namespace zelk {

void CachedDictionary::Split(std::u16string_view sentence, const PieceReceiver& receiver) {
    ReadTransaction transaction(cursor_.Connection());
    SplitSentence(
        sentence,
        [&](std::u16string_view character) {
            const char32_t codePoint = CodePointOf(character);
            auto it = pieces_.find(codePoint);
            if (it == pieces_.end()) {
                transaction.Begin();
                it = pieces_.emplace(codePoint, LookupChar(cursor_, character)).first;
            }
            return it->second;
        },
        receiver);
}

}  // namespace zelk
