#include "LayoutArchive.h"

#include "CharacterTable.h"
#include "KeyGlyphPainter.h"
#include "LayoutTables.h"
#include "platform/CodePage.h"

#include <QFile>
#include <zip.h>

int windowsColor(const QColor& color) {
    return color.red() | color.green() << 8 | color.blue() << 16;
}

QByteArray buildReadme(const LayoutDescription& layout) {
    QByteArray text;
    const auto line = [&text](const QByteArray& name, const QByteArray& value) {
        text += name + '=' + value + "\r\n";
    };
    line("bkcolor", QByteArray::number(windowsColor(layout.background)));
    line("Author", CodePage::fromUnicode(layout.author));
    line("misc", CodePage::fromUnicode(layout.misc));
    const auto& names = fingerValueNames();
    for (int i = 0; i < FingerValueCount; ++i)
        line(names[i], QByteArray::number(layout.fingers[i].length));
    for (int i = 0; i < FingerValueCount; ++i)
        line(QByteArray(names[i]) + 'x', QByteArray::number(layout.fingers[i].x));
    for (int i = 0; i < FingerValueCount; ++i)
        line(QByteArray(names[i]) + "Color", QByteArray::number(windowsColor(layout.fingers[i].color)));
    return text;
}

LayoutArchiveMembers buildLayoutArchive(const LayoutDescription& layout) {
    const KeyGlyphPainter painter(layout);
    return {keyTablePacket(layout, painter), charTablePacket(buildCharacterTable(layout)),
            buildReadme(layout)};
}

namespace {

// Closes (or discards) a libzip archive on every path out.
struct ZipHandle {
    zip_t* archive = nullptr;
    ~ZipHandle() {
        if (archive) zip_discard(archive);
    }
};

void addMember(zip_t* archive, const char* name, const QByteArray& data) {
    zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
    if (!source) throw ArchiveWriteError(std::string("cannot add ") + name + ": " + zip_strerror(archive));
    if (zip_file_add(archive, name, source, ZIP_FL_OVERWRITE) < 0) {
        zip_source_free(source);
        throw ArchiveWriteError(std::string("cannot add ") + name + ": " + zip_strerror(archive));
    }
}

} // namespace

void writeLayoutArchive(const QString& path, const LayoutArchiveMembers& members) {
    const QString temporary = path + QStringLiteral(".part");
    QFile::remove(temporary);
    {
        int error = 0;
        ZipHandle zip;
        zip.archive = zip_open(QFile::encodeName(temporary).constData(), ZIP_CREATE | ZIP_EXCL, &error);
        if (!zip.archive) throw ArchiveWriteError("cannot create " + temporary.toStdString());
        // The buffers stay alive until zip_close, which reads them.
        addMember(zip.archive, "key.cds", members.keyTable);
        addMember(zip.archive, "char.cds", members.charTable);
        addMember(zip.archive, "readme", members.readme);
        if (zip_close(zip.archive) < 0)
            throw ArchiveWriteError("cannot write " + temporary.toStdString() + ": " +
                                    zip_strerror(zip.archive));
        zip.archive = nullptr;
    }
    QFile::remove(path);
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        throw ArchiveWriteError("cannot replace " + path.toStdString());
    }
}
