#pragma once

#include <QDir>
#include <QString>

// Files that are no regular files, put where a program expects one, and files too large to read:
// each returns the path it made (empty when the system refused).
namespace UnusualFiles {

// A named pipe without a writer: opening it for reading the usual way waits for one for good.
QString fifo(const QDir& dir, const QString& name);
// A Unix socket's name in the file system.
QString socket(const QDir& dir, const QString& name);
// A symbolic link to `target` (for instance "/dev/zero", which reads without end).
QString link(const QDir& dir, const QString& name, const QString& target);
// A sparse file of `size` bytes: large on paper, written in no time.
QString sparse(const QDir& dir, const QString& name, qint64 size);

} // namespace UnusualFiles
