#include "LayoutTables.h"

#include "platform/CodePage.h"
#include "platform/DataPacket.h"
#include "platform/DataPacketWriter.h"
#include "settings/DataMod.h"

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
    packet.fields = TDataMod::keyTableFields();
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
    packet.fields = TDataMod::charTableFields();
    for (const CharacterRecord& record : records) {
        packet.rows.push_back({FieldValue::bytes(record.name), integer(record.code), integer(record.keyNo),
                               FieldValue::boolean(record.shift), FieldValue::boolean(record.altGr),
                               integer(record.accent)});
    }
    return writeDataPacket(packet);
}
