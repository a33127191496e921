#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <variant>
#include <vector>

// The in-memory form of a client dataset data packet ("*.cds"): the column descriptors and the
// visible rows. DataPacketReader builds it from packet bytes, DataPacketWriter turns it back into
// bytes laid out the way the table engine writes them.

namespace DataPacketType {
// Type word: size in bits 0-15, type code in bits 16-21, then flags.
constexpr quint32 SizeMask = 0x0000FFFF;
constexpr quint32 CodeMask = 0x003F0000;
constexpr quint32 Varying = 0x00400000;
constexpr quint32 Array = 0x00800000;
constexpr quint32 Structured = 0x07000000; // ADT, compressed array, embedded table
constexpr quint32 IncludeInDelta = 0x80000000;

enum Code : quint32 {
    Unknown = 0,
    Int = 1,
    UInt = 2,
    Bool = 3,
    FloatIeee = 4,
    Bcd = 5,
    Date = 6,
    Time = 7,
    Timestamp = 8,
    ZString = 9,
    Unicode = 10,
    Bytes = 11,
    SqlDateTime = 17,
    FmtBcd = 18,
    Single = 27,
    DateTimeOffset = 36,
};

constexpr quint32 make(quint32 code, quint32 size, bool varying = false) {
    return (code << 16) | size | (varying ? Varying : 0);
}
constexpr quint32 codeOf(quint32 typeWord) {
    return (typeWord & CodeMask) >> 16;
}
constexpr quint32 sizeOf(quint32 typeWord) {
    return typeWord & SizeMask;
}
constexpr bool isVarying(quint32 typeWord) {
    return (typeWord & Varying) != 0;
}
// A varying BYTES column with a 4-byte length: memo, blob, graphic.
constexpr bool isBlob(quint32 typeWord) {
    return typeWord == make(Bytes, 4, true);
}

constexpr quint32 Int32 = make(Int, 4);
constexpr quint32 Boolean16 = make(Bool, 2);
constexpr quint32 Double = make(FloatIeee, 8);
constexpr quint32 Blob = make(Bytes, 4, true);
} // namespace DataPacketType

// Column attribute flags.
namespace DataFieldAttr {
constexpr quint16 Hidden = 0x0001;
constexpr quint16 ReadOnly = 0x0002;
constexpr quint16 Required = 0x0004;
} // namespace DataFieldAttr

// One column: its name (code-page bytes), packet type word, attributes, declared width for strings
// and the SUBTYPE parameter ("Graphics" for pictures), if any.
struct DataField {
    QByteArray name;
    quint32 typeWord = DataPacketType::Int32;
    quint16 attributes = 0;
    int width = 0;
    QByteArray subtype;

    static DataField string(const QByteArray& name, int width, bool required = false);
    static DataField integer(const QByteArray& name);
    static DataField boolean(const QByteArray& name);
    static DataField graphic(const QByteArray& name);

    bool required() const { return (attributes & DataFieldAttr::Required) != 0; }
    bool isString() const;
    bool isWideString() const;
    bool isBoolean() const;
    bool isInteger() const;
    bool isFloat() const;
    bool isBlob() const { return DataPacketType::isBlob(typeWord); }
    bool isGraphic() const { return isBlob() && subtype == "Graphics"; }
    bool operator==(const DataField&) const = default;
};

// One value of a row: NULL, an integer (also Booleans, dates and times), a floating-point number,
// or bytes (strings in the code page, blobs, fixed raw values).
class FieldValue {
public:
    FieldValue() = default;
    static FieldValue integer(qint64 value) { return FieldValue(value); }
    static FieldValue boolean(bool value) { return FieldValue(qint64(value ? 1 : 0)); }
    static FieldValue real(double value) { return FieldValue(value); }
    static FieldValue bytes(const QByteArray& value) { return FieldValue(value); }

    bool isNull() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isInteger() const { return std::holds_alternative<qint64>(m_value); }
    bool isReal() const { return std::holds_alternative<double>(m_value); }
    bool isBytes() const { return std::holds_alternative<QByteArray>(m_value); }
    qint64 toInteger() const;
    double toReal() const;
    QByteArray toBytes() const;

    bool operator==(const FieldValue&) const = default;

private:
    explicit FieldValue(qint64 v) : m_value(v) {}
    explicit FieldValue(double v) : m_value(v) {}
    explicit FieldValue(const QByteArray& v) : m_value(v) {}
    std::variant<std::monostate, qint64, double, QByteArray> m_value;
};

using DataRow = std::vector<FieldValue>;

struct DataPacket {
    std::vector<DataField> fields;
    std::vector<DataRow> rows; // visible rows in packet order, one value per field
    // Locale of the writer (dataset parameter "LCID"); 0 when the packet names none.
    int lcid = 0;

    // Index of the field with this name (matched without regard to ASCII case), or -1.
    int fieldIndex(const QByteArray& name) const;
};

// Pictures in graphic blobs may carry an 8-byte header (count 1, type 0x0100, payload size).
namespace GraphicBlob {
// The picture's own bytes: the header is skipped when it is present and consistent.
QByteArray payload(const QByteArray& blob);
// The header followed by the picture bytes, as a graphic field stores an assigned picture.
QByteArray wrap(const QByteArray& picture);
} // namespace GraphicBlob
