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

// Key values of the small keyboard.
enum : int { E = 18, A = 30, One = 2, Grave = 41, Acute = 13, Back = 14, Del = 83 };
enum : int { LShift = 42, RShift = 54, AltGr = 56, Caps = 58, Odd = 99 };

// Letters, a digit, Backspace, Delete, both Shifts, AltGr, Caps Lock, two dead keys (Grave gives
// Umlaut with Shift, the a key gives Circumflex with AltGr) and a key of no special kind. The
// right-most edge is 150, the lowest 120.
inline std::vector<Key> smallKeyboard() {
    return {
        {"K10 e", E, 1, 0, 2, 40, 40, 20, 20, qRgb(240, 240, 240)},
        {"K11 a", A, 1, 2003, 0, 10, 40, 20, 20, qRgb(200, 220, 240)},
        {"K02 one", One, 2, 0, 0, 10, 10, 20, 20, qRgb(250, 250, 200)},
        {"K00 grave", Grave, 2001, 2005, 0, 70, 10, 20, 20, qRgb(255, 200, 200)},
        {"K14 back", Back, 8, 0, 9, 100, 10, 40, 20, qRgb(180, 180, 180)},
        {"K15 del", Del, 46, 0, 9, 100, 40, 30, 20, qRgb(180, 180, 180)},
        {"K20 lshift", LShift, 1002, 0, 0, 10, 70, 30, 20, qRgb(160, 160, 160)},
        {"K21 rshift", RShift, 1003, 0, 9, 90, 70, 40, 20, qRgb(160, 160, 160)},
        {"K22 altgr", AltGr, 1000, 0, 5, 50, 100, 30, 20, qRgb(150, 150, 150)},
        {"K23 caps", Caps, 20, 0, 0, 10, 100, 30, 20, qRgb(150, 150, 150)},
        {"K24 acute", Acute, 2002, 0, 8, 130, 70, 20, 20, qRgb(255, 220, 200)},
        {"K30 odd", Odd, 1500, 7, 12, 130, 100, 20, 20, qRgb(100, 100, 100)},
    };
}

inline std::vector<Char> smallCharacters() {
    return {
        {"e", 'e', E},
        {"E", 'E', E, true},
        {"e circumflex", 0xEA, E, false, false, 2003},
        {"e umlaut", 0xEB, E, false, false, 2005},
        {"E umlaut", 0xCB, E, true, false, 2005},
        {"e grave", 0xE8, E, false, false, 2001},
        {"euro", 0x80, E, false, true},
        {"a", 'a', A},
        {"A", 'A', A, true},
        {"one", '1', One},
        {"bang", '!', One, true},
        {"backspace", 8, Back},
        // Two records give 'x': the first in Code order decides.
        {"x on one", 'x', One},
        {"x on e", 'x', E},
        // A character whose key is missing.
        {"ghost", 'g', 77},
    };
}

// A key picture: the face colour with a darker mark in its middle.
inline QImage keyPicture(const Key& key) {
    QImage image(std::max(key.width, 1), std::max(key.height, 1), QImage::Format_RGB32);
    image.fill(key.face);
    for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y)
        for (int x = image.width() / 3; x < image.width() * 2 / 3; ++x)
            image.setPixel(x, y, qRgb(qRed(key.face) / 4, qGreen(key.face) / 4, qBlue(key.face) / 4));
    return image;
}

inline QByteArray keyPacket(const std::vector<Key>& keys) {
    DataPacket p;
    p.fields = TDataMod::keyTableFields();
    for (const Key& k : keys) {
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        keyPicture(k).save(&buffer, "BMP");
        const FieldValue glyph = k.withGlyph ? FieldValue::bytes(GraphicBlob::wrap(bmp)) : FieldValue();
        p.rows.push_back({FieldValue::bytes(k.name), FieldValue::integer(k.keyValue),
                          FieldValue::integer(k.keyType), FieldValue::integer(k.keyType2),
                          FieldValue::integer(k.finger), glyph, FieldValue::integer(k.width),
                          FieldValue::integer(k.height), FieldValue::integer(k.x), FieldValue::integer(k.y),
                          FieldValue::bytes(k.name)});
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

// The readme of a layout: background colour, then each finger's length and colour.
inline QByteArray readme(int bkColor, const std::array<int, 10>& lengths = {},
                         const std::array<int, 10>& colors = {}) {
    QByteArray text = "bkcolor=" + QByteArray::number(bkColor) + "\r\n";
    for (size_t i = 0; i < 10; ++i) {
        const QByteArray name(TDataMod::fingerNames()[i]);
        text += name + "=" + QByteArray::number(lengths[i]) + "\r\n";
        text += name + "Color=" + QByteArray::number(colors[i]) + "\r\n";
    }
    return text;
}

} // namespace testlayout
