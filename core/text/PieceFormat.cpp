#include "PieceFormat.h"

namespace zelk {

namespace {

bool IsLineBreak(std::u16string_view text) {
    return text == u"\n" || text == u"\r";
}

}  // namespace

void PieceFormat::Append(std::u16string_view character, std::u16string_view piece,
                         std::u16string& out) {
    if (IsLineBreak(character)) {
        out += piece;
        previousOnLine_ = false;
        return;
    }
    if (piece.empty()) return;  // the character disappears, and so does its place
    if (separator_ && previousOnLine_) out += *separator_;
    previousOnLine_ = true;
    if (!mark_ || piece == character) {
        out += piece;
        return;
    }
    const std::u16string& format = *mark_;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 3, u"{c}") == 0) {
            out += character;
            i += 2;
        } else if (format.compare(i, 3, u"{p}") == 0) {
            out += piece;
            i += 2;
        } else {
            out += format[i];
        }
    }
}

}  // namespace zelk
