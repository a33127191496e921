#include "LayoutTables.h"

#include "platform/CodePage.h"
#include "platform/DataPacket.h"
#include "platform/DataPacketWriter.h"

namespace {

// Packets say which locale wrote them; 1033 (US English) pairs with Windows-1252.
constexpr int kWriterLocale = 1033;

FieldValue integer(int value) {
    return FieldValue::integer(value);
}

} // namespace

QByteArray keyTablePacket(const LayoutDescription& layout, const KeyGlyphPainter& painter) {
    DataPacket packet;
    packet.lcid = kWriterLocale;
    packet.fields = {DataField::string("Name", 20, true),
                     DataField::integer("KeyValue"),
                     DataField::integer("KeyType"),
                     DataField::integer("KeyType2"),
                     DataField::integer("Finger"),
                     DataField::graphic("Glyph"),
                     DataField::integer("Width"),
                     DataField::integer("Height"),
                     DataField::integer("X"),
                     DataField::integer("Y"),
                     DataField::string("Hint", 127)};
    for (const KeyDescription& key : layout.keys) {
        packet.rows.push_back({FieldValue::bytes(CodePage::fromUnicode(key.name)), integer(key.value),
                               integer(key.kind), integer(key.kind2), integer(key.finger),
                               FieldValue::bytes(KeyGlyphPainter::graphicBlob(painter.paint(key))),
                               integer(key.width), integer(key.height), integer(key.x), integer(key.y),
                               FieldValue::bytes(CodePage::fromUnicode(key.hint))});
    }
    return writeDataPacket(packet);
}

QByteArray charTablePacket(const std::vector<CharacterRecord>& records) {
    DataPacket packet;
    packet.lcid = kWriterLocale;
    packet.fields = {DataField::string("Name", 30), DataField::integer("Code"),
                     DataField::integer("KeyNo"),   DataField::boolean("Shift"),
                     DataField::boolean("AltGr"),   DataField::integer("Accent")};
    for (const CharacterRecord& record : records) {
        packet.rows.push_back({FieldValue::bytes(record.name), integer(record.code), integer(record.keyNo),
                               FieldValue::boolean(record.shift), FieldValue::boolean(record.altGr),
                               integer(record.accent)});
    }
    return writeDataPacket(packet);
}
