#include "platform/DataPacketWriter.h"
#include "platform/Errors.h"
#include "platform/ScriptedDialogs.h"
#include "settings/DataMod.h"
#include "support/UnusualFiles.h"
#include "support/TestPaths.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <optional>
#include <zip.h>

namespace {

using Members = std::map<QByteArray, QByteArray>;

// Members are deflated, or stored as they are when `stored` is set.
void writeZip(const QString& path, const Members& members, bool stored = false) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    QVERIFY(archive);
    for (const auto& [name, data] : members) {
        zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, name.constData(), source, 0);
        QVERIFY(index >= 0);
        if (stored) QCOMPARE(zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0), 0);
    }
    QCOMPARE(zip_close(archive), 0);
}

// Changes one byte in the middle of a stored member's data, so that its checksum fails.
void damageStoredMember(const QString& path, const QByteArray& data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf(data.left(64));
    QVERIFY(at > 0);
    bytes[at + data.size() / 2] = char(bytes[at + data.size() / 2] ^ 0x55);
    QVERIFY(file.seek(0));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray glyph(QRgb colour) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return GraphicBlob::wrap(bytes);
}

// Keys in a deliberately unsorted packet order: the table must come out ordered by Name.
QByteArray keyPacket(const QList<QByteArray>& names) {
    DataPacket p;
    p.fields = TDataMod::keyTableFields();
    int value = 100;
    for (const QByteArray& name : names) {
        ++value;
        p.rows.push_back({FieldValue::bytes(name), FieldValue::integer(value), FieldValue::integer(1),
                          FieldValue::integer(0), FieldValue::integer(value % 10),
                          FieldValue::bytes(glyph(qRgb(value, 0, 0))), FieldValue::integer(40),
                          FieldValue::integer(40), FieldValue::integer(value), FieldValue::integer(0),
                          FieldValue::bytes("hint " + name)});
    }
    return writeDataPacket(p);
}

QByteArray charPacket(const QList<int>& codes) {
    DataPacket p;
    p.fields = TDataMod::charTableFields();
    for (int code : codes)
        p.rows.push_back({FieldValue::bytes("c" + QByteArray::number(code)), FieldValue::integer(code),
                          FieldValue::integer(101), FieldValue::boolean(false), FieldValue::boolean(false),
                          FieldValue::integer(0)});
    return writeDataPacket(p);
}

// A readme that sets every layout value: bkcolor 1, then finger length i, x 100 + i, colour 200 + i.
QByteArray fullReadme(const QByteArray& bkcolorLine = "bkcolor=1", const QByteArray& skip = {}) {
    QByteArray text = bkcolorLine + "\r\nAuthor=Someone\r\nmisc=any text = with equals\r\n";
    int i = 0;
    for (const char* finger : TDataMod::fingerNames()) {
        const QByteArray name(finger);
        if (name + "Color" != skip) text += name + "Color=" + QByteArray::number(200 + i) + "\n";
        if (name != skip) text += name + "=" + QByteArray::number(i) + "\r";
        text += name + "x=" + QByteArray::number(100 + i) + "\r\n";
        ++i;
    }
    return text;
}

QList<QByteArray> keyNames(TClientDataSet* table) {
    QList<QByteArray> names;
    for (table->First(); !table->Eof(); table->Next())
        names << table->FieldByName("Name").AsString();
    return names;
}

// A table that a failed load emptied: open, no records, its fields still there to look up.
void expectOpenAndEmpty(TClientDataSet* table, const char* someField) {
    QVERIFY(table->Active());
    QCOMPARE(table->RecordCount(), 0);
    QVERIFY(!table->Locate(QString::fromLatin1(someField), 97));
    table->First();
    QVERIFY(table->Eof());
}

QList<int> codes(TClientDataSet* table) {
    QList<int> result;
    for (table->First(); !table->Eof(); table->Next())
        result << table->FieldByName("Code").AsInteger();
    return result;
}

} // namespace

