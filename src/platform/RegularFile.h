#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// Reading and writing whole files that must be regular files. Nothing here ever waits on a
// pipe, a socket or a device put in place of a file: such a thing would make a reader wait for a
// writer or read without end, so it is refused before it is opened.
namespace RegularFile {

// The whole file at `path`, at most `maxSize` bytes, so that memory stays bounded. Raises
// EInOutError with a message naming the path when the file cannot be opened or read, is no
// regular file, or holds more than `maxSize` bytes.
QByteArray read(const QString& path, qint64 maxSize);

enum class ReadResult { Read, Missing, NotReadable };

// The whole file into bytes, and what the opened file was (info) when it was read. A path
// that names nothing is Missing; one that names something that is not a regular file, or a
// file that may not be read, is NotReadable.
ReadResult read(const QString& path, QByteArray& bytes, struct stat& info);

// Puts bytes in place of the file's content, or creates the file. Where its folder may be
// written, a new file beside it takes the bytes and is renamed over it, so a crash or a
// failure leaves the old or the new content and never a mixture; the new file keeps the old
// one's mode and, where the system allows, its owner and group. Where the folder may not be
// written but the file may (a shared folder whose data files are opened to a group), the file
// is written in place. A symbolic link is followed, so the file it names is written. A
// temporary file that an interrupted replace left beside the file is removed on the way.
// False when the system refuses; the file then keeps its content, but for a failed write in
// place, which may leave it partly written.
bool write(const QString& path, const QByteArray& bytes);

// Forces the file's content and its folder entry to the storage device; errors are ignored.
void sync(const QString& path);

} // namespace RegularFile
