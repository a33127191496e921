#include "platform/RegularFile.h"

#include "platform/Errors.h"
#include "platform/Translation.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/file.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace RegularFile {
namespace {

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }
    // Closes now; false when closing reports an error (a write that did not reach the file).
    bool reset(int fd = -1) {
        const bool ok = m_fd < 0 || ::close(m_fd) == 0;
        m_fd = fd;
        return ok;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& bytes, off_t offset) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(left), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= n;
        offset += n;
    }
    return true;
}

// The file a path stands for: a symbolic link is followed to the file it names.
QByteArray targetOf(const QString& path) {
    const QFileInfo info(path);
    return QFile::encodeName(info.isSymLink() && info.exists() ? info.canonicalFilePath() : path);
}

// Temporary files are ".<file name>.quorvel-<16 lower-case hex digits>.tmp": hidden, and
// marked so that no name a person gives a file is taken for one.
const QByteArray temporaryMarker = ".quorvel-";
const QByteArray temporarySuffix = ".tmp";
constexpr qsizetype temporaryDigits = 16;

QByteArray temporaryName(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray number =
        QByteArray::number(QRandomGenerator::global()->generate64(), 16).rightJustified(temporaryDigits, '0');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + temporaryMarker + number + temporarySuffix;
}

bool isTemporaryOf(const QByteArray& entry, const QByteArray& fileName) {
    const QByteArray prefix = '.' + fileName + temporaryMarker;
    if (entry.size() != prefix.size() + temporaryDigits + temporarySuffix.size() ||
        !entry.startsWith(prefix) || !entry.endsWith(temporarySuffix))
        return false;
    const QByteArrayView number = QByteArrayView(entry).sliced(prefix.size(), temporaryDigits);
    return std::all_of(number.begin(), number.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A writer holds a lock on its temporary file until it has renamed it, and a lock goes with the
// process that held it: a temporary that can be locked was left by a save that did not finish.
void removeStaleTemporaries(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash + 1);
    const QByteArray fileName = target.mid(slash + 1);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.constData()), ::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (!isTemporaryOf(name, fileName)) continue;
        const QByteArray path = folder + (folder.endsWith('/') ? "" : "/") + name;
        const Fd fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat st;
        if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlink(path.constData());
    }
}

// A new temporary file beside the target, open for writing, and a second descriptor on it that
// holds the lock for as long as it is open. Gives 0, or the error that refused it. The lock is
// held on a descriptor that only reads, so that letting it go after the rename does not look to
// the system like another write of the file.
int createTemporary(const QByteArray& target, Fd& fd, Fd& lock, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(target);
        // Private until it has the old file's owner and mode, which come after its content.
        const int created = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (created < 0) {
            if (errno == EEXIST) continue;
            return errno;
        }
        fd.reset(created);
        const int reader = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        lock.reset(reader >= 0 ? reader : ::dup(created));
        // Another save may have taken it for a stale one between its creation and the lock.
        struct stat written, locked;
        if (lock.valid() && ::flock(lock.get(), LOCK_EX) == 0 && ::fstat(fd.get(), &written) == 0 &&
            ::fstat(lock.get(), &locked) == 0 && locked.st_ino == written.st_ino && written.st_nlink > 0)
            return 0;
        lock.reset();
        fd.reset();
    }
    return EEXIST;
}

bool folderRefused(int error) {
    return error == EACCES || error == EPERM;
}

// `length` bytes of blank lines: whole line ends, led by "\n"s where they do not divide it.
QByteArray blankLines(qint64 length, const QByteArray& lineEnd) {
    const QByteArray end = lineEnd.isEmpty() ? QByteArray("\n") : lineEnd;
    QByteArray blank(qsizetype(length % end.size()), '\n');
    blank.reserve(qsizetype(length));
    while (blank.size() < length)
        blank += end;
    return blank;
}

void inPlaceStep() {
    if (afterInPlaceStep) afterInPlaceStep();
}

