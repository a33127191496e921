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

// As read() above, but a file that an Update of another program holds is read only when that
// Update is over (a shared flock, taken on the file that the name still stands for), so that a
// file being written in place is never read half-written. The wait is bounded: a file still
// locked after `wait` is read as it is then, since a program that hangs in a save must not keep
// every other from starting, and a save in place leaves the old or the new text between any two
// of its calls. Only a file that was found regular is opened, so this never waits on a pipe.
ReadResult readShared(const QString& path, QByteArray& bytes, struct stat& info, qint64 maxSize,
                      std::chrono::milliseconds wait = UpdateLockWait);

// The reader's words for a file of `size` bytes where at most `maxSize` may be.
QString tooLargeMessage(const QString& path, qint64 size, qint64 maxSize);

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
    // or the new content and never a mixture. The new file is given everything that decides
    // who may use the old one: owner, group, mode with its set-id bits, ACL entries and every
    // other extended attribute, each checked afterwards. Where that cannot be done, where the
    // file has another hard link (which a new file would leave with the old text), or where the
    // folder may not be written but the file may (a shared folder whose data files are opened
    // to a group), the file is written in place. A symbolic link is followed, so the file it
    // names is written. The new file is named ".<file name>.quorvel-<16 hex digits>.tmp"; one of
    // exactly that form that an interrupted save left beside the file is removed on the way,
    // and no other file.
    //
    // In place, the file never holds a mixture of the two texts between two system calls: a
    // longer text first gets its room as `lineEnd`s after the old text, then the new text,
    // padded with `lineEnd`s to the old length when it is shorter, goes in with one write, and a
    // truncation last takes the padding off. A kill leaves the old or the new text, perhaps
    // followed by blank lines; only a kill or a crash inside that one write can leave less.
    //
    // False when the system refuses or the Update is not held; the file then keeps its content
    // (perhaps with blank lines after it), but for a write in place that failed half-way.
    // `written` is then what the file is now.
    bool write(const QByteArray& bytes, struct stat& written, const QByteArray& lineEnd = "\n");

private:
    QByteArray m_target; // the file, links followed
    int m_fd = -1;       // open on the file, holding the lock
    bool m_missing = false;
    bool m_created = false; // made empty by this Update and not yet written
};

// Puts bytes in place of the file's content, or creates the file, as one Update.
bool write(const QString& path, const QByteArray& bytes);

// For tests only: called, when set, right after each call that changes the file in a write in
// place, so that a test can end its process there.
inline void (*afterInPlaceStep)() = nullptr;

// Forces the file's content and its folder entry to the storage device; errors are ignored.
void sync(const QString& path);

} // namespace RegularFile
