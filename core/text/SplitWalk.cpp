#include "text/SplitWalk.h"

#include "base/Unicode.h"

namespace zelk::text {

void SplitWalk::Push(std::u16string_view text) {
    struct Pauser {
        PieceSource& source;
        ~Pauser() { source.Pause(); }
    } pauser{source_};
    for (std::size_t i = 0; i < text.size();) {
        const std::u16string_view character = text.substr(i, base::CharacterLength(text, i));
        receiver_(character, source_.PieceOf(character));
        i += character.size();
    }
}

void SplitSentence(std::u16string_view sentence, PieceSource& source,
                   const PieceReceiver& receiver) {
    SplitWalk(source, receiver).Push(sentence);
}

}  // namespace zelk::text
