#pragma once

#include <QLineEdit>
#include <QString>
#include <string>
#include <string_view>

// The boxes hold window text: text in the ANSI code page, which on Linux is
// UTF-8. These carry it between the Qt widgets, which hold UTF-16, and the
// core, which works in window text and UTF-16.

inline std::u16string ToUtf16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

inline QString FromUtf16(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// Window text as the widgets hold it.
QString FromWindowText(std::string_view windowText);
// The box's whole text, in the window code page.
std::string ReadBoxText(const QLineEdit* box);
// Replaces the box's whole text; the same text leaves the box untouched.
void WriteBoxText(QLineEdit* box, std::string_view windowText);
