#include "platform/RegularFile.h"

#include "platform/Errors.h"
#include "platform/Translation.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void cannotOpen(const QString& path, const QString& reason) {
    throw EInOutError(formatText(i18n("Cannot open file \"%s\". %s"), {path, reason}));
}

[[noreturn]] void notRegular(const QString& path) {
    cannotOpen(path, i18n("It is not a regular file."));
}

[[noreturn]] void tooLarge(const QString& path, qint64 size, qint64 maxSize) {
    throw EInOutError(formatText(i18n("The file \"%s\" is too large: %d bytes (at most %d bytes)."),
                                 {path, size, maxSize}));
}

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

QByteArray read(const QString& path, qint64 maxSize) {
    const QByteArray native = QFile::encodeName(path);
    // Looked at before opening: opening a pipe waits for a writer, and opening a device may
    // act on it.
    struct stat info {};
    if (native.isEmpty()) cannotOpen(path, systemReason(ENOENT));
    if (::stat(native.constData(), &info) != 0) cannotOpen(path, systemReason(errno));
    if (!S_ISREG(info.st_mode)) notRegular(path);

    // Without blocking, and looked at again once open, in case the name was replaced meanwhile.
    int fd = -1;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) cannotOpen(path, systemReason(errno));
    const Descriptor file(fd);
    if (::fstat(file.get(), &info) != 0) cannotOpen(path, systemReason(errno));
    if (!S_ISREG(info.st_mode)) notRegular(path);
    if (info.st_size > maxSize) tooLarge(path, info.st_size, maxSize);

    // The size may be stale (a file still growing, or one that reports none): read up to one
    // byte past the limit to tell.
    QByteArray bytes;
    bytes.resize(qsizetype(std::max<qint64>(info.st_size, 0) + 1));
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxSize) break;
            bytes.resize(qsizetype(std::min<qint64>(std::max<qint64>(total * 2, 64 * 1024), maxSize + 1)));
        }
        const ssize_t n = ::read(file.get(), bytes.data() + total, size_t(bytes.size() - total));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0)
            throw EInOutError(formatText(i18n("Cannot read file \"%s\". %s"), {path, systemReason(errno)}));
        if (n == 0) break;
        total += n;
    }
    if (total > maxSize)
        throw EInOutError(
            formatText(i18n("The file \"%s\" is too large: more than %d bytes."), {path, maxSize}));
    bytes.resize(qsizetype(total));
    return bytes;
}

} // namespace RegularFile
