#include "WindowText.h"

#include "CodePage.h"

QString FromWindowText(std::string_view windowText) {
    return FromUtf16(zelk::AnsiToUtf16(windowText));
}

std::string ReadBoxText(const QLineEdit* box) {
    return zelk::Utf16ToAnsi(ToUtf16(box->text()));
}

void WriteBoxText(QLineEdit* box, std::string_view windowText) {
    const QString text = FromWindowText(windowText);
    if (box->text() != text) box->setText(text);
}
