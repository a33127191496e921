// Feeds arbitrary bytes to the data packet reader and to a table. A packet that reads must write
// back, and writing what was read must be stable: reading and writing it again gives the same bytes.
#include "platform/ClientDataSet.h"
#include "platform/DataPacketReader.h"
#include "platform/DataPacketWriter.h"
#include "platform/Errors.h"

#include <cstdint>
#include <cstdlib>

namespace {

void walk(TClientDataSet& table) {
    const int columns = table.FieldCount();
    for (int c = 0; c < columns; ++c) {
        table.SetIndexFieldNames(QString::fromLatin1(table.FieldDef(c).name));
        for (table.First(); !table.Eof(); table.Next()) {
            const TField field = table.Fields(c);
            (void)field.AsString();
            (void)field.AsPicture();
            try {
                (void)field.AsInteger();
                (void)field.AsBoolean();
            } catch (const QuorvelError&) {
                // text that is no number or Boolean
            }
        }
        table.First();
        table.Locate(QString::fromLatin1(table.FieldDef(c).name), QVariant(table.Fields(c).AsString()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    DataPacket packet;
    try {
        packet = readDataPacket(bytes);
    } catch (const EDatabaseError&) {
        return 0;
    }

    QByteArray written;
    try {
        written = writeDataPacket(packet);
    } catch (const EDatabaseError&) {
        return 0; // read but not writable (for example a string longer than its declared width)
    }
    if (writeDataPacket(readDataPacket(written)) != written) std::abort();

    TClientDataSet table(nullptr, QStringLiteral("Fuzz"));
    try {
        table.LoadFromStream(bytes);
        walk(table);
    } catch (const EDatabaseError&) {
        // a field name that is not unique enough to index on, for example
    }
    return 0;
}
