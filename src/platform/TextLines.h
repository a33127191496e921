#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// Splits 8-bit text into lines; a line ends at CR, LF or CR LF. A last line without an end is
// kept; a text that ends with a line end has no empty line after it.
std::vector<QByteArray> splitLines(const QByteArray& text);

// Reads a whole file as lines. Raises EInOutError with a clear message when it cannot be read.
std::vector<QByteArray> loadLines(const QString& path);
