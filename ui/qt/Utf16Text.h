#pragma once

#include <QString>
#include <string>
#include <string_view>

// Qt's strings and the engine's hold the same UTF-16 code units, lone
// surrogates included: these copy between them as they are.

inline std::u16string ToUtf16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

inline QString FromUtf16(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}
