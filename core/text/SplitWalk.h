#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "text/WordScope.h"

namespace zelk::text {

// Where the walk gets a character's piece: the dictionary database, one
// lookup a character (lookup/DatabasePieces), the same remembered for a
// run (lookup/CachedPieces), or a dictionary held in memory
// (text/MemoryDictionary).
class PieceSource {
  public:
    virtual ~PieceSource() = default;
    // The piece of one character (one code unit, or a surrogate pair): its
    // entry's replacement, or the character itself when it has none. The
    // view stays valid until the next call.
    virtual std::u16string_view PieceOf(std::u16string_view character) = 0;
    // The walk has handed over all it had: a source that reads a database
    // ends its read, so that the file is not held while the text waits.
    virtual void Pause() noexcept {}
};

// Takes one character and its piece as soon as the piece is found.
using PieceReceiver = std::function<void(std::u16string_view character, std::u16string_view piece)>;

// The one walk over text that every way into the program splits with:
// from the first character to the last, for each one the source's piece,
// then the receiver, before the next character. A character is one UTF-16
// code unit, except that a well-formed surrogate pair is one character.
// Whatever the source or the receiver raises stops the walk at once.
//
// With a scope, only the characters inside occurrences of its words are
// split (the source asked); every other character is its own piece. A
// character is handed over once no occurrence can still reach it, so the
// pieces of the last few characters wait for the text after them, or for
// Finish.
class SplitWalk {
  public:
    SplitWalk(PieceSource& source, PieceReceiver receiver, const WordScope* scope = nullptr)
        : source_(source), receiver_(std::move(receiver)), scope_(scope) {}

    // The next part of the text, of whole characters; the source is paused
    // afterwards, however the walk ended.
    void Push(std::u16string_view text);
    // The text has ended: what waits is handed over.
    void Finish();

  private:
    struct Waiting {
        std::u16string character;
        bool covered = false;
    };
    void HandOver(std::size_t count);

    PieceSource& source_;
    PieceReceiver receiver_;
    const WordScope* scope_;
    WordScope::State state_ = WordScope::Start();
    std::deque<Waiting> waiting_;  // the characters an occurrence may still reach
};

// The walk over one whole sentence.
void SplitSentence(std::u16string_view sentence, PieceSource& source,
                   const PieceReceiver& receiver);

}  // namespace zelk::text
