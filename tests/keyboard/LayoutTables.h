#pragma once

// Small keyboard layouts for the keyboard tests: key and character tables written as data
// packets, loaded into the data module directly or packed into a layout archive.

#include "platform/DataPacketWriter.h"
#include "settings/DataMod.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <map>
#include <vector>
#include <zip.h>

namespace testlayout {

struct Key {
    QByteArray name;
    int keyValue = 0;
    int keyType = 2;
    int keyType2 = 0;
    int finger = 0;
    int x = 0;
    int y = 0;
    int width = 20;
    int height = 20;
    QRgb face = qRgb(255, 255, 255); // the picture's colour, also its bottom-left pixel
    QByteArray hint = {};
    bool withGlyph = true;
};

struct Char {
    QByteArray name;
    int code = 0;
    int keyNo = 0;
    bool shift = false;
    bool altGr = false;
    int accent = 0;
};

// A key picture: the face colour with a darker mark in its middle.
inline QImage keyPicture(const Key& key) {
    QImage image(std::max(key.width, 1), std::max(key.height, 1), QImage::Format_RGB32);
    image.fill(key.face);
    for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y)
        for (int x = image.width() / 3; x < image.width() * 2 / 3; ++x)
            image.setPixel(x, y, qRgb(qRed(key.face) / 4, qGreen(key.face) / 4, qBlue(key.face) / 4));
    return image;
}

inline QByteArray bmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

inline QByteArray keyPacket(const std::vector<Key>& keys) {
    DataPacket p;
    p.fields = TDataMod::keyTableFields();
    for (const Key& k : keys) {
        const FieldValue glyph =
            k.withGlyph ? FieldValue::bytes(GraphicBlob::wrap(bmpBytes(keyPicture(k)))) : FieldValue();
        p.rows.push_back({FieldValue::bytes(k.name), FieldValue::integer(k.keyValue),
                          FieldValue::integer(k.keyType), FieldValue::integer(k.keyType2),
                          FieldValue::integer(k.finger), glyph, FieldValue::integer(k.width),
                          FieldValue::integer(k.height), FieldValue::integer(k.x), FieldValue::integer(k.y),
                          FieldValue::bytes(k.hint)});
    }
    return writeDataPacket(p);
}

inline QByteArray charPacket(const std::vector<Char>& chars) {
    DataPacket p;
    p.fields = TDataMod::charTableFields();
    for (const Char& c : chars)
        p.rows.push_back({FieldValue::bytes(c.name), FieldValue::integer(c.code),
                          FieldValue::integer(c.keyNo), FieldValue::boolean(c.shift),
                          FieldValue::boolean(c.altGr), FieldValue::integer(c.accent)});
    return writeDataPacket(p);
}

// Loads both tables into the data module in use.
inline void loadTables(const std::vector<Key>& keys, const std::vector<Char>& chars) {
    DataMod->MainTbl->LoadFromStream(keyPacket(keys));
    DataMod->Ctbl->LoadFromStream(charPacket(chars));
}

// Writes a zip archive with these members; true when it was written.
inline bool writeArchive(const QString& path, const std::map<QByteArray, QByteArray>& members) {
    QFile::remove(path);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) return false;
    for (const auto& [name, bytes] : members) {
        // libzip reads the buffer when the archive is closed; the map outlives that.
        zip_source_t* source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!source || zip_file_add(archive, name.constData(), source, ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

inline QByteArray readme(int bkColor, const std::array<int, 10>& lengths = {},
                         const std::array<int, 10>& colors = {}) {
    QByteArray text = "bkcolor=" + QByteArray::number(bkColor) + "\r\n";
    for (int i = 0; i < 10; ++i) {
        text += QByteArray(TDataMod::fingerNames()[size_t(i)]) + "=" +
                QByteArray::number(lengths[size_t(i)]) + "\r\n";
        text += QByteArray(TDataMod::fingerNames()[size_t(i)]) +
                "Color=" + QByteArray::number(colors[size_t(i)]) + "\r\n";
    }
    return text;
}

} // namespace testlayout
