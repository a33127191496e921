#pragma once

#include "platform/DataPacket.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

class TClientDataSet;

// One column of a table, read at the table's current record. A NULL value reads as 0, empty
// text, false or an empty picture; any read from a closed table raises EDatabaseError.
class TField {
public:
    TField(const TClientDataSet* table, int column) : m_table(table), m_column(column) {}

    const DataField& Definition() const;
    QByteArray FieldName() const { return Definition().name; }
    bool IsNull() const;
    FieldValue Value() const;
    // Integer fields as they are, Booleans as 0/1, strings through StrToInt (EConvertError).
    int AsInteger() const;
    // Strings as code-page bytes (wide strings converted), numbers in decimal, "True"/"False".
    QByteArray AsString() const;
    bool AsBoolean() const;
    // The stored bytes of a blob or fixed field.
    QByteArray AsBytes() const;
    // The picture of a graphic blob, without the 8-byte graphic header where there is one.
    QByteArray AsPicture() const;
    QImage AsImage() const;

private:
    const TClientDataSet* m_table;
    int m_column;
};

// The in-memory table: loads a binary data packet, then offers a cursor over its visible rows in
// the order of the current index. Clones share the rows and keep a cursor and an index of their
// own. Every access to a closed table raises EDatabaseError naming the table.
class TClientDataSet : public QObject {
    Q_OBJECT

public:
    explicit TClientDataSet(QObject* parent = nullptr, const QString& name = {});

    // Closes the table, reads the packet and opens it. An invalid packet raises EDatabaseError and
    // leaves the table closed.
    void LoadFromStream(const QByteArray& packet);
    // Opens an empty table with these fields.
    void CreateDataSet(const std::vector<DataField>& fields);
    // The table's rows in packet order as a data packet.
    QByteArray SaveToBytes() const;

    bool Active() const { return m_data != nullptr; }
    // A table without a packet cannot open: Open raises EDatabaseError unless already open.
    void Open();
    // Closing drops the rows, as loading a new packet does.
    void Close();

    void First();
    void Next();
    void Last();
    bool Eof() const;
    bool Bof() const;
    bool IsEmpty() const { return RecordCount() == 0; }
    int RecordCount() const;
    // 1-based number of the current record in index order; 0 in an empty table.
    int RecNo() const;
    // Moves to the record with this number; a number outside 1..RecordCount changes nothing.
    void SetRecNo(int recNo);

    // Kept for callers that bracket long walks; there are no bound controls to refresh.
    void DisableControls() { ++m_disableCount; }
    void EnableControls() {
        if (m_disableCount > 0) --m_disableCount;
    }
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // Field names separated by ";"; equal keys keep their packet order; empty is packet order.
    // The current record stays current. A name that is no field raises EDatabaseError when the
    // index is applied (at once when open, else at the next open).
    QString IndexFieldNames() const { return m_indexFieldNames; }
    void SetIndexFieldNames(const QString& names);

    // Moves to the first record in index order whose fields (names separated by ";") equal the
    // values, compared exactly. Returns false and leaves the cursor where it was when none does.
    bool Locate(const QString& keyFields, const QVariantList& keyValues);
    bool Locate(const QString& keyField, const QVariant& keyValue) {
        return Locate(keyField, QVariantList{keyValue});
    }

    // Makes this table a second cursor on the source's rows. Reset: default index and filter;
    // else keepSettings keeps this table's own, otherwise the source's are taken.
    void CloneCursor(TClientDataSet* source, bool reset, bool keepSettings);

    // Without a filter condition every record passes, so the flag only records the request.
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool filtered) { m_filtered = filtered; }

    int FieldCount() const;
    const DataField& FieldDef(int column) const;
    // Field names match without regard to case; a missing field raises EDatabaseError.
    TField FieldByName(const QString& name) const;
    TField Fields(int column) const;

    // Runs each time the table opens (load, create, clone). An error it raises closes the table
    // again and reaches whoever opened it.
    std::function<void(TClientDataSet* DataSet)> AfterOpen;

    // The value of a column at the current record (NULL when there is no current record).
    FieldValue valueAt(int column) const;
    void checkActive() const;

private:
    // The table's name in messages.
    QString who() const { return objectName().isEmpty() ? QStringLiteral("Table") : objectName(); }
    void openWith(std::shared_ptr<const DataPacket> data);
    void applyIndex();
    int columnOf(const QString& name) const;
    std::vector<int> columnsOf(const QString& names) const;

    std::shared_ptr<const DataPacket> m_data; // null while closed
    std::vector<int> m_order;                 // row indices in index order
    int m_pos = 0;                            // index into m_order
    bool m_eof = true;
    bool m_bof = true;
    QString m_indexFieldNames;
    bool m_filtered = false;
    int m_disableCount = 0;
};
