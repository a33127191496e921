#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <sys/stat.h>

// Reading and writing whole files that must be regular files. Nothing here ever waits on a
// pipe, a socket or a device put in place of a file: such a thing would make a reader wait for a
// writer or read without end, so it is refused before it is opened. The only wait is an
// Update's for another Update of the same file, and it is bounded.
namespace RegularFile {

// The whole file at `path`, at most `maxSize` bytes, so that memory stays bounded. Raises
// EInOutError with a message naming the path when the file cannot be opened or read, is no
// regular file, or holds more than `maxSize` bytes.
QByteArray read(const QString& path, qint64 maxSize);

enum class ReadResult { Read, Missing, NotReadable, TooLarge };

// The whole file into bytes, at most maxSize of them, and what the opened file was (info) when
// it was read. A path that names nothing is Missing; one that names something that is not a
// regular file, or a file that may not be read, is NotReadable; a file of more than maxSize
// bytes is TooLarge, and bytes then stay empty.
ReadResult read(const QString& path, QByteArray& bytes, struct stat& info, qint64 maxSize);

// How long an update waits for another one of the same file to finish.
inline constexpr std::chrono::milliseconds UpdateLockWait{5000};

// One change of a file: its current content is read and its new content put in place while a
// lock on the file keeps every other Update of it waiting, so that two programs changing one
// file never undo each other's changes. The lock is an flock on the file itself, which works in
// a folder that may not be written; a writer that replaces the file holds the lock on the old
// file until the new one is in place, and a waiter that then finds the name holding another
// file locks that one instead. Nothing waits longer than `wait`: a lock not obtained by then
// leaves the Update not held. The lock goes when the Update does.
class Update {
public:
    // With `create`, a missing file is created empty (and removed again when nothing is written
    // into it); without, a missing file leaves the Update not held and missing() true.
    Update(const QString& path, bool create, std::chrono::milliseconds wait = UpdateLockWait);
    ~Update();
    Update(const Update&) = delete;
    Update& operator=(const Update&) = delete;

    bool held() const { return m_fd >= 0; }
    bool missing() const { return m_missing; }

    // The file's current content, as read() reads it; NotReadable when the Update is not held.
    ReadResult read(QByteArray& bytes, struct stat& info, qint64 maxSize);

    // Puts bytes in place of the file's content. Where its folder may be written, a new file
    // beside it takes the bytes and is renamed over it, so a crash or a failure leaves the old
    // or the new content and never a mixture; the new file keeps the old one's mode, owner and
    // group. Where the folder may not be written but the file may (a shared folder whose data
    // files are opened to a group), or where the new file could not be given the old one's
    // owner and group, the file is written in place. A symbolic link is followed, so the file
    // it names is written. The new file is named ".<file name>.quorvel-<16 hex digits>.tmp";
    // one of exactly that form that an interrupted save left beside the file is removed on the
    // way, and no other file. False when the system refuses or the Update is not held; the file
    // then keeps its content, but for a failed write in place, which may leave it partly
    // written. `written` is then what the file is now.
    bool write(const QByteArray& bytes, struct stat& written);

private:
    QByteArray m_target; // the file, links followed
    int m_fd = -1;       // open on the file, holding the lock
    bool m_missing = false;
    bool m_created = false; // made empty by this Update and not yet written
};

// Puts bytes in place of the file's content, or creates the file, as one Update.
bool write(const QString& path, const QByteArray& bytes);

// Forces the file's content and its folder entry to the storage device; errors are ignored.
void sync(const QString& path);

} // namespace RegularFile