// Between any two calls the file holds the old or the new text, perhaps followed by blank lines
// (see Update::write). The room for a longer text is taken by its blank lines, so that a full
// disk refuses the write before the old text has changed.
bool writeInPlace(const QByteArray& target, const QByteArray& bytes, struct stat& written,
                  const QByteArray& lineEnd) {
    const Fd fd(::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const qint64 oldSize = st.st_size;
    const qint64 newSize = bytes.size();
    if (newSize > oldSize) {
        if (!writeAll(fd.get(), blankLines(newSize - oldSize, lineEnd), oldSize)) {
            [[maybe_unused]] const int restored = ::ftruncate(fd.get(), oldSize);
            return false;
        }
        inPlaceStep();
    }
    const bool written1 = newSize < oldSize ? writeAll(fd.get(), bytes + blankLines(oldSize - newSize, lineEnd), 0)
                                            : writeAll(fd.get(), bytes, 0);
    if (!written1) return false;
    inPlaceStep();
    if (newSize < oldSize) {
        if (::ftruncate(fd.get(), newSize) != 0) return false;
        inPlaceStep();
    }
    return ::fstat(fd.get(), &written) == 0;
}

// The names of a file's extended attributes (ACLs among them); none where the file system keeps
// none. False when they cannot be listed.
bool attributeNames(int fd, std::vector<QByteArray>& names) {
    names.clear();
    QByteArray list;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0) return errno == ENOTSUP;
        list.resize(qsizetype(size));
        const ssize_t n = size == 0 ? 0 : ::flistxattr(fd, list.data(), size_t(size));
        if (n < 0 && errno == ERANGE) continue; // grew in between
        if (n < 0) return false;
        list.truncate(qsizetype(n));
        for (const QByteArray& name : list.split('\0'))
            if (!name.isEmpty()) names.push_back(name);
        return true;
    }
    return false;
}

// The value of an extended attribute; false when it is missing or cannot be read.
bool attributeValue(int fd, const QByteArray& name, QByteArray& value) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::fgetxattr(fd, name.constData(), nullptr, 0);
        if (size < 0) return false;
        value.resize(qsizetype(size));
        const ssize_t n = size == 0 ? 0 : ::fgetxattr(fd, name.constData(), value.data(), size_t(size));
        if (n < 0 && errno == ERANGE) continue;
        if (n < 0) return false;
        value.truncate(qsizetype(n));
        return true;
    }
    return false;
}

// Gives `to` the extended attributes of `from`, and only those: an ACL the folder's default ACL
// gave the new file goes again. Values that are already equal are left alone, so a file system
// that labels each file (SELinux) asks for no right to relabel. With `change` false it only
// compares. False when they differ and could not be made equal.
bool matchAttributes(int from, int to, bool change) {
    std::vector<QByteArray> wanted, present;
    if (!attributeNames(from, wanted) || !attributeNames(to, present)) return false;
    QByteArray value, existing;
    for (const QByteArray& name : wanted) {
        if (!attributeValue(from, name, value)) return false;
        if (attributeValue(to, name, existing) && existing == value) continue;
        if (!change || ::fsetxattr(to, name.constData(), value.constData(), size_t(value.size()), 0) != 0)
            return false;
    }
    for (const QByteArray& name : present) {
        if (std::find(wanted.begin(), wanted.end(), name) != wanted.end()) continue;
        if (!change || (::fremovexattr(to, name.constData()) != 0 && errno != ENODATA)) return false;
    }
    return true;
}

// Changing the owner takes root; changing the group alone, membership of it. False when the
// new file could not be given both.
bool keepOwnerAndGroup(int fd, const struct stat& old) {
    struct stat now;
    if (::fstat(fd, &now) != 0) return false;
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid) return true;
    return ::fchown(fd, old.st_uid == now.st_uid ? uid_t(-1) : old.st_uid, old.st_gid) == 0;
}

// Gives the new file everything the old one (open as oldFd) had that decides who may use it.
// Its content is written already: writing clears set-id bits and file capabilities, and so does
// a change of owner, so the mode and the attributes come after both. Setting the mode last keeps
// an ACL as it is, since with an ACL the group bits are its mask. False when the new file could
// not be given all of it, checked as it is now.
bool keepAccess(int oldFd, int fd, const struct stat& old) {
    if (!keepOwnerAndGroup(fd, old) || !matchAttributes(oldFd, fd, true) ||
        ::fchmod(fd, old.st_mode & 07777) != 0)
        return false;
    struct stat now;
    return ::fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
           (now.st_mode & 07777) == (old.st_mode & 07777) && matchAttributes(oldFd, fd, false);
}

