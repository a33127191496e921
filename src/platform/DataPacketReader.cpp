#include "platform/DataPacketReader.h"

#include "platform/Errors.h"
#include "platform/Translation.h"

#include <QtEndian>
#include <cstring>

using namespace DataPacketType;

namespace {

constexpr quint32 Magic = 0xBDE01996;
constexpr quint32 OldMagic = 0x0000ABCD;
constexpr int HeaderSize = 24;
constexpr quint32 PropMetadata = 0x0001;
constexpr quint32 PropMetaLength = 0x0002;
constexpr quint32 PropXml = 0x8000;

// The largest table this reader builds; layouts hold a few hundred rows.
constexpr quint32 MaxRows = 1u << 20;
constexpr quint64 MaxValues = quint64(1) << 22;

constexpr quint8 StatusOriginal = 0x01;
constexpr quint8 StatusDeleted = 0x02;
constexpr quint8 StatusModified = 0x08;
constexpr quint8 StatusUnused = 0x20;
constexpr quint8 BlankNull = 1;
constexpr quint8 BlankNotChanged = 2;

[[noreturn]] void fail(const QString& why) {
    throw EDatabaseError(formatText(i18n("Invalid data packet: %s"), {why}));
}

// Reads little-endian values from a buffer and refuses to step past its end.
class PacketCursor {
public:
    explicit PacketCursor(const QByteArray& bytes)
        : m_data(reinterpret_cast<const uchar*>(bytes.constData())), m_size(size_t(bytes.size())) {}