class TestDataMod : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_archives = 0;

    QString archive(const Members& members) {
        const QString path = m_dir.filePath(QString("layout%1.zqt").arg(++m_archives));
        writeZip(path, members);
        return path;
    }
    Members complete(const QByteArray& readme = fullReadme()) {
        return {{"key.cds", keyPacket({"K2", "K10", "K1"})},
                {"char.cds", charPacket({98, 97, 99})},
                {"readme", readme}};
    }
    // A module that has loaded a first layout (bkcolor 7, every finger value 5, author and misc "old").
    void loadFirstLayout(TDataMod& mod) {
        QByteArray readme = "bkcolor=7\nAuthor=old\nmisc=old\n";
        for (const char* finger : TDataMod::fingerNames())
            readme += QByteArray(finger) + "=5\n" + finger + "x=5\n" + finger + "Color=5\n";
        QVERIFY(mod.LoadLayout(
            archive({{"key.cds", keyPacket({"Old"})}, {"char.cds", charPacket({1})}, {"readme", readme}})));
    }
    static void expectFirstLayoutValues(const TDataMod& mod) {
        QCOMPARE(mod.BkColor, 7);
        QCOMPARE(mod.Author, QByteArray("old"));
        QCOMPARE(mod.Misc, QByteArray("old"));
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(mod.FingerLength[i], 5);
            QCOMPARE(mod.FingerX[i], 5);
            QCOMPARE(mod.FingerColor[i], 5);
        }
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void startsWithOpenEmptyTables() {
        TDataMod mod;
        QVERIFY(mod.MainTbl->Active());
        QCOMPARE(mod.MainTbl->RecordCount(), 0);
        QCOMPARE(mod.MainTbl->IndexFieldNames(), QString("Name"));
        QCOMPARE(mod.MainTbl->FieldCount(), 11);
        QVERIFY(mod.MainTbl->FieldDef(0).required());
        QVERIFY(mod.MainTbl->FieldByName("Glyph").Definition().isGraphic());
        QCOMPARE(mod.Ctbl->IndexFieldNames(), QString("Code"));
        QCOMPARE(mod.Ctbl->FieldCount(), 6);
        QVERIFY(mod.CtblF->Active());
        QVERIFY(mod.CtblD->Active());
        QVERIFY(mod.CtblD->Filtered());
        QVERIFY(!mod.CtblF->Filtered());
        QCOMPARE(mod.BkColor, 0);
        QVERIFY(mod.Author.isEmpty());
        QCOMPARE(mod.FingerColor[9], 0);
        QVERIFY(!mod.Kit.isOpen());
    }

    void loadsACompleteArchive() {
        TDataMod mod;
        QVERIFY(mod.LoadLayout(archive(complete())));
        QCOMPARE(keyNames(mod.MainTbl), QList<QByteArray>({"K1", "K10", "K2"}));
        mod.MainTbl->First();
        QCOMPARE(mod.MainTbl->FieldByName("KeyValue").AsInteger(), 103);
        QCOMPARE(mod.MainTbl->FieldByName("Hint").AsString(), QByteArray("hint K1"));
        QCOMPARE(mod.MainTbl->FieldByName("Glyph").AsImage().pixel(0, 39), qRgb(103, 0, 0));
        QCOMPARE(codes(mod.Ctbl), QList<int>({97, 98, 99}));
        QCOMPARE(mod.CtblF->RecordCount(), 3);
        QVERIFY(mod.CtblD->Locate("Code", 99));
        QVERIFY(mod.CtblD->Filtered());
        QCOMPARE(mod.BkColor, 1);
        QCOMPARE(mod.Author, QByteArray("Someone"));
        QCOMPARE(mod.Misc, QByteArray("any text = with equals"));
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(mod.FingerLength[i], i);
            QCOMPARE(mod.FingerX[i], 100 + i);
            QCOMPARE(mod.FingerColor[i], 200 + i);
        }
        QVERIFY(!mod.Kit.isOpen());
    }

    void bkcolorIsStrict_data() {
        QTest::addColumn<QByteArray>("readme");
        QTest::addColumn<std::optional<int>>("bkcolor"); // nothing: the load fails
        QTest::newRow("decimal") << QByteArray("bkcolor=255") << std::optional<int>(255);
        QTest::newRow("blanks before") << QByteArray("bkcolor=   255") << std::optional<int>(255);
        QTest::newRow("dollar hex") << QByteArray("bkcolor=$FF") << std::optional<int>(255);
        QTest::newRow("0x hex") << QByteArray("bkcolor=0xFF") << std::optional<int>(255);
        QTest::newRow("x hex") << QByteArray("bkcolor=xff") << std::optional<int>(255);
        QTest::newRow("negative system colour")
            << QByteArray("bkcolor=-2147483633") << std::optional<int>(-2147483633);
        QTest::newRow("name in capitals") << QByteArray("BKCOLOR=255") << std::optional<int>(255);
        QTest::newRow("first of two lines")
            << QByteArray("bkcolor=255\nbkcolor=1") << std::optional<int>(255);
        QTest::newRow("first even when invalid")
            << QByteArray("bkcolor=red\nbkcolor=1") << std::optional<int>();
        QTest::newRow("blank after") << QByteArray("bkcolor=255 ") << std::optional<int>();
        QTest::newRow("empty") << QByteArray("bkcolor=") << std::optional<int>();
        QTest::newRow("too large") << QByteArray("bkcolor=2147483648") << std::optional<int>();
        QTest::newRow("missing") << QByteArray("Author=x") << std::optional<int>();
        QTest::newRow("blank before the equals") << QByteArray("bkcolor =255") << std::optional<int>();
        QTest::newRow("blank before the name") << QByteArray(" bkcolor=255") << std::optional<int>();
        QTest::newRow("line without equals first")
            << QByteArray("bkcolor\nbkcolor=255") << std::optional<int>(255);
        QTest::newRow("empty readme") << QByteArray() << std::optional<int>();
    }
    void bkcolorIsStrict() {
        QFETCH(QByteArray, readme);
        QFETCH(std::optional<int>, bkcolor);
        TDataMod mod;
        loadFirstLayout(mod);
        QCOMPARE(mod.LoadLayout(archive(complete(readme + "\r\nAuthor=new\r\nLThumb=9"))),
                 bkcolor.has_value());
        if (bkcolor) {
            QCOMPARE(mod.BkColor, *bkcolor);
            QCOMPARE(mod.FingerLength[4], 9);
        } else {
            // Both tables are replaced; every layout value stays as it was.
            QCOMPARE(keyNames(mod.MainTbl).size(), 3);
            QCOMPARE(mod.Ctbl->RecordCount(), 3);
            expectFirstLayoutValues(mod);
        }
    }

    void fingerValuesBecomeZeroWhenMissingOrNotNumbers_data() {
        QTest::addColumn<QByteArray>("readme");
        QTest::addColumn<int>("lthumbColor");
        QTest::addColumn<int>("rlittle");
        QTest::newRow("without LThumbColor") << fullReadme("bkcolor=1", "LThumbColor") << 0 << 5;
        QTest::newRow("without RLittle") << fullReadme("bkcolor=1", "RLittle") << 204 << 0;
        QTest::newRow("not numbers") << QByteArray("bkcolor=1\nLThumbColor=blue\nRLittle=5 ") << 0 << 0;
        QTest::newRow("hex and blanks")
            << QByteArray("bkcolor=1\nLThumbColor=  $10\nRLittle=0X1f") << 16 << 31;
    }
    void fingerValuesBecomeZeroWhenMissingOrNotNumbers() {
        QFETCH(QByteArray, readme);
        QFETCH(int, lthumbColor);
        QFETCH(int, rlittle);
        TDataMod mod;
        loadFirstLayout(mod);
        QVERIFY(mod.LoadLayout(archive(complete(readme))));
        QCOMPARE(mod.FingerColor[4], lthumbColor);
        QCOMPARE(mod.FingerLength[5], rlittle);
    }

    void withoutCharTableKeepsTheNewKeyTableAndEmptiesCtbl() {
        TDataMod mod;
        loadFirstLayout(mod);
        QVERIFY(!mod.LoadLayout(archive({{"key.cds", keyPacket({"B", "A"})}, {"readme", fullReadme()}})));
        QCOMPARE(keyNames(mod.MainTbl), QList<QByteArray>({"A", "B"}));
        expectOpenAndEmpty(mod.Ctbl, "Code");
        QCOMPARE(mod.CtblD->RecordCount(), 0);
        expectFirstLayoutValues(mod);
        QVERIFY(!mod.Kit.isOpen());
        // The next good archive opens everything again.
        QVERIFY(mod.LoadLayout(archive(complete())));
        QCOMPARE(codes(mod.Ctbl), QList<int>({97, 98, 99}));
        QCOMPARE(mod.CtblD->RecordCount(), 3);
    }

    void badKeyTableEmptiesMainTblAndKeepsTheRest_data() {
        QTest::addColumn<QByteArray>("keyCds"); // empty: the member is missing
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a packet") << QByteArray("this is no packet at all, only text");
        QTest::newRow("truncated") << keyPacket({"A", "B"}).chopped(3);
        DataPacket noName;
        noName.fields = {DataField::integer("KeyValue")};
        QTest::newRow("no Name field to order by") << writeDataPacket(noName);
        // Every other field is there: the keyboard would fail on the first key it builds.
        DataPacket noWidth;
        for (const DataField& field : TDataMod::keyTableFields())
            if (field.name != "Width") noWidth.fields.push_back(field);
        QTest::newRow("no Width field") << writeDataPacket(noWidth);
    }
    void badKeyTableEmptiesMainTblAndKeepsTheRest() {
        QFETCH(QByteArray, keyCds);
        TDataMod mod;
        loadFirstLayout(mod);
        Members members = complete();
        if (keyCds.isEmpty())
            members.erase("key.cds");
        else
            members["key.cds"] = keyCds;
        QVERIFY(!mod.LoadLayout(archive(members)));
        expectOpenAndEmpty(mod.MainTbl, "KeyValue");
        QCOMPARE(codes(mod.Ctbl), QList<int>({1}));
        expectFirstLayoutValues(mod);
    }

    // A member whose data is damaged is as good as missing: its table empties instead of keeping
    // the previous layout's records beside the new ones.
    void damagedMemberEmptiesItsTable_data() {
        QTest::addColumn<QByteArray>("member");
        QTest::newRow("key table") << QByteArray("key.cds");
        QTest::newRow("character table") << QByteArray("char.cds");
        QTest::newRow("readme") << QByteArray("readme");
    }
    void damagedMemberEmptiesItsTable() {
        QFETCH(QByteArray, member);
        TDataMod mod;
        loadFirstLayout(mod);
        const Members members = complete();
        const QString path = m_dir.filePath(QString("damaged%1.zqt").arg(++m_archives));
        writeZip(path, members, true);
        damageStoredMember(path, members.at(member));
        QVERIFY(!mod.LoadLayout(path));
        if (member == "key.cds") {
            expectOpenAndEmpty(mod.MainTbl, "KeyValue");
            QCOMPARE(codes(mod.Ctbl), QList<int>({1}));
        } else if (member == "char.cds") {
            QCOMPARE(keyNames(mod.MainTbl), QList<QByteArray>({"K1", "K10", "K2"}));
            expectOpenAndEmpty(mod.Ctbl, "Code");
        } else {
            QCOMPARE(keyNames(mod.MainTbl).size(), 3);
            QCOMPARE(codes(mod.Ctbl), QList<int>({97, 98, 99}));
        }
        expectFirstLayoutValues(mod);
        QVERIFY(!mod.Kit.isOpen());
    }

    void charTableWithoutCodeFailsAndStaysEmpty() {
        TDataMod mod;
        DataPacket noCode;
        noCode.fields = {DataField::integer("KeyNo")};
        Members members = complete();
        members["char.cds"] = writeDataPacket(noCode);
        QVERIFY(!mod.LoadLayout(archive(members)));
        QCOMPARE(mod.MainTbl->RecordCount(), 3);
        expectOpenAndEmpty(mod.Ctbl, "Code");
    }

    // A member over the size limit is not read at all: its table empties.
    void memberOverTheLimitEmptiesItsTable() {
        TDataMod mod;
        loadFirstLayout(mod);
        Members members = complete();
        members["key.cds"] = QByteArray(ZipReader::maxMemberSize + 1, '\0'); // deflates to a few kB
        QVERIFY(!mod.LoadLayout(archive(members)));
        expectOpenAndEmpty(mod.MainTbl, "KeyValue");
        expectFirstLayoutValues(mod);
        QVERIFY(!mod.Kit.isOpen());
    }

    void whatIsNoArchiveFailsSilently_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing file") << QString("missing.zqt");
        QTest::newRow("text file") << QString("text.zqt");
        QTest::newRow("empty path") << QString();
        QTest::newRow("random bytes") << QString("random.zqt");
        QTest::newRow("truncated archive") << QString("truncated.zqt");
        QTest::newRow("archive over the limit") << QString("huge.zqt");
        // Opening these the usual way waits for a writer or reads without end.
        QTest::newRow("named pipe") << QString("pipe.zqt");
        QTest::newRow("link to an endless device") << QString("zero.zqt");
    }
    void whatIsNoArchiveFailsSilently() {
        QFETCH(QString, path);
        QFile text(m_dir.filePath("text.zqt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("bkcolor=1\n");
        text.close();
        if (path == "random.zqt" || path == "truncated.zqt") {
            QByteArray bytes;
            if (path == "random.zqt") {
                for (int i = 0; i < 4096; ++i)
                    bytes += char(QRandomGenerator::global()->bounded(256));
            } else {
                QFile whole(archive(complete()));
                QVERIFY(whole.open(QIODevice::ReadOnly));
                bytes = whole.readAll().left(whole.size() / 2);
            }
            QFile file(m_dir.filePath(path));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        } else if (path == "huge.zqt") {
            QVERIFY(!UnusualFiles::sparse(m_dir.path(), path, ZipReader::maxArchiveSize + 1).isEmpty());
        } else if (path == "pipe.zqt") {
            QVERIFY(!UnusualFiles::fifo(m_dir.path(), path).isEmpty());
        } else if (path == "zero.zqt") {
            QVERIFY(!UnusualFiles::link(m_dir.path(), path, "/dev/zero").isEmpty());
        }
        ScriptedDialogsGuard dialogs;
        TDataMod mod;
        loadFirstLayout(mod);
        QVERIFY(!mod.LoadLayout(path.isEmpty() ? path : m_dir.filePath(path)));
        QVERIFY(dialogs->shown().empty());
        QCOMPARE(keyNames(mod.MainTbl), QList<QByteArray>({"Old"}));
        expectFirstLayoutValues(mod);
    }

    void bundledCoursesLoadWhole_data() {
        QTest::addColumn<QString>("course");
        QTest::newRow("English") << "English";
        QTest::newRow("Deutsch") << "Deutsch";
    }
    void bundledCoursesLoadWhole() {
        QFETCH(QString, course);
        TDataMod mod;
        QVERIFY(mod.LoadLayout(appDir() + "/Courses/" + course + "/layout.zqt"));
        QVERIFY(mod.MainTbl->RecordCount() >= 50);
        QVERIFY(mod.BkColor != 0);
        for (int i = 0; i < 10; ++i)
            QVERIFY2(mod.FingerLength[i] > 0, TDataMod::fingerNames()[size_t(i)]);
        // Names ascend, and every key has a picture whose size fits the key.
        QByteArray previous;
        for (mod.MainTbl->First(); !mod.MainTbl->Eof(); mod.MainTbl->Next()) {
            const QByteArray name = mod.MainTbl->FieldByName("Name").AsString();
            QVERIFY2(previous < name || previous.isEmpty(), name.constData());
            previous = name;
            const QImage image = mod.MainTbl->FieldByName("Glyph").AsImage();
            QVERIFY2(!image.isNull(), name.constData());
            QCOMPARE(image.width(), mod.MainTbl->FieldByName("Width").AsInteger());
        }
        // Every letter has a character record, and every character record names a key that exists.
        for (char c = 'a'; c <= 'z'; ++c)
            QVERIFY2(mod.Ctbl->Locate("Code", int(uchar(c))), QByteArray(1, c).constData());
        QList<int> seen;
        for (mod.Ctbl->First(); !mod.Ctbl->Eof(); mod.Ctbl->Next()) {
            const int code = mod.Ctbl->FieldByName("Code").AsInteger();
            QVERIFY(code >= 0 && code <= 255);
            QVERIFY(seen.isEmpty() || seen.last() <= code);
            seen << code;
            QVERIFY2(mod.MainTbl->Locate("KeyValue", mod.Ctbl->FieldByName("KeyNo").AsInteger()),
                     QByteArray::number(code).constData());
        }
        QCOMPARE(mod.CtblD->RecordCount(), mod.Ctbl->RecordCount());
    }

    void readsAnyExtensionAsZip() {
        const QString path = m_dir.filePath("course.layout.bin");
        writeZip(path, complete());
        TDataMod mod;
        QVERIFY(mod.LoadLayout(path));
        QCOMPARE(mod.MainTbl->RecordCount(), 3);
    }
};

QTEST_GUILESS_MAIN(TestDataMod)
#include "tst_datamod.moc"
