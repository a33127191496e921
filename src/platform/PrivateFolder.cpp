#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int f) : fd(f) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

// "quorvel-" and the six letters or digits that mkdtemp puts in place of "XXXXXX".
bool hasFolderName(const char* name) {
    const size_t prefix = std::strlen(PrivateFolder::Prefix);
    if (std::strncmp(name, PrivateFolder::Prefix, prefix) != 0) return false;
    const char* rest = name + prefix;
    for (int i = 0; i < 6; ++i) {
        const char c = rest[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return rest[6] == '\0';
}

// Whether the folder `name` below `parent` is one of ours whose run is over. The marker's lock
// is then held in `marker` until the caller has removed the folder.
bool isLeftover(int parent, const char* name, Descriptor& marker) {
    struct stat info {};
    if (::fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    const Descriptor folder(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.fd < 0) return false;
    marker.fd = ::openat(folder.fd, PrivateFolder::MarkerName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (marker.fd < 0 || ::fstat(marker.fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    // A run that lives holds the lock: the folder is still in use.
    return ::flock(marker.fd, LOCK_EX | LOCK_NB) == 0;
}

} // namespace

int PrivateFolder::removeLeftovers(const QString& tempFolder) {
    DIR* listing = ::opendir(QFile::encodeName(tempFolder).constData());
    if (!listing) return 0;
    const int parent = ::dirfd(listing);
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (!hasFolderName(entry->d_name)) continue;
        // The lock stays held while the folder goes: another run that starts now leaves it alone.
        Descriptor marker(-1);
        if (!isLeftover(parent, entry->d_name, marker)) continue;
        // Links inside are removed, never followed.
        if (QDir(QDir(tempFolder).filePath(QFile::decodeName(entry->d_name))).removeRecursively()) ++removed;
    }
    ::closedir(listing);
    return removed;
}

PrivateFolder::PrivateFolder() {
    const QString temp = QDir::tempPath();
    removeLeftovers(temp);
    QByteArray name = QFile::encodeName(QDir(temp).filePath(QLatin1String(Prefix) + QStringLiteral("XXXXXX")));
    if (!::mkdtemp(name.data())) return;
    m_path = QFile::decodeName(name);
    // The marker is locked under another name and then renamed: a run cleaning up meanwhile never
    // sees it unlocked.
    const QByteArray pending = name + "/.quorvel-run.new";
    m_marker = ::open(pending.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_marker >= 0 && ::flock(m_marker, LOCK_EX | LOCK_NB) == 0)
        ::rename(pending.constData(), (name + '/' + MarkerName).constData());
}

PrivateFolder::~PrivateFolder() {
    if (isValid()) QDir(m_path).removeRecursively();
    if (m_marker >= 0) ::close(m_marker);
}

QString PrivateFolder::filePath(const QString& name) const {
    return QDir(m_path).filePath(name);
}