    size_t position() const { return m_pos; }
    size_t remaining() const { return m_size - m_pos; }
    void seek(size_t pos) {
        if (pos > m_size) fail(QStringLiteral("offset beyond the end"));
        m_pos = pos;
    }
    const uchar* take(size_t n) {
        if (n > remaining()) fail(QStringLiteral("data ends early"));
        const uchar* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    quint8 u8() { return *take(1); }
    quint16 u16() { return qFromLittleEndian<quint16>(take(2)); }
    quint32 u32() { return qFromLittleEndian<quint32>(take(4)); }
    // Unsigned value of 1, 2, 4 or 8 bytes.
    quint64 unsignedOf(size_t size) {
        const uchar* p = take(size);
        quint64 v = 0;
        for (size_t i = size; i-- > 0;)
            v = (v << 8) | p[i];
        return v;
    }
    QByteArray bytes(size_t n) {
        const uchar* p = take(n);
        return QByteArray(reinterpret_cast<const char*>(p), qsizetype(n));
    }

private:
    const uchar* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

bool validPrefixSize(quint32 size) {
    return size == 1 || size == 2 || size == 4;
}

QByteArray cutAtNul(QByteArray text) {
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0) text.truncate(nul);
    return text;
}

// A column type this reader can hold: flat, not an array, of a known code and a sensible size.
void checkColumnType(quint32 word) {
    if (word & (Array | Structured)) fail(QStringLiteral("structured or array column"));
    const quint32 code = codeOf(word);
    const quint32 size = sizeOf(word);
    if (isVarying(word)) {
        if (!validPrefixSize(size)) fail(QStringLiteral("bad length size"));
        if (code != ZString && code != Unicode && code != Bytes) fail(QStringLiteral("bad varying type"));
        return;
    }
    switch (code) {
    case Int:
    case UInt:
        if (size != 1 && size != 2 && size != 4 && size != 8) fail(QStringLiteral("bad integer size"));
        return;
    case Bool:
        if (size != 1 && size != 2 && size != 4) fail(QStringLiteral("bad Boolean size"));
        return;
    case FloatIeee:
        if (size != 8 && size != 10) fail(QStringLiteral("bad float size"));
        return;
    case Date:
    case Time:
    case Single:
        if (size != 4) fail(QStringLiteral("bad size"));
        return;
    case Timestamp:
        if (size != 8) fail(QStringLiteral("bad size"));
        return;
    case Unknown:
    case Bcd:
    case ZString:
    case Unicode:
    case Bytes:
    case SqlDateTime:
    case FmtBcd:
    case DateTimeOffset:
        return; // raw bytes of the given size
    default:
        fail(QStringLiteral("unsupported column type"));
    }
}

struct Parameter {
    QByteArray name;
    quint32 typeWord = 0;
    QByteArray value;  // the encoded value without length prefix or count
    quint32 count = 0; // elements of an array value
};

Parameter readParameter(PacketCursor& in) {
    Parameter p;
    p.name = in.bytes(in.u8());
    p.typeWord = in.u32() & ~IncludeInDelta;
    const quint32 size = sizeOf(p.typeWord);
    if (p.typeWord & Array) {
        p.count = in.u32();
        const quint64 total = quint64(p.count) * size;
        if (total > in.remaining()) fail(QStringLiteral("data ends early"));
        p.value = in.bytes(size_t(total));
    } else if (isVarying(p.typeWord)) {
        if (!validPrefixSize(size)) fail(QStringLiteral("bad length size"));
        const quint64 length = in.unsignedOf(size);
        if (length > in.remaining()) fail(QStringLiteral("data ends early"));
        p.value = in.bytes(size_t(length));
    } else {
        p.value = in.bytes(size);
    }
    return p;
}

quint64 littleEndianValue(const QByteArray& bytes) {
    quint64 v = 0;
    for (qsizetype i = qMin<qsizetype>(bytes.size(), 8); i-- > 0;)
        v = (v << 8) | uchar(bytes[i]);
    return v;
}

FieldValue readFixed(PacketCursor& in, quint32 word) {
    const quint32 code = codeOf(word);
    const quint32 size = sizeOf(word);
    switch (code) {
    case Int:
    case Date:
    case Time: {
        const quint64 raw = in.unsignedOf(size);
        const int shift = 64 - int(size) * 8; // sign-extend from the stored width
        return FieldValue::integer(shift == 0 ? qint64(raw) : qint64(raw << shift) >> shift);
    }
    case UInt:
        return FieldValue::integer(qint64(in.unsignedOf(size)));
    case Bool:
        return FieldValue::boolean(in.unsignedOf(size) != 0);
    case FloatIeee:
        if (size == 8) {
            const quint64 raw = in.unsignedOf(8);
            double d;
            std::memcpy(&d, &raw, sizeof d);
            return FieldValue::real(d);
        }
        return FieldValue::bytes(in.bytes(size));
    case Timestamp: {
        const quint64 raw = in.unsignedOf(8);
        double d;
        std::memcpy(&d, &raw, sizeof d);
        return FieldValue::real(d);
    }
    case Single: {
        const quint32 raw = quint32(in.unsignedOf(4));
        float f;
        std::memcpy(&f, &raw, sizeof f);
        return FieldValue::real(f);
    }
    case ZString:
        return FieldValue::bytes(cutAtNul(in.bytes(size)));
    default:
        return FieldValue::bytes(in.bytes(size));
    }
}

// One cell of a row; nothing when the value is a "not changed" blob that the change log resolves.
FieldValue readValue(PacketCursor& in, const DataField& field) {
    const quint32 word = field.typeWord;
    if (!isVarying(word)) return readFixed(in, word);
    const quint64 length = in.unsignedOf(sizeOf(word));
    if (isBlob(word) && (length & 0x80000000u)) return {}; // delayed blob: no data follows
    if (length > in.remaining()) fail(QStringLiteral("data ends early"));
    QByteArray value = in.bytes(size_t(length));
    if (isBlob(word) && value.isEmpty()) return {};
    if (codeOf(word) == ZString) {
        value = cutAtNul(value);
        // As the engine does on loading, a text longer than its field's width is cut to it.
        if (field.width > 0 && value.size() > field.width) value.truncate(field.width);
    }
    return FieldValue::bytes(value);
}

struct ChangeLogEntry {
    quint32 record;
    quint32 previous;
    quint32 action;
};

std::vector<ChangeLogEntry> changeLogOf(const Parameter& p) {
    std::vector<ChangeLogEntry> log;
    if (sizeOf(p.typeWord) != 4 || p.count % 3 != 0) fail(QStringLiteral("bad change log"));
    const auto* d = reinterpret_cast<const uchar*>(p.value.constData());
    for (quint32 i = 0; i + 2 < p.count; i += 3)
        log.push_back({qFromLittleEndian<quint32>(d + 4 * i), qFromLittleEndian<quint32>(d + 4 * i + 4),
                       qFromLittleEndian<quint32>(d + 4 * i + 8)});
    return log;
}

struct RawRow {
    quint8 status = 0;
    DataRow values;
    std::vector<bool> notChanged; // blob columns whose value lives in an older version
};

// A "not changed" blob takes the value of the record's previous version, found through the
// change log; a chain that cannot be followed (no entry, out of range, a cycle) leaves it NULL.
// Each row is settled once per column, so hostile logs cost linear time.
void resolveUnchangedBlobs(std::vector<RawRow>& rows, const std::vector<ChangeLogEntry>& log) {
    const size_t count = rows.size();
    std::vector<qint64> previous(count, -1); // 0-based previous version of each row, from modify entries
    std::vector<bool> named(count, false);
    for (const ChangeLogEntry& e : log) {
        if (!(e.action & StatusModified) || e.record == 0 || e.record > count || named[e.record - 1])
            continue;
        named[e.record - 1] = true;
        if (e.previous >= 1 && e.previous <= count) previous[e.record - 1] = qint64(e.previous) - 1;
    }
    const size_t columns = count ? rows[0].notChanged.size() : 0;
    enum class State : quint8 { Open, Visiting, Settled };
    for (size_t c = 0; c < columns; ++c) {
        std::vector<State> state(count, State::Open);
        std::vector<size_t> path;
        for (size_t r = 0; r < count; ++r) {
            if (!rows[r].notChanged[c] || state[r] != State::Open) continue;
            // Walk back until a row that holds a value or is settled; everything on the way gets it.
            path.clear();
            FieldValue found;
            qint64 at = qint64(r);
            while (at >= 0) {
                const size_t row = size_t(at);
                if (!rows[row].notChanged[c] || state[row] == State::Settled) {
                    found = rows[row].values[c];
                    break;
                }
                if (state[row] == State::Visiting) break; // a cycle: no value
                state[row] = State::Visiting;
                path.push_back(row);
                at = previous[row];
            }
            for (size_t row : path) {
                rows[row].values[c] = found;
                state[row] = State::Settled;
            }
        }
    }
}

} // namespace

DataPacket readDataPacket(const QByteArray& bytes) {
    if (bytes.isEmpty()) fail(QStringLiteral("empty"));
    if (bytes.size() < HeaderSize) fail(QStringLiteral("header ends early"));
    PacketCursor in(bytes);
    const quint32 magic = in.u32();
    if (magic != Magic && magic != OldMagic) fail(QStringLiteral("not a data packet"));
    const quint16 major = in.u16();
    const quint16 minor = in.u16();
    if (major > 3 || minor > 3) fail(QStringLiteral("unsupported version"));
    const quint32 headerSize = in.u32();
    const quint16 columnCount = in.u16();
    const quint32 rowCount = in.u32();
    const quint32 properties = in.u32();
    const quint16 dataOffset = in.u16();
    if (!(properties & PropMetadata)) fail(QStringLiteral("no metadata"));
    if (properties & PropXml) fail(QStringLiteral("XML payload"));
    if (columnCount == 0) fail(QStringLiteral("no columns"));
    if (headerSize < HeaderSize) fail(QStringLiteral("bad header size"));
    in.seek(headerSize);

    DataPacket packet;
    packet.fields.reserve(columnCount);
    for (int c = 0; c < columnCount; ++c) {
        DataField field;
        const quint8 nameLength = in.u8();
        if (nameLength == 0) fail(QStringLiteral("invalid field name"));
        field.name = in.bytes(nameLength);
        field.typeWord = in.u32() & ~IncludeInDelta;
        checkColumnType(field.typeWord);
        field.attributes = in.u16();
        const quint16 parameterCount = in.u16();
        for (int i = 0; i < parameterCount; ++i) {
            const Parameter p = readParameter(in);
            if (p.name == "WIDTH" && !(p.typeWord & (Array | Varying)))
                field.width = int(littleEndianValue(p.value) & 0x7FFFFFFF);
            else if (p.name == "SUBTYPE" && !(p.typeWord & Array))
                field.subtype = cutAtNul(p.value);
        }
        packet.fields.push_back(std::move(field));
    }

    std::vector<ChangeLogEntry> changeLog;
    const quint16 datasetParameterCount = in.u16();
    for (int i = 0; i < datasetParameterCount; ++i) {
        const Parameter p = readParameter(in);
        if (p.name == "CHANGE_LOG" && (p.typeWord & Array))
            changeLog = changeLogOf(p);
        else if (p.name == "LCID" && !(p.typeWord & (Array | Varying)))
            packet.lcid = int(qint32(littleEndianValue(p.value)));
    }
    if ((properties & PropMetaLength) && in.position() != dataOffset)
        fail(QStringLiteral("rows do not start where the header says"));

    // Every row needs at least its status byte and its null bits: a count that claims more rows
    // than the bytes left can hold is refused before anything is allocated for them.
    const size_t nullBytes = (columnCount + 3) / 4;
    if (quint64(rowCount) * (1 + nullBytes) > in.remaining()) fail(QStringLiteral("too many rows"));
    // A row of NULLs costs the packet a few bits per value but the table tens of bytes: without
    // a bound, a few compressed megabytes in an archive would claim gigabytes of memory.
    if (rowCount > MaxRows || quint64(rowCount) * columnCount > MaxValues)
        fail(QStringLiteral("more rows than a table holds"));

    std::vector<RawRow> rows(rowCount);
    bool anyUnchangedBlob = false;
    for (RawRow& row : rows) {
        row.status = in.u8();
        const uchar* blanks = in.take(nullBytes);
        row.values.resize(columnCount);
        row.notChanged.assign(columnCount, false);
        for (size_t c = 0; c < columnCount; ++c) {
            const quint8 blank = (blanks[c / 4] >> (2 * (c % 4))) & 3;
            if (blank & BlankNull) continue;
            if (blank & BlankNotChanged) {
                // A field that was never assigned is NULL; a blob may be kept from an older version.
                if (packet.fields[c].isBlob() && (row.status & StatusModified)) {
                    row.notChanged[c] = true;
                    anyUnchangedBlob = true;
                }
                continue;
            }
            row.values[c] = readValue(in, packet.fields[c]);
        }
    }
    if (in.remaining() != 0) fail(QStringLiteral("unexpected bytes after the last row"));
    if (anyUnchangedBlob) resolveUnchangedBlobs(rows, changeLog);

    for (RawRow& row : rows)
        if ((row.status & (StatusOriginal | StatusDeleted | StatusUnused)) == 0)
            packet.rows.push_back(std::move(row.values));
    return packet;
}
