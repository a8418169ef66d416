#include "text/SplitWalk.h"

#include <algorithm>

#include "base/AtScopeEnd.h"
#include "base/Unicode.h"

namespace zelk::text {

void SplitWalk::Push(std::u16string_view text) {
    const base::AtScopeEnd pause([this] { source_.Pause(); });
    for (std::size_t i = 0; i < text.size();) {
        const std::u16string_view character = text.substr(i, base::CharacterLength(text, i));
        i += character.size();
        if (!scope_) {
            receiver_(character, source_.PieceOf(character));
            continue;
        }
        std::size_t covers = 0;
        state_ = scope_->Next(state_, base::CodePointOf(character), covers);
        waiting_.push_back({std::u16string(character)});
        for (std::size_t k = 0; k < covers; ++k) waiting_[waiting_.size() - 1 - k].covered = true;
        HandOver(waiting_.size() - std::min(waiting_.size(), scope_->Open(state_)));
    }
}

void SplitWalk::HandOver(std::size_t count) {
    for (; count > 0; --count) {
        const Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        receiver_(next.character, next.covered ? source_.PieceOf(next.character)
                                               : std::u16string_view(next.character));
    }
}

void SplitWalk::Finish() {
    const base::AtScopeEnd pause([this] { source_.Pause(); });
    HandOver(waiting_.size());
    state_ = WordScope::Start();
}

void SplitSentence(std::u16string_view sentence, PieceSource& source,
                   const PieceReceiver& receiver) {
    SplitWalk walk(source, receiver);
    walk.Push(sentence);
    walk.Finish();
}

}  // namespace zelk::text
