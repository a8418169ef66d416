#include "WindowText.h"

#include "CodePage.h"

std::string ReadBoxText(const QLineEdit* box) {
    return zelk::Utf16ToAnsi(ToUtf16(box->text()));
}

void WriteBoxText(QLineEdit* box, std::string_view windowText) {
    const QString text = FromUtf16(zelk::AnsiToUtf16(windowText));
    if (box->text() != text) box->setText(text);
}
