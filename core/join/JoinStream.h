#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "join/Joiner.h"

namespace zelk::join {

// Reads split text back as it arrives in parts (a file read in chunks, a
// page that joins a long text bit by bit): each part is joined up to the
// last place where a cut changes nothing, and the rest waits for the next.
class JoinStream {
  public:
    // separator: the one the split was written with; empty for none.
    JoinStream(const Joiner& joiner, std::u16string separator);

    // Takes the next part of the text; gives what is read back already.
    std::u16string Push(std::u16string_view text);
    // The end of the text: gives the rest, read back.
    std::u16string Finish();

    // Where text that goes on can be cut so that joining the two parts
    // apart reads as joining them whole, but for the one character of
    // context at the cut: after the last line break, or else, without a
    // separator, before the last code unit that no piece holds; with one,
    // between two code units that are neither Chinese nor part of the
    // separator. 0 when there is no such place.
    std::size_t LastSafeCut(std::u16string_view text) const;

    // Text with no such place is cut anyway after this many code units, so
    // that memory stays bounded.
    static constexpr std::size_t kLongestWait = 16 << 20;

  private:
    std::u16string Read(std::u16string_view text) const;

    const Joiner& joiner_;
    std::u16string separator_;
    std::u16string pending_;
};

}  // namespace zelk::join
