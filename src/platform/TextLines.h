#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// Splits 8-bit text into lines; a line ends at CR, LF or CR LF. A last line without an end is
// kept; a text that ends with a line end has no empty line after it.
std::vector<QByteArray> splitLines(const QByteArray& text);

// The largest text file the program reads (drill texts, course and game files): far beyond any
// text a person types, and small enough that loading it never exhausts the memory.
constexpr qint64 MaxTextFileSize = 64 * 1024 * 1024;

// Reads a whole regular file of at most MaxTextFileSize bytes as lines. Raises EInOutError with
// a clear message when it cannot be read, is no regular file (a pipe, a device) or is larger.
std::vector<QByteArray> loadLines(const QString& path);
