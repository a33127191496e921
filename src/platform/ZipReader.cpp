#include "platform/ZipReader.h"

#include "platform/Errors.h"
#include "platform/RegularFile.h"
#include "platform/Translation.h"

#include <memory>
#include <zip.h>

ZipReader::~ZipReader() {
    close();
}

void ZipReader::open(const QString& path) {
    close();
    // Read whole through the regular-file reader: a pipe or a device in the archive's place is
    // refused instead of waiting, and the archive's size is bounded.
    QByteArray bytes = RegularFile::read(path, maxArchiveSize);
    zip_error_t details;
    zip_error_init(&details);
    zip_source_t* source =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &details);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &details) : nullptr;
    if (!archive) {
        if (source) zip_source_free(source);
        const QString reason = QString::fromLocal8Bit(zip_error_strerror(&details));
        zip_error_fini(&details);
        throw EInOutError(formatText(i18n("Cannot open archive \"%s\": %s"), {path, reason}));
    }
    zip_error_fini(&details);
    m_bytes = std::move(bytes);
    m_archive = archive;
}

void ZipReader::close() {
    if (m_archive) zip_discard(m_archive); // read-only: nothing to write back; frees the source
    m_archive = nullptr;
    m_bytes.clear();
}

QByteArray ZipReader::extract(const QByteArray& memberName) const {
    if (!m_archive) throw EInOutError(i18n("No archive is open"));
    if (memberName.isEmpty()) return {};
    const zip_int64_t index = zip_name_locate(m_archive, memberName.constData(), 0);
    if (index < 0) return {};

    auto fail = [&](const char* reason) {
        return EInOutError(formatText(i18n("Cannot read \"%s\" from the archive: %s"),
                                      {QString::fromLatin1(memberName), QString::fromLocal8Bit(reason)}));
    };
    const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(
        zip_fopen_index(m_archive, zip_uint64_t(index), 0), &zip_fclose);
    if (!file) throw fail(zip_strerror(m_archive));

    // The size in the directory may lie: read until the data ends, within a fixed limit.
    QByteArray data;
    char chunk[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), chunk, sizeof chunk);
        if (n < 0) throw fail(zip_file_strerror(file.get()));
        if (n == 0) break;
        if (data.size() + n > maxMemberSize) throw fail("member too large");
        data.append(chunk, qsizetype(n));
    }
    return data;
}
