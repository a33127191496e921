#include "platform/DataPacket.h"

#include <QtEndian>

using namespace DataPacketType;

DataField DataField::string(const QByteArray& name, int width, bool required) {
    DataField f;
    f.name = name;
    f.typeWord = make(ZString, width <= 253 ? 1 : 2, true);
    f.attributes = required ? DataFieldAttr::Required : 0;
    f.width = width;
    return f;
}

DataField DataField::integer(const QByteArray& name) {
    DataField f;
    f.name = name;
    f.typeWord = Int32;
    return f;
}

DataField DataField::boolean(const QByteArray& name) {
    DataField f;
    f.name = name;
    f.typeWord = Boolean16;
    return f;
}

DataField DataField::graphic(const QByteArray& name) {
    DataField f;
    f.name = name;
    f.typeWord = Blob;
    f.subtype = "Graphics";
    return f;
}

bool DataField::isString() const {
    return codeOf(typeWord) == ZString || isWideString();
}
bool DataField::isWideString() const {
    return codeOf(typeWord) == Unicode;
}
bool DataField::isBoolean() const {
    return codeOf(typeWord) == Bool;
}

bool DataField::isInteger() const {
    const quint32 code = codeOf(typeWord);
    return code == Int || code == UInt || code == Date || code == Time;
}

bool DataField::isFloat() const {
    const quint32 code = codeOf(typeWord);
    return (code == FloatIeee && sizeOf(typeWord) == 8) || code == Timestamp || code == Single;
}

qint64 FieldValue::toInteger() const {
    if (const auto* i = std::get_if<qint64>(&m_value)) return *i;
    if (const auto* d = std::get_if<double>(&m_value)) {
        // Only a value inside the 64-bit range converts; NaN and huge values read as 0.
        return *d > -9.2e18 && *d < 9.2e18 ? qint64(*d) : 0;
    }
    return 0;
}

double FieldValue::toReal() const {
    if (const auto* d = std::get_if<double>(&m_value)) return *d;
    if (const auto* i = std::get_if<qint64>(&m_value)) return double(*i);
    return 0.0;
}

QByteArray FieldValue::toBytes() const {
    if (const auto* b = std::get_if<QByteArray>(&m_value)) return *b;
    return {};
}

int DataPacket::fieldIndex(const QByteArray& name) const {
    for (size_t i = 0; i < fields.size(); ++i)
        if (qstricmp(fields[i].name.constData(), name.constData()) == 0) return int(i);
    return -1;
}

namespace GraphicBlob {

constexpr int HeaderSize = 8;

QByteArray payload(const QByteArray& blob) {
    if (blob.size() < HeaderSize) return blob;
    const auto* p = reinterpret_cast<const uchar*>(blob.constData());
    const quint16 count = qFromLittleEndian<quint16>(p);
    const quint16 type = qFromLittleEndian<quint16>(p + 2);
    const qint32 size = qFromLittleEndian<qint32>(p + 4);
    if (count == 1 && type == 0x0100 && size == blob.size() - HeaderSize) return blob.mid(HeaderSize);
    return blob;
}

QByteArray wrap(const QByteArray& picture) {
    QByteArray out(HeaderSize, Qt::Uninitialized);
    auto* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<quint16>(1, p);
    qToLittleEndian<quint16>(0x0100, p + 2);
    qToLittleEndian<qint32>(qint32(picture.size()), p + 4);
    return out + picture;
}

} // namespace GraphicBlob
