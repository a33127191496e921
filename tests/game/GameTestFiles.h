#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A word file in a temporary folder, for the game's tests.
class WordFile {
public:
    explicit WordFile(const QByteArray& content) {
        m_path = m_dir.filePath(QStringLiteral("Game.txt"));
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly)) file.write(content);
    }
    const QString& path() const { return m_path; }
    QString missingPath() const { return m_dir.filePath(QStringLiteral("Missing.txt")); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
