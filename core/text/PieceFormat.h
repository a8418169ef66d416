#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelk {

// How the pieces of a split are written out for batch use. Plain: one after
// the other. With a separator: the separator between the pieces of two
// consecutive characters on one line (讠青 讠上 米青), never next to a line
// break. With a mark format: each split character (one whose piece is not
// itself) written as the format with {c} replaced by the character and {p}
// by its piece (请(讠青)); characters left whole are written plain.
class PieceFormat {
  public:
    PieceFormat(std::optional<std::u16string> separator, std::optional<std::u16string> mark)
        : separator_(std::move(separator)), mark_(std::move(mark)) {}

    // Appends one character's piece to out.
    void Append(std::u16string_view character, std::u16string_view piece, std::u16string& out);
    // Forgets the previous piece, as at the start of a new text.
    void Restart() { previousOnLine_ = false; }

  private:
    std::optional<std::u16string> separator_;
    std::optional<std::u16string> mark_;
    bool previousOnLine_ = false;  // a piece was written on this line already
};

}  // namespace zelk
