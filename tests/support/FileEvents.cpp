#include "support/FileEvents.h"

#include <QFile>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>

FileEvents::FileEvents(const QString& folder, const QString& fileName) : m_name(QFile::encodeName(fileName)) {
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0) return;
    // The kernel merges an event with the one queued before it when both are alike; closes are
    // watched too, so that two opens of the file never follow each other directly.
    const uint32_t mask = IN_MOVED_TO | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE | IN_OPEN;
    if (::inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), mask) < 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

FileEvents::~FileEvents() {
    if (m_fd >= 0) ::close(m_fd);
}

int FileEvents::writes() {
    collect();
    return m_writes;
}

int FileEvents::opens() {
    collect();
    return m_opens;
}

void FileEvents::collect() {
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = m_fd < 0 ? -1 : ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) return;
        for (ssize_t at = 0; at < n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            if (event.len > 0 && m_name == name) {
                if (event.mask & (IN_MOVED_TO | IN_CLOSE_WRITE)) ++m_writes;
                if (event.mask & IN_OPEN) ++m_opens;
            }
            at += ssize_t(sizeof event + event.len);
        }
    }
}