// The file's content replaced as Update::write describes; old is what the file (open as oldFd)
// is now.
bool replaceContent(int oldFd, const QByteArray& target, const struct stat& old, const QByteArray& bytes,
                    struct stat& written, const QByteArray& lineEnd) {
    // Renaming over a file needs only the folder's permission; a file that may not be written
    // in place must not be replaced either.
    if (::access(target.constData(), W_OK) != 0) return false;
    // A new file would leave the file's other names with the old text.
    if (old.st_nlink > 1) return writeInPlace(target, bytes, written, lineEnd);

    removeStaleTemporaries(target);
    Fd fd;
    Fd lock; // until the rename
    QByteArray temporary;
    if (const int error = createTemporary(target, fd, lock, temporary); error != 0)
        return folderRefused(error) && writeInPlace(target, bytes, written, lineEnd);
    const auto discard = [&] {
        ::unlink(temporary.constData());
        return false;
    };
    if (!writeAll(fd.get(), bytes, 0)) return discard();
    // A replacement that lacks any of it would take the file away from someone.
    if (!keepAccess(oldFd, fd.get(), old)) {
        discard();
        return writeInPlace(target, bytes, written, lineEnd);
    }
    // Closing reports the errors of a network file system.
    if (!fd.reset()) return discard();
    if (::rename(temporary.constData(), target.constData()) == 0) return ::fstat(lock.get(), &written) == 0;
    const int error = errno;
    discard();
    // A folder where everyone may add files but only a file's owner may replace one (the
    // sticky bit).
    return folderRefused(error) && writeInPlace(target, bytes, written, lineEnd);
}

void syncPath(const QByteArray& path, int flags) {
    const Fd fd(::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

// Opens a regular file for reading, looked at before opening (opening a pipe waits for a writer,
// and opening a device may act on it) and again once open, in case the name was replaced in
// between. Gives 0, or the error that refused it; ENODEV for something that is no regular file.
int openRegular(const QByteArray& name, Fd& fd, struct stat& info) {
    if (::stat(name.constData(), &info) != 0) return errno;
    if (!S_ISREG(info.st_mode)) return ENODEV;
    int opened = -1;
    do {
        opened = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (opened < 0 && errno == EINTR);
    if (opened < 0) return errno;
    fd.reset(opened);
    if (::fstat(fd.get(), &info) != 0) return errno;
    return S_ISREG(info.st_mode) ? 0 : ENODEV;
}

// Reads to the end, or to one byte past maxSize. The size known beforehand is a hint only: the
// file may grow or shrink while it is read. Gives 0 or the error of the read.
int readAll(int fd, qint64 sizeHint, qint64 maxSize, QByteArray& bytes) {
    bytes.resize(qsizetype(std::min<qint64>(std::max<qint64>(sizeHint, 0) + 1, maxSize + 1)));
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxSize) break;
            bytes.resize(qsizetype(std::min<qint64>(total + std::max<qint64>(total, 64 * 1024), maxSize + 1)));
        }
        const ssize_t n = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            bytes.clear();
            return error;
        }
        if (n == 0) break;
        total += n;
    }
    bytes.truncate(qsizetype(total));
    return 0;
}

ReadResult readOpened(int fd, QByteArray& bytes, const struct stat& info, qint64 maxSize) {
    if (info.st_size > maxSize) return ReadResult::TooLarge;
    if (readAll(fd, info.st_size, maxSize, bytes) != 0) return ReadResult::NotReadable;
    if (bytes.size() <= maxSize) return ReadResult::Read;
    bytes.clear();
    bytes.squeeze();
    return ReadResult::TooLarge;
}

[[noreturn]] void cannotOpen(const QString& path, int error) {
    const QString reason = error == ENODEV ? i18n("It is not a regular file.")
                                           : QString::fromLocal8Bit(std::strerror(error));
    throw EInOutError(formatText(i18n("Cannot open file \"%s\". %s"), {path, reason}));
}

[[noreturn]] void tooLarge(const QString& path, qint64 size, qint64 maxSize) {
    throw EInOutError(tooLargeMessage(path, size, maxSize));
}

} // namespace

QString tooLargeMessage(const QString& path, qint64 size, qint64 maxSize) {
    return formatText(i18n("The file \"%s\" is too large: %d bytes (at most %d bytes)."), {path, size, maxSize});
}

QByteArray read(const QString& path, qint64 maxSize) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) cannotOpen(path, ENOENT);
    Fd fd;
    struct stat info {};
    if (const int error = openRegular(name, fd, info); error != 0) cannotOpen(path, error);
    if (info.st_size > maxSize) tooLarge(path, info.st_size, maxSize);
    QByteArray bytes;
    if (const int error = readAll(fd.get(), info.st_size, maxSize, bytes); error != 0)
        throw EInOutError(formatText(i18n("Cannot read file \"%s\". %s"),
                                     {path, QString::fromLocal8Bit(std::strerror(error))}));
    if (bytes.size() > maxSize)
        throw EInOutError(
            formatText(i18n("The file \"%s\" is too large: more than %d bytes."), {path, maxSize}));
    return bytes;
}

ReadResult read(const QString& path, QByteArray& bytes, struct stat& info, qint64 maxSize) {
    bytes.clear();
    Fd fd;
    if (const int error = openRegular(QFile::encodeName(path), fd, info); error != 0)
        return error == ENOENT || error == ENOTDIR ? ReadResult::Missing : ReadResult::NotReadable;
    return readOpened(fd.get(), bytes, info, maxSize);
}

