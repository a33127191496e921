#include "platform/ClientDataSet.h"

#include "platform/CodePage.h"
#include "platform/DataPacketReader.h"
#include "platform/DataPacketWriter.h"
#include "platform/Errors.h"
#include "platform/StrictInt.h"
#include "platform/Translation.h"

#include <algorithm>

namespace {

// Orders two values of one column: NULL first, then numbers or bytes in ascending order.
int compareValues(const FieldValue& a, const FieldValue& b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (a.isBytes() || b.isBytes()) return a.toBytes().compare(b.toBytes());
    if (a.isReal() || b.isReal()) {
        const double x = a.toReal(), y = b.toReal();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const qint64 x = a.toInteger(), y = b.toInteger();
    return x < y ? -1 : (x > y ? 1 : 0);
}

QByteArray textOf(const QVariant& v) {
    if (v.typeId() == QMetaType::QByteArray) return v.toByteArray();
    return CodePage::fromUnicode(v.toString());
}

// Whether a stored value equals a searched one, as an exact comparison in the field's type.
bool matches(const DataField& field, const FieldValue& stored, const QVariant& wanted) {
    if (!wanted.isValid() || wanted.isNull()) return stored.isNull();
    if (stored.isNull()) return false;
    if (field.isBoolean()) return (stored.toInteger() != 0) == wanted.toBool();
    if (stored.isInteger()) {
        bool ok = false;
        const qlonglong n = wanted.toLongLong(&ok);
        return ok && n == stored.toInteger();
    }
    if (stored.isReal()) {
        bool ok = false;
        const double d = wanted.toDouble(&ok);
        return ok && d == stored.toReal();
    }
    if (field.isWideString()) {
        const QByteArray raw = stored.toBytes();
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2);
        return text == wanted.toString();
    }
    return stored.toBytes() == textOf(wanted);
}

} // namespace

// ---- TField ----

const DataField& TField::Definition() const {
    return m_table->FieldDef(m_column);
}

FieldValue TField::Value() const {
    return m_table->valueAt(m_column);
}

bool TField::IsNull() const {
    return Value().isNull();
}

int TField::AsInteger() const {
    const FieldValue v = Value();
    if (v.isNull()) return 0;
    if (v.isBytes()) {
        if (Definition().isString()) return StrToInt(AsString().toStdString());
        throw EDatabaseError(
            formatText(i18n("Field '%s' cannot be read as an integer"), {QString::fromLatin1(FieldName())}));
    }
    return int(v.toInteger());
}

QByteArray TField::AsString() const {
    const FieldValue v = Value();
    if (v.isNull()) return {};
    const DataField& def = Definition();
    if (def.isBoolean()) return v.toInteger() ? "True" : "False";
    if (v.isInteger()) return QByteArray::number(v.toInteger());
    if (v.isReal()) return QByteArray::number(v.toReal(), 'g', 15);
    if (def.isWideString()) {
        const QByteArray raw = v.toBytes();
        return CodePage::fromUnicode(
            QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2));
    }
    return v.toBytes();
}

bool TField::AsBoolean() const {
    const FieldValue v = Value();
    if (v.isNull()) return false;
    if (v.isBytes()) {
        const QByteArray text = v.toBytes().toLower();
        if (text == "true" || text == "t" || text == "yes" || text == "y") return true;
        if (text.isEmpty() || text == "false" || text == "f" || text == "no" || text == "n") return false;
        throw EConvertError(
            formatText(i18n("'%s' is not a valid boolean value"), {CodePage::toUnicode(text)}));
    }
    return v.toInteger() != 0;
}

QByteArray TField::AsBytes() const {
    return Value().toBytes();
}

QByteArray TField::AsPicture() const {
    return GraphicBlob::payload(AsBytes());
}

QImage TField::AsImage() const {
    const QByteArray picture = AsPicture();
    if (picture.isEmpty()) return {};
    return QImage::fromData(picture);
}

// ---- TClientDataSet ----

TClientDataSet::TClientDataSet(QObject* parent, const QString& name) : QObject(parent) {
    setObjectName(name);
}

void TClientDataSet::checkActive() const {
    if (!m_data)
        throw EDatabaseError(
            formatText(i18n("%s: Cannot perform this operation on a closed dataset"), {who()}));
}

void TClientDataSet::LoadFromStream(const QByteArray& packet) {
    Close();
    openWith(std::make_shared<const DataPacket>(readDataPacket(packet)));
}

void TClientDataSet::CreateDataSet(const std::vector<DataField>& fields) {
    Close();
    if (fields.empty()) throw EDatabaseError(formatText(i18n("%s: Field definitions missing"), {who()}));
    auto data = std::make_shared<DataPacket>();
    data->fields = fields;
    openWith(std::move(data));
}

QByteArray TClientDataSet::SaveToBytes() const {
    checkActive();
    return writeDataPacket(*m_data);
}

void TClientDataSet::Open() {
    if (!m_data) throw EDatabaseError(formatText(i18n("%s: Missing data provider or data packet"), {who()}));
}

