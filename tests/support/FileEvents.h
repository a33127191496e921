#pragma once

#include <QByteArray>
#include <QString>

// Counts what happens to one file of a folder from the moment of construction, as the kernel
// reports it: how often its content was put in place (renamed over it, or written and closed)
// and how often it was opened.
class FileEvents {
public:
    FileEvents(const QString& folder, const QString& fileName);
    ~FileEvents();
    FileEvents(const FileEvents&) = delete;
    FileEvents& operator=(const FileEvents&) = delete;

    bool isValid() const { return m_fd >= 0; }
    int writes();
    int opens();

private:
    void collect();

    int m_fd = -1;
    QByteArray m_name;
    int m_writes = 0;
    int m_opens = 0;
};
