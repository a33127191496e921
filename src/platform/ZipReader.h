#pragma once

#include <QByteArray>
#include <QString>

struct zip;

// Read-only access to a zip archive, whatever the file's extension. The archive stays open until
// close(), the next open() or the reader's end.
class ZipReader {
public:
    ZipReader() = default;
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Closes any open archive, then reads this one into memory and opens it. Raises EInOutError
    // when the file is missing, no regular file, larger than maxArchiveSize or not a zip archive.
    void open(const QString& path);
    bool isOpen() const { return m_archive != nullptr; }
    // The member with exactly this name, uncompressed; empty when the archive has no such member.
    // Raises EInOutError when the archive is closed or the member cannot be read (damaged data,
    // unsupported compression, or larger than maxMemberSize).
    QByteArray extract(const QByteArray& memberName) const;
    void close();

    // A layout's largest member is under 400 KB unpacked; the limits leave room tenfold and keep
    // a small archive that unpacks to far more (a zip bomb) from taking the memory.
    static constexpr qint64 maxMemberSize = 4 * 1024 * 1024;
    static constexpr qint64 maxArchiveSize = 16 * 1024 * 1024;

private:
    zip* m_archive = nullptr;
    // The archive's bytes, which the open archive reads from.
    QByteArray m_bytes;
};
