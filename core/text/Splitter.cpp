#include "Splitter.h"

#include "CodePage.h"

namespace zelk {

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

}  // namespace zelk
