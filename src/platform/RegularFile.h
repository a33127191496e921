#pragma once

#include <QByteArray>
#include <QString>

// Reads whole files that must be regular files. A named pipe, a socket or a device in a file's
// place would make the reader wait for a writer or read without end, so it is refused before it
// is opened; and no file is read beyond a size the caller sets, so that memory stays bounded.
namespace RegularFile {

// The whole file at `path`, at most `maxSize` bytes. Raises EInOutError with a message naming
// the path when the file cannot be opened or read, is no regular file, or holds more than
// `maxSize` bytes.
QByteArray read(const QString& path, qint64 maxSize);

} // namespace RegularFile