ReadResult readShared(const QString& path, QByteArray& bytes, struct stat& info, qint64 maxSize,
                      std::chrono::milliseconds wait) {
    bytes.clear();
    const QByteArray name = QFile::encodeName(path);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    Fd fd;
    for (;;) {
        if (!fd.valid()) {
            if (const int error = openRegular(name, fd, info); error != 0)
                return error == ENOENT || error == ENOTDIR ? ReadResult::Missing : ReadResult::NotReadable;
        }
        if (::flock(fd.get(), LOCK_SH | LOCK_NB) == 0) {
            // A writer that replaced the file let go of the old one: the name's file is read.
            struct stat byName;
            if (::stat(name.constData(), &byName) == 0 && byName.st_dev == info.st_dev &&
                byName.st_ino == info.st_ino) {
                if (::fstat(fd.get(), &info) != 0) return ReadResult::NotReadable;
                return readOpened(fd.get(), bytes, info, maxSize);
            }
            fd.reset();
            continue;
        }
        // A file system without locks, or a lock held too long: read as it is.
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            if (::fstat(fd.get(), &info) != 0) return ReadResult::NotReadable;
            return readOpened(fd.get(), bytes, info, maxSize);
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(8));
    }
}

Update::Update(const QString& path, bool create, std::chrono::milliseconds wait) : m_target(targetOf(path)) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    Fd fd;
    for (;;) {
        if (!fd.valid()) {
            struct stat st;
            bool created = false;
            if (const int error = openRegular(m_target, fd, st); error == ENOENT && create) {
                fd.reset(
                    ::open(m_target.constData(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
                // Another program made it first; a link that names nothing is not followed.
                if (!fd.valid() && errno == EEXIST && ::lstat(m_target.constData(), &st) == 0 &&
                    !S_ISLNK(st.st_mode))
                    continue;
                if (!fd.valid()) return;
                created = true;
            } else if (error != 0) {
                m_missing = error == ENOENT || error == ENOTDIR;
                return;
            }
            m_created = created;
        }
        int locked = ::flock(fd.get(), LOCK_EX | LOCK_NB);
        // An exclusive lock on a network file system may need a descriptor that writes.
        if (locked != 0 && errno == EBADF) {
            fd.reset(::open(m_target.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
            if (!fd.valid()) return;
            locked = ::flock(fd.get(), LOCK_EX | LOCK_NB);
        }
        if (locked == 0) {
            // The lock counts only if the name still stands for the locked file.
            struct stat byName, opened;
            if (::stat(m_target.constData(), &byName) == 0 && ::fstat(fd.get(), &opened) == 0 &&
                byName.st_dev == opened.st_dev && byName.st_ino == opened.st_ino && opened.st_nlink > 0 &&
                S_ISREG(opened.st_mode)) {
                m_fd = fd.release();
                return;
            }
            m_created = false;
            fd.reset();
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return;
        if (std::chrono::steady_clock::now() >= deadline) return;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(8));
    }
}

Update::~Update() {
    if (m_fd < 0) return;
    // A file made only to be locked and never written goes again: a failed save leaves nothing.
    struct stat byName, opened;
    if (m_created && ::stat(m_target.constData(), &byName) == 0 && ::fstat(m_fd, &opened) == 0 &&
        byName.st_ino == opened.st_ino && byName.st_dev == opened.st_dev && opened.st_size == 0)
        ::unlink(m_target.constData());
    ::close(m_fd);
}

ReadResult Update::read(QByteArray& bytes, struct stat& info, qint64 maxSize) {
    bytes.clear();
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0 || ::lseek(m_fd, 0, SEEK_SET) != 0)
        return ReadResult::NotReadable;
    return readOpened(m_fd, bytes, info, maxSize);
}

bool Update::write(const QByteArray& bytes, struct stat& written, const QByteArray& lineEnd) {
    struct stat old;
    if (m_fd < 0 || ::fstat(m_fd, &old) != 0 || !replaceContent(m_fd, m_target, old, bytes, written, lineEnd))
        return false;
    m_created = false;
    return true;
}

bool write(const QString& path, const QByteArray& bytes) {
    Update update(path, true);
    struct stat written;
    return update.held() && update.write(bytes, written);
}

void sync(const QString& path) {
    const QFileInfo info(path);
    syncPath(QFile::encodeName(info.canonicalFilePath()), O_RDONLY);
    syncPath(QFile::encodeName(info.canonicalPath()), O_RDONLY | O_DIRECTORY);
}

} // namespace RegularFile
