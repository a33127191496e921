#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The 8-bit code page of drill texts, typed keys, ini values and course files: Windows-1252.
// Per-character conversions use tables built once, so they are cheap enough for every keystroke.
namespace CodePage {

QString toUnicode(const QByteArray& bytes);
QString toUnicode(std::string_view bytes);
// Characters without a Windows-1252 code become '?'.
QByteArray fromUnicode(const QString& text);

QChar charToUnicode(unsigned char c);
// The code of a character, or nothing when Windows-1252 has none.
std::optional<unsigned char> unicodeToChar(QChar c);

} // namespace CodePage
