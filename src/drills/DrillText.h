#pragma once

#include "platform/TextLines.h"

#include <QByteArray>
#include <QString>

// Turning what a user hands the text drill (a file, the clipboard) into its 8-bit sample:
// Windows-1252 characters with CR LF line breaks.
namespace DrillText {

// The sample of a wide text: every line break (CR LF, CR, LF, paragraph and line separators)
// becomes CR LF; NUL and other control characters but the tab are dropped; characters without
// a Windows-1252 code become '?'.
QByteArray fromUnicode(const QString& text);

// The wide text of a file's bytes: an RTF document's plain text; otherwise UTF-8 when the bytes
// are valid UTF-8 (with or without its byte order mark), UTF-16 with a byte order mark, else
// Windows-1252.
QString decodeFile(const QByteArray& bytes);

// The longest text a drill takes, in characters (and file bytes). 16 Mi characters are some 900
// hours of typing at 300 keys a minute; a text of that size is taken in about a second and a half,
// where one of 64 MiB took more than 5 seconds.
constexpr qint64 MaxTextLength = 16 * 1024 * 1024;

// Reads a text or RTF file into a sample. Raises EInOutError with a clear message when the file
// cannot be read, is no regular file (a pipe, a device) or is too long.
QByteArray loadFile(const QString& path);

// Raises EInOutError when a text of `length` characters is too long for a drill.
void checkLength(qint64 length);

} // namespace DrillText
