#include "settings/DataMod.h"

#include "platform/DataPacketWriter.h"
#include "platform/Errors.h"
#include "platform/StrictInt.h"
#include "platform/TextLines.h"

TDataMod* DataMod = nullptr;

namespace {

// The value of a readme key: the text after the first "=" of the first line whose text before it
// equals the key without regard to case; nothing is trimmed. A key no line names is empty.
QByteArray readmeValue(const TextLines& lines, const QByteArray& key) {
    for (const QByteArrayView line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        if (line.first(eq).compare(key, Qt::CaseInsensitive) == 0) return line.sliced(eq + 1).toByteArray();
    }
    return {};
}

// A member whose data cannot be read (a damaged archive, a member over the size limit) counts as
// missing, so that the table it feeds is left empty like any table whose packet is invalid,
// never holding an older layout.
QByteArray readMember(const ZipReader& kit, const QByteArray& name) {
    try {
        return kit.extract(name);
    } catch (const EInOutError&) {
        return {};
    }
}

DataPacket emptyPacket(std::vector<DataField> fields) {
    DataPacket packet;
    packet.fields = std::move(fields);
    return packet;
}

// Loads a table from a member's packet. A packet that is missing, invalid or lacks a field of
// the table leaves the table open and empty instead of closed, so that whoever reads it finds
// no records rather than an error; the load then fails.
void loadTable(TClientDataSet* table, const QByteArray& packet, const std::vector<DataField>& fields) {
    try {
        table->LoadFromStream(packet);
        for (const DataField& field : fields)
            table->FieldByName(QString::fromLatin1(field.name)); // raises when it is missing
    } catch (const QuorvelError&) {
        table->LoadFromStream(writeDataPacket(emptyPacket(fields)));
        throw;
    }
}

} // namespace

TDataMod::TDataMod(QObject* parent)
    : QObject(parent), MainTbl(new TClientDataSet(this, QStringLiteral("MainTbl"))),
      Ctbl(new TClientDataSet(this, QStringLiteral("Ctbl"))),
      CtblF(new TClientDataSet(this, QStringLiteral("CtblF"))),
      CtblD(new TClientDataSet(this, QStringLiteral("CtblD"))) {
    setObjectName(QStringLiteral("DataMod"));
    MainTbl->SetIndexFieldNames(QStringLiteral("Name"));
    Ctbl->AfterOpen = [this](TClientDataSet* dataSet) { CtblAfterOpen(dataSet); };
    // Both tables start open and empty, from packets with their field lists and no records.
    MainTbl->LoadFromStream(writeDataPacket(emptyPacket(keyTableFields())));
    Ctbl->LoadFromStream(writeDataPacket(emptyPacket(charTableFields())));
    DataModuleCreate();
}

void TDataMod::DataModuleCreate() {
    // The zip reader treats every file as a zip archive whatever its extension: nothing to set.
}

void TDataMod::CtblAfterOpen(TClientDataSet*) {
    Ctbl->SetIndexFieldNames(QStringLiteral("Code"));
    CtblF->CloneCursor(Ctbl, true, false);
    CtblD->CloneCursor(Ctbl, true, false);
    CtblD->SetFiltered(true);
}

bool TDataMod::LoadLayout(const QString& FileName) {
    try {
        Kit.open(FileName);
        loadTable(MainTbl, readMember(Kit, "key.cds"), keyTableFields());
        loadTable(Ctbl, readMember(Kit, "char.cds"), charTableFields());
        const QByteArray readme = readMember(Kit, "readme");
        Kit.close();
        const TextLines lines(readme);

        BkColor = StrToInt(std::string_view(readmeValue(lines, "bkcolor").toStdString()));
        Author = readmeValue(lines, "Author");
        Misc = readmeValue(lines, "misc");
        const auto& names = fingerNames();
        for (size_t i = 0; i < names.size(); ++i)
            FingerLength[i] = StrToIntOrZero(readmeValue(lines, names[i]).toStdString());
        for (size_t i = 0; i < names.size(); ++i)
            FingerX[i] = StrToIntOrZero(readmeValue(lines, QByteArray(names[i]) + "x").toStdString());
        for (size_t i = 0; i < names.size(); ++i)
            FingerColor[i] = StrToIntOrZero(readmeValue(lines, QByteArray(names[i]) + "Color").toStdString());
        return true;
    } catch (const std::exception&) {
        // A layout that does not load is not reported; the caller learns of it from the result.
        Kit.close();
        return false;
    }
}

std::vector<DataField> TDataMod::keyTableFields() {
    return {DataField::string("Name", 20, true),
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
}

std::vector<DataField> TDataMod::charTableFields() {
    return {DataField::string("Name", 30), DataField::integer("Code"),  DataField::integer("KeyNo"),
            DataField::boolean("Shift"),   DataField::boolean("AltGr"), DataField::integer("Accent")};
}

const std::array<const char*, 10>& TDataMod::fingerNames() {
    static const std::array<const char*, 10> names = {"LLittle", "LRing", "LMiddle", "LIndex", "LThumb",
                                                      "RLittle", "RRing", "RMiddle", "RIndex", "RThumb"};
    return names;
}