void TClientDataSet::Close() {
    m_data.reset();
    m_order.clear();
    m_pos = 0;
    m_eof = m_bof = true;
}

void TClientDataSet::openWith(std::shared_ptr<const DataPacket> data) {
    m_data = std::move(data);
    try {
        applyIndex();
        First();
        if (AfterOpen) AfterOpen(this);
    } catch (...) {
        Close();
        throw;
    }
}

void TClientDataSet::applyIndex() {
    const std::vector<int> keys = columnsOf(m_indexFieldNames);
    const int current = m_pos < int(m_order.size()) ? m_order[size_t(m_pos)] : -1;
    m_order.resize(m_data->rows.size());
    for (size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = int(i);
    if (!keys.empty()) {
        const auto& rows = m_data->rows;
        std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
            for (int k : keys) {
                const int c = compareValues(rows[a][k], rows[b][k]);
                if (c != 0) return c < 0;
            }
            return false;
        });
    }
    m_pos = 0;
    if (current >= 0) m_pos = int(std::find(m_order.begin(), m_order.end(), current) - m_order.begin());
}

void TClientDataSet::First() {
    checkActive();
    m_pos = 0;
    m_eof = m_order.empty();
    m_bof = true;
}

void TClientDataSet::Next() {
    checkActive();
    if (m_order.empty() || m_pos + 1 >= int(m_order.size())) {
        m_eof = true;
        return;
    }
    ++m_pos;
    m_eof = m_bof = false;
}

void TClientDataSet::Last() {
    checkActive();
    m_pos = m_order.empty() ? 0 : int(m_order.size()) - 1;
    m_eof = true;
    m_bof = m_order.empty();
}

bool TClientDataSet::Eof() const {
    checkActive();
    return m_eof;
}

bool TClientDataSet::Bof() const {
    checkActive();
    return m_bof;
}

int TClientDataSet::RecordCount() const {
    checkActive();
    return int(m_order.size());
}

int TClientDataSet::RecNo() const {
    checkActive();
    return m_order.empty() ? 0 : m_pos + 1;
}

void TClientDataSet::SetRecNo(int recNo) {
    checkActive();
    if (recNo < 1 || recNo > int(m_order.size())) return;
    m_pos = recNo - 1;
    m_eof = m_bof = false;
}

void TClientDataSet::SetIndexFieldNames(const QString& names) {
    const QString previous = m_indexFieldNames;
    m_indexFieldNames = names;
    if (!m_data) return;
    try {
        applyIndex();
    } catch (...) {
        m_indexFieldNames = previous;
        throw;
    }
}

bool TClientDataSet::Locate(const QString& keyFields, const QVariantList& keyValues) {
    checkActive();
    const std::vector<int> columns = columnsOf(keyFields);
    if (columns.empty() || columns.size() != size_t(keyValues.size()))
        throw EDatabaseError(formatText(i18n("%s: Locate needs one value per key field"), {who()}));
    for (size_t i = 0; i < m_order.size(); ++i) {
        const DataRow& row = m_data->rows[m_order[i]];
        bool all = true;
        for (size_t k = 0; k < columns.size() && all; ++k)
            all = matches(m_data->fields[columns[k]], row[columns[k]], keyValues[qsizetype(k)]);
        if (all) {
            m_pos = int(i);
            m_eof = m_bof = false;
            return true;
        }
    }
    return false;
}

void TClientDataSet::CloneCursor(TClientDataSet* source, bool reset, bool keepSettings) {
    source->checkActive();
    if (reset) {
        m_indexFieldNames.clear();
        m_filtered = false;
    } else if (!keepSettings) {
        m_indexFieldNames = source->m_indexFieldNames;
        m_filtered = source->m_filtered;
    }
    Close();
    openWith(source->m_data);
}

int TClientDataSet::FieldCount() const {
    checkActive();
    return int(m_data->fields.size());
}

const DataField& TClientDataSet::FieldDef(int column) const {
    checkActive();
    if (column < 0 || column >= int(m_data->fields.size()))
        throw EDatabaseError(formatText(i18n("%s: Field index out of range"), {who()}));
    return m_data->fields[size_t(column)];
}

int TClientDataSet::columnOf(const QString& name) const {
    const int column = m_data->fieldIndex(CodePage::fromUnicode(name));
    if (column < 0) throw EDatabaseError(formatText(i18n("%s: Field '%s' not found"), {who(), name}));
    return column;
}

std::vector<int> TClientDataSet::columnsOf(const QString& names) const {
    std::vector<int> columns;
    for (const QString& part : names.split(u';', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty()) columns.push_back(columnOf(name));
    }
    return columns;
}

TField TClientDataSet::FieldByName(const QString& name) const {
    checkActive();
    return TField(this, columnOf(name));
}

TField TClientDataSet::Fields(int column) const {
    FieldDef(column);
    return TField(this, column);
}

FieldValue TClientDataSet::valueAt(int column) const {
    FieldDef(column);
    if (m_order.empty()) return {};
    return m_data->rows[size_t(m_order[size_t(m_pos)])][size_t(column)];
}
