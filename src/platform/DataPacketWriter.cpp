#include "platform/DataPacketWriter.h"

#include "platform/Errors.h"
#include "platform/Translation.h"

#include <cfloat>
#include <cmath>
#include <cstring>

using namespace DataPacketType;

namespace {

constexpr quint32 Magic = 0xBDE01996;
constexpr int HeaderSize = 24;

[[noreturn]] void refuse(const QString& why) {
    throw EDatabaseError(formatText(i18n("Cannot write data packet: %s"), {why}));
}

class PacketBuffer {
public:
    void u8(quint8 v) { m_out.append(char(v)); }
    void u16(quint16 v) { sized(v, 2); }
    void u32(quint32 v) { sized(v, 4); }
    void sized(quint64 v, quint32 size) {
        for (quint32 i = 0; i < size; ++i, v >>= 8)
            m_out.append(char(v & 0xFF));
    }
    void raw(const QByteArray& bytes) { m_out.append(bytes); }
    void name(const QByteArray& n) {
        if (n.isEmpty() || n.size() > 255) refuse(QStringLiteral("bad name length"));
        u8(quint8(n.size()));
        raw(n);
    }
    void patch16(qsizetype at, quint16 v) {
        m_out[at] = char(v & 0xFF);
        m_out[at + 1] = char(v >> 8);
    }
    void patch32(qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i, v >>= 8)
            m_out[at + i] = char(v & 0xFF);
    }
    qsizetype size() const { return m_out.size(); }
    QByteArray take() { return std::move(m_out); }

private:
    QByteArray m_out;
};

void writeDescriptor(PacketBuffer& out, const DataField& f) {
    out.name(f.name);
    out.u32(f.typeWord);
    out.u16(f.attributes);
    const bool width = f.isString() || f.width > 0;
    const bool subtype = !f.subtype.isEmpty();
    out.u16(quint16(int(width) + int(subtype)));
    if (width) {
        if (f.width < 0 || f.width > 0xFFFF) refuse(QStringLiteral("bad width"));
        out.name("WIDTH");
        out.u32(make(UInt, 2));
        out.u16(quint16(f.width));
    }
    if (subtype) {
        out.name("SUBTYPE");
        out.u32(make(ZString, 2, true));
        out.u16(quint16(f.subtype.size() + 1)); // the length counts the terminating NUL
        out.raw(f.subtype);
        out.u8(0);
    }
}

bool fitsPrefix(qsizetype length, quint32 prefixSize) {
    return prefixSize >= 4 ? length <= 0x7FFFFFFF : length < (qsizetype(1) << (8 * prefixSize));
}

void writeValue(PacketBuffer& out, const DataField& f, const FieldValue& v) {
    const quint32 word = f.typeWord;
    const quint32 size = sizeOf(word);
    const quint32 code = codeOf(word);
    if (isVarying(word)) {
        if (!v.isBytes()) refuse(QStringLiteral("field %1 needs bytes").arg(QString::fromLatin1(f.name)));
        QByteArray bytes = v.toBytes();
        if (code == ZString && f.width > 0 && bytes.size() > f.width)
            refuse(QStringLiteral("value too long for field %1").arg(QString::fromLatin1(f.name)));
        if (code == ZString && bytes.isEmpty()) bytes = QByteArray(1, '\0'); // the engine's empty string
        if (!fitsPrefix(bytes.size(), size)) refuse(QStringLiteral("value too long"));
        out.sized(quint64(bytes.size()), size);
        out.raw(bytes);
        return;
    }
    if (code == Int || code == UInt || code == Bool || code == Date || code == Time) {
        if (!v.isInteger())
            refuse(QStringLiteral("field %1 needs a number").arg(QString::fromLatin1(f.name)));
        const qint64 n = code == Bool ? (v.toInteger() != 0) : v.toInteger();
        out.sized(quint64(n), size);
        return;
    }
    if ((code == FloatIeee && size == 8) || code == Timestamp) {
        const double d = v.toReal();
        quint64 raw;
        std::memcpy(&raw, &d, sizeof raw);
        out.sized(raw, 8);
        return;
    }
    if (code == Single) {
        const double d = v.toReal();
        // A value beyond the float range becomes infinity rather than undefined behaviour.
        const float f32 =
            std::isfinite(d) && std::fabs(d) > FLT_MAX ? (d > 0 ? HUGE_VALF : -HUGE_VALF) : float(d);
        quint32 raw;
        std::memcpy(&raw, &f32, sizeof raw);
        out.u32(raw);
        return;
    }
    QByteArray bytes = v.toBytes(); // fixed raw bytes, padded with zeros
    bytes.resize(size, '\0');
    out.raw(bytes);
}

bool writtenAsNull(const DataField& f, const FieldValue& v) {
    return v.isNull() || (f.isBlob() && v.toBytes().isEmpty());
}

} // namespace

QByteArray writeDataPacket(const DataPacket& packet) {
    const size_t columns = packet.fields.size();
    if (columns == 0 || columns > 0xFFFF) refuse(QStringLiteral("bad column count"));
    if (packet.rows.size() > 0xFFFFFFFFu) refuse(QStringLiteral("too many rows"));

    PacketBuffer out;
    out.u32(Magic);
    out.u16(1);
    out.u16(0);
    out.u32(HeaderSize);
    out.u16(quint16(columns));
    out.u32(quint32(packet.rows.size()));
    out.u32(0); // properties, set once the metadata size is known
    out.u16(0); // first row offset
    for (const DataField& f : packet.fields)
        writeDescriptor(out, f);
    if (packet.lcid != 0) {
        out.u16(1);
        out.name("LCID");
        out.u32(Int32);
        out.u32(quint32(packet.lcid));
    } else {
        out.u16(0);
    }
    const qsizetype dataOffset = out.size();
    if (dataOffset <= 0xFFFF) {
        out.patch32(18, 3);
        out.patch16(22, quint16(dataOffset));
    } else {
        out.patch32(18, 1);
    }

    const size_t nullBytes = (columns + 3) / 4;
    for (const DataRow& row : packet.rows) {
        if (row.size() != columns) refuse(QStringLiteral("row has the wrong number of values"));
        out.u8(0);
        QByteArray blanks(qsizetype(nullBytes), '\0');
        for (size_t c = 0; c < columns; ++c)
            if (writtenAsNull(packet.fields[c], row[c]))
                blanks[c / 4] = char(blanks[c / 4] | (1 << (2 * (c % 4))));
        out.raw(blanks);
        for (size_t c = 0; c < columns; ++c)
            if (!writtenAsNull(packet.fields[c], row[c])) writeValue(out, packet.fields[c], row[c]);
    }
    return out.take();
}
