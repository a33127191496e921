#include "support/UnusualFiles.h"

#include <QFile>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace UnusualFiles {

QString fifo(const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0 ? path : QString();
}

QString socket(const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    if (size_t(native.size()) >= sizeof address.sun_path) return {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return {};
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd); // the name stays in the file system
    return bound ? path : QString();
}

QString link(const QDir& dir, const QString& name, const QString& target) {
    const QString path = dir.filePath(name);
    return QFile::link(target, path) ? path : QString();
}

QString sparse(const QDir& dir, const QString& name, qint64 size) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(size)) return {};
    return path;
}

} // namespace UnusualFiles
