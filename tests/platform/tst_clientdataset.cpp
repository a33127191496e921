#include "platform/ClientDataSet.h"
#include "platform/DataPacketReader.h"
#include "platform/DataPacketWriter.h"
#include "platform/Errors.h"
#include "settings/DataMod.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

// Two columns, two rows: ("A", 3) and ("Shift", NULL), as the engine writes it.
const QByteArray workedExample =
    QByteArray::fromHex("96 19 E0 BD 01 00 00 00 18 00 00 00 02 00 02 00 00 00 03 00 00 00 42 00"
                        "04 4E 61 6D 65 01 00 49 00 04 00 01 00 05 57 49 44 54 48 02 00 02 00 14 00"
                        "06 46 69 6E 67 65 72 04 00 01 00 00 00 00 00 00 00"
                        "00 00 01 41 03 00 00 00"
                        "00 04 05 53 68 69 66 74");

QByteArray bmpOf(QRgb colour, int w = 6, int h = 4) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, h - 1, qRgb(10, 20, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

DataPacket keyTable() {
    DataPacket p;
    p.fields = TDataMod::keyTableFields();
    auto key = [&](const char* name, int value, int type, int finger, QRgb colour, const char* hint) {
        p.rows.push_back({FieldValue::bytes(name), FieldValue::integer(value), FieldValue::integer(type),
                          FieldValue::integer(0), FieldValue::integer(finger),
                          FieldValue::bytes(GraphicBlob::wrap(bmpOf(colour))), FieldValue::integer(40),
                          FieldValue::integer(40), FieldValue::integer(value * 10), FieldValue::integer(-5),
                          FieldValue::bytes(hint)});
    };
    key("K03", 65, 1, 0, qRgb(200, 0, 0), "the letter a");
    key("K01", 8, 8, 9, qRgb(0, 200, 0), "");
    key("K02", 0xC4, 1, 9, qRgb(0, 0, 200), "\xC4 umlaut");
    return p;
}

DataPacket charTable() {
    DataPacket p;
    p.fields = TDataMod::charTableFields();
    auto ch = [&](const char* name, int code, int key, bool shift, bool altGr, int accent) {
        p.rows.push_back({FieldValue::bytes(name), FieldValue::integer(code), FieldValue::integer(key),
                          FieldValue::boolean(shift), FieldValue::boolean(altGr),
                          FieldValue::integer(accent)});
    };
    ch("e acute (dead key)", 0xE9, 69, false, false, 2002);
    ch("a", 'a', 65, false, false, 0);
    ch("e acute", 0xE9, 222, false, false, 0);
    ch("A", 'A', 65, true, false, 0);
    ch("at", '@', 81, false, true, 0);
    return p;
}

QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

} // namespace

class TestClientDataSet : public QObject {
    Q_OBJECT

private slots:
    void readsTheWorkedExample() {
        const DataPacket p = readDataPacket(workedExample);
        QCOMPARE(p.fields.size(), size_t(2));
        QCOMPARE(p.fields[0].name, QByteArray("Name"));
        QVERIFY(p.fields[0].required());
        QCOMPARE(p.fields[0].width, 20);
        QVERIFY(p.fields[0].isString());
        QVERIFY(p.fields[1].isInteger());
        QCOMPARE(p.rows.size(), size_t(2));
        QCOMPARE(p.rows[0][0], FieldValue::bytes("A"));
        QCOMPARE(p.rows[0][1], FieldValue::integer(3));
        QCOMPARE(p.rows[1][0], FieldValue::bytes("Shift"));
        QVERIFY(p.rows[1][1].isNull());
    }

    void writesTheWorkedExampleByteForByte() {
        DataPacket p;
        p.fields = {DataField::string("Name", 20, true), DataField::integer("Finger")};
        p.rows = {{FieldValue::bytes("A"), FieldValue::integer(3)},
                  {FieldValue::bytes("Shift"), FieldValue()}};
        QCOMPARE(writeDataPacket(p).toHex(' '), workedExample.toHex(' '));
    }

    void writesDescriptorsAsTheEngineDoes() {
        DataPacket p;
        p.fields = {DataField::boolean("Shift"), DataField::graphic("Glyph")};
        const QByteArray bytes = writeDataPacket(p);
        QVERIFY(bytes.contains(QByteArray::fromHex("05 53 68 69 66 74 02 00 03 00 00 00 00 00")));
        QVERIFY(bytes.contains(QByteArray::fromHex("05 47 6C 79 70 68 04 00 4B 00 00 00 01 00") +
                               "\x07SUBTYPE" + QByteArray::fromHex("02 00 49 00 09 00") + "Graphics" +
                               QByteArray(1, '\0')));
    }

    void roundTripsBothTables_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("key table with glyphs") << 0;
        QTest::newRow("character table") << 1;
    }
    void roundTripsBothTables() {
        QFETCH(int, which);
        DataPacket original = which == 0 ? keyTable() : charTable();
        original.lcid = 1033;
        const QByteArray bytes = writeDataPacket(original);
        const DataPacket back = readDataPacket(bytes);
        QCOMPARE(back.lcid, 1033);
        QCOMPARE(back.fields, original.fields);
        QCOMPARE(back.rows.size(), original.rows.size());
        for (size_t r = 0; r < back.rows.size(); ++r)
            for (size_t c = 0; c < back.fields.size(); ++c) {
                // Empty strings travel as one zero byte and come back empty.
                QCOMPARE(back.rows[r][c], original.rows[r][c]);
            }
        QCOMPARE(writeDataPacket(back), bytes);
    }

    void readsTypedFieldsOfTheCurrentRecord() {
        TClientDataSet t(nullptr, "Keys");
        t.LoadFromStream(writeDataPacket(keyTable()));
        QCOMPARE(t.RecordCount(), 3);
        QCOMPARE(t.FieldByName("name").AsString(), QByteArray("K03"));
        QCOMPARE(t.FieldByName("KeyValue").AsInteger(), 65);
        QCOMPARE(t.FieldByName("KeyValue").AsString(), QByteArray("65"));
        QCOMPARE(t.FieldByName("Y").AsInteger(), -5);
        const QImage glyph = t.FieldByName("Glyph").AsImage();
        QCOMPARE(glyph.size(), QSize(6, 4));
        QCOMPARE(glyph.pixel(0, 3), qRgb(10, 20, 30));
        QCOMPARE(glyph.pixel(5, 0), qRgb(200, 0, 0));
        QVERIFY(t.FieldByName("Glyph").AsPicture().startsWith("BM"));
        t.Next();
        QVERIFY(t.FieldByName("Hint").AsString().isEmpty());
        QVERIFY(!t.FieldByName("Hint").IsNull());
        t.Next();
        QCOMPARE(t.FieldByName("Hint").AsString(), QByteArray("\xC4 umlaut"));

        TClientDataSet c;
        c.LoadFromStream(writeDataPacket(charTable()));
        c.SetRecNo(4);
        QVERIFY(c.FieldByName("Shift").AsBoolean());
        QCOMPARE(c.FieldByName("Shift").AsString(), QByteArray("True"));
        QVERIFY(!c.FieldByName("AltGr").AsBoolean());
        QVERIFY_THROWS_EXCEPTION(EConvertError, c.FieldByName("Name").AsInteger());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, c.FieldByName("Missing"));
    }

    void readsPicturesWithAndWithoutTheGraphicHeader_data() {
        QTest::addColumn<QByteArray>("blob");
        QTest::addColumn<QByteArray>("picture");
        const QByteArray bmp = bmpOf(qRgb(1, 2, 3));
        QTest::newRow("with header") << GraphicBlob::wrap(bmp) << bmp;
        QTest::newRow("raw file bytes") << bmp << bmp;
        QByteArray wrongSize = GraphicBlob::wrap(bmp);
        wrongSize[4] = char(wrongSize[4] + 1);
        QTest::newRow("header with a wrong size is data") << wrongSize << wrongSize;
        QTest::newRow("short blob") << QByteArray("\x01\x00\x00\x01", 4) << QByteArray("\x01\x00\x00\x01", 4);
    }
    void readsPicturesWithAndWithoutTheGraphicHeader() {
        QFETCH(QByteArray, blob);
        QFETCH(QByteArray, picture);
        QCOMPARE(GraphicBlob::payload(blob), picture);
    }

    void booleansReadAnyNonZeroAsTrue() {
        DataPacket p;
        p.fields = {DataField::boolean("B")};
        p.rows = {{FieldValue::boolean(true)}};
        QByteArray bytes = writeDataPacket(p);
        QCOMPARE(bytes.right(2), QByteArray("\x01\x00", 2));
        bytes[bytes.size() - 2] = char(0xFF);
        bytes[bytes.size() - 1] = char(0xFF);
        TClientDataSet t;
        t.LoadFromStream(bytes);
        QVERIFY(t.FieldByName("B").AsBoolean());
    }

    void readsNumbersOfEveryWidth_data() {
        QTest::addColumn<quint32>("typeWord");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("asInteger");
        QTest::addColumn<QByteArray>("asString");
        QTest::newRow("int8 negative") << 0x00010001u << QByteArray::fromHex("FE") << -2 << QByteArray("-2");
        QTest::newRow("int16 negative")
            << 0x00010002u << QByteArray::fromHex("00 80") << -32768 << QByteArray("-32768");
        QTest::newRow("word") << 0x00020002u << QByteArray::fromHex("FF FF") << 65535 << QByteArray("65535");
        QTest::newRow("int64") << 0x00010008u << QByteArray::fromHex("FF FF FF FF FF FF FF FF") << -1
                               << QByteArray("-1");
        QTest::newRow("double") << 0x00040008u << QByteArray::fromHex("00 00 00 00 00 00 F8 3F") << 1
                                << QByteArray("1.5");
        QTest::newRow("double too large for an integer")
            << 0x00040008u << QByteArray::fromHex("00 00 00 00 00 00 F0 7F") << 0 << QByteArray("inf");
        QTest::newRow("double NaN") << 0x00040008u << QByteArray::fromHex("00 00 00 00 00 00 F8 7F") << 0
                                    << QByteArray("nan");
        QTest::newRow("single") << 0x001B0004u << QByteArray::fromHex("00 00 20 C0") << -2
                                << QByteArray("-2.5");
    }
    void readsNumbersOfEveryWidth() {
        QFETCH(quint32, typeWord);
        QFETCH(QByteArray, stored);
        QFETCH(int, asInteger);
        QFETCH(QByteArray, asString);
        DataField field = DataField::integer("N");
        field.typeWord = typeWord;
        DataPacket p;
        p.fields = {field};
        p.rows = {{FieldValue::integer(0)}};
        QByteArray bytes = writeDataPacket(p);
        bytes.replace(bytes.size() - stored.size(), stored.size(), stored);
        TClientDataSet t;
        t.LoadFromStream(bytes);
        QCOMPARE(t.FieldByName("N").AsInteger(), asInteger);
        QCOMPARE(t.FieldByName("N").AsString(), asString);
        QCOMPARE(t.SaveToBytes(), bytes);
    }

    // A packet whose texts exceed their declared width (here 3 instead of 20) is read the way
    // the engine reads it: each text is cut to the width.
    void textsLongerThanTheirWidthAreCut_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArrayList>("names");
        QTest::newRow("declared width") << 20 << QByteArrayList{"A", "Shift"};
        QTest::newRow("narrower") << 3 << QByteArrayList{"A", "Shi"};
        QTest::newRow("exactly the width") << 5 << QByteArrayList{"A", "Shift"};
        QTest::newRow("no width") << 0 << QByteArrayList{"A", "Shift"};
    }
    void textsLongerThanTheirWidthAreCut() {
        QFETCH(int, width);
        QFETCH(QByteArrayList, names);
        QByteArray bytes = workedExample;
        const QByteArray widthParameter = QByteArray::fromHex("05 57 49 44 54 48 02 00 02 00 14 00");
        const qsizetype at = bytes.indexOf(widthParameter);
        QVERIFY(at > 0);
        bytes[at + widthParameter.size() - 2] = char(width);
        TClientDataSet table;
        table.LoadFromStream(bytes);
        QByteArrayList read;
        for (table.First(); !table.Eof(); table.Next())
            read << table.FieldByName("Name").AsString();
        QCOMPARE(read, names);
    }

    // Rows of NULLs take a few bits each in the packet; a packet with more of them than a table
    // holds is refused instead of claiming gigabytes of memory.
    void refusesTablesBeyondTheirSize_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("many values") << 16 << (1 << 18) << true;
        QTest::newRow("one value too many") << 16 << (1 << 18) + 1 << false;
        QTest::newRow("many rows") << 1 << (1 << 20) << true;
        QTest::newRow("one row too many") << 1 << (1 << 20) + 1 << false;
        QTest::newRow("wide rows") << 4096 << 1025 << false;
    }
    void refusesTablesBeyondTheirSize() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(bool, accepted);
        DataPacket empty;
        for (int c = 0; c < columns; ++c)
            empty.fields.push_back(DataField::integer("F" + QByteArray::number(c)));
        QByteArray bytes = writeDataPacket(empty);
        bytes.replace(14, 4, le32(quint32(rows)));
        // Each row: status 0, then every value NULL.
        QByteArray row(1 + (columns + 3) / 4, char(0x55));
        row[0] = 0;
        bytes += row.repeated(rows);
        if (accepted) {
            QCOMPARE(readDataPacket(bytes).rows.size(), size_t(rows));
        } else {
            TClientDataSet table;
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, table.LoadFromStream(bytes));
            QVERIFY(!table.Active());
        }
    }

    void emptyStringsAreOneZeroByteAndEmptyBlobsAreNull() {
        DataPacket p;
        p.fields = {DataField::string("S", 10), DataField::graphic("G")};
        p.rows = {{FieldValue::bytes(""), FieldValue::bytes("")}};
        const QByteArray bytes = writeDataPacket(p);
        // status 0, null bits: G null (1 << 2), then S as length 1 and a zero byte
        QCOMPARE(bytes.right(4).toHex(' '), QByteArray("00 04 01 00"));
        const DataPacket back = readDataPacket(bytes);
        QCOMPARE(back.rows[0][0], FieldValue::bytes(""));
        QVERIFY(back.rows[0][1].isNull());
    }

    void refusesWhatItCannotWrite_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("string longer than its width") << 0;
        QTest::newRow("row of the wrong length") << 1;
        QTest::newRow("text in an integer field") << 2;
        QTest::newRow("no fields") << 3;
    }
    void refusesWhatItCannotWrite() {
        QFETCH(int, fault);
        DataPacket p;
        p.fields = {DataField::string("S", 3), DataField::integer("I")};
        if (fault == 0) p.rows = {{FieldValue::bytes("four"), FieldValue::integer(1)}};
        if (fault == 1) p.rows = {{FieldValue::bytes("ok")}};
        if (fault == 2) p.rows = {{FieldValue::bytes("ok"), FieldValue::bytes("1")}};
        if (fault == 3) p.fields.clear();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, writeDataPacket(p));
    }

    void everyTruncatedPrefixFailsCleanly() {
        DataPacket p = keyTable();
        p.lcid = 2057;
        const QByteArray full = writeDataPacket(p);
        for (qsizetype n = 0; n < full.size(); ++n) {
            // A copy of exactly n bytes, so any read beyond it is caught by the sanitizers too.
            const QByteArray prefix(full.constData(), n);
            TClientDataSet t;
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.LoadFromStream(prefix));
            QVERIFY(!t.Active());
        }
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, readDataPacket(full + '\0'));
    }

    void refusesInvalidHeadersAndCounts_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wrong magic") << 0 << QByteArray::fromHex("97 19 E0 BD");
        QTest::newRow("major version 4") << 4 << QByteArray::fromHex("04 00");
        QTest::newRow("minor version 4") << 6 << QByteArray::fromHex("04 00");
        QTest::newRow("header size beyond the end") << 8 << le32(0x10000);
        QTest::newRow("header size too small") << 8 << le32(4);
        QTest::newRow("no columns") << 12 << QByteArray::fromHex("00 00");
        QTest::newRow("more columns than described") << 12 << QByteArray::fromHex("03 00");
        QTest::newRow("three rows for two") << 14 << le32(3);
        QTest::newRow("four billion rows") << 14 << le32(0xFFFFFFFF);
        QTest::newRow("no metadata") << 18 << le32(2);
        QTest::newRow("XML payload") << 18 << le32(0x8003);
        QTest::newRow("rows elsewhere") << 22 << QByteArray::fromHex("43 00");
        QTest::newRow("empty field name") << 24 << QByteArray::fromHex("00");
        QTest::newRow("field name past the end") << 24 << QByteArray::fromHex("FF");
        QTest::newRow("array column") << 29 << le32(0x00890001);
        QTest::newRow("nested table column") << 29 << le32(0x040E0001);
        QTest::newRow("unknown type code") << 29 << le32(0x00630001);
        QTest::newRow("integer of 3 bytes") << 56 << le32(0x00010003);
        QTest::newRow("parameter count too high") << 35 << QByteArray::fromHex("09 00");
        QTest::newRow("dataset parameters that are not there") << 64 << QByteArray::fromHex("01 00");
        QTest::newRow("string longer than the packet") << 68 << QByteArray::fromHex("FF");
    }
    void refusesInvalidHeadersAndCounts() {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QByteArray packet = workedExample;
        packet.replace(offset, bytes.size(), bytes);
        TClientDataSet t;
        t.LoadFromStream(workedExample);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.LoadFromStream(packet));
        QVERIFY(!t.Active());
    }

    // Rows of (status, id, picture) where a picture "=" is stored as "not changed", and a change log
    // of (record, previous, action) triples.
    void keepsOnlyVisibleRowsAndResolvesUnchangedBlobs_data() {
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<QByteArrayList>("pictures");
        QTest::addColumn<QList<int>>("log");
        QTest::addColumn<QList<int>>("visibleIds");
        QTest::addColumn<QByteArrayList>("visiblePictures");
        QTest::newRow("modified row keeps the original's picture")
            << QList<int>{1, 2, 8} << QByteArrayList{"first", "second", "="} << QList<int>{3, 1, 8, 2, 0, 2}
            << QList<int>{3} << QByteArrayList{"first"};
        QTest::newRow("two modifications in a chain")
            << QList<int>{1, 9, 8} << QByteArrayList{"first", "=", "="} << QList<int>{2, 1, 8, 3, 2, 8}
            << QList<int>{3} << QByteArrayList{"first"};
        QTest::newRow("unused and detail-updated rows")
            << QList<int>{0x20, 0x40, 0} << QByteArrayList{"a", "b", "c"} << QList<int>{} << QList<int>{2, 3}
            << QByteArrayList{"b", "c"};
        QTest::newRow("no log entry: NULL")
            << QList<int>{8} << QByteArrayList{"="} << QList<int>{} << QList<int>{1} << QByteArrayList{""};
        QTest::newRow("a cycle: NULL") << QList<int>{9, 8} << QByteArrayList{"=", "="}
                                       << QList<int>{1, 2, 8, 2, 1, 8} << QList<int>{2} << QByteArrayList{""};
        QTest::newRow("previous record out of range: NULL")
            << QList<int>{8} << QByteArrayList{"="} << QList<int>{1, 7, 8} << QList<int>{1}
            << QByteArrayList{""};
        QTest::newRow("unchanged in an unmodified row: NULL")
            << QList<int>{0, 0} << QByteArrayList{"x", "="} << QList<int>{2, 1, 8} << QList<int>{1, 2}
            << QByteArrayList{"x", ""};
    }
    void keepsOnlyVisibleRowsAndResolvesUnchangedBlobs() {
        QFETCH(QList<int>, statuses);
        QFETCH(QByteArrayList, pictures);
        QFETCH(QList<int>, log);
        QFETCH(QList<int>, visibleIds);
        QFETCH(QByteArrayList, visiblePictures);
        DataPacket meta;
        meta.fields = {DataField::integer("Id"), DataField::graphic("Pic")};
        QByteArray bytes = writeDataPacket(meta);
        bytes.chop(2); // the dataset parameter count
        bytes.replace(14, 4, le32(quint32(statuses.size())));
        bytes.replace(18, 4, le32(1)); // metadata only: no row offset to check
        bytes[22] = bytes[23] = 0;
        if (log.isEmpty()) {
            bytes += QByteArray(2, '\0');
        } else {
            bytes += QByteArray::fromHex("01 00") + '\x0A' + "CHANGE_LOG" + le32(0x00820004) +
                     le32(quint32(log.size()));
            for (int v : log)
                bytes += le32(quint32(v));
        }
        for (qsizetype r = 0; r < statuses.size(); ++r) {
            const bool unchanged = pictures[r] == "=";
            bytes += char(statuses[r]);
            bytes += char(unchanged ? 0x08 : 0x00);
            bytes += le32(quint32(r + 1));
            if (!unchanged) bytes += le32(quint32(pictures[r].size())) + pictures[r];
        }
        const DataPacket back = readDataPacket(bytes);
        QList<int> ids;
        QByteArrayList pics;
        for (const DataRow& row : back.rows) {
            ids << int(row[0].toInteger());
            pics << row[1].toBytes();
        }
        QCOMPARE(ids, visibleIds);
        QCOMPARE(pics, visiblePictures);
    }

    void closedTableRaisesOnEveryAccess() {
        TClientDataSet t(nullptr, "Keys");
        const auto expectClosed = [&](const std::function<void()>& access) {
            try {
                access();
                QFAIL("no error");
            } catch (const EDatabaseError& e) {
                QVERIFY2(e.message().startsWith("Keys: ") && e.message().contains("closed dataset"),
                         qPrintable(e.message()));
            }
        };
        expectClosed([&] { t.First(); });
        expectClosed([&] { t.Next(); });
        expectClosed([&] { t.Eof(); });
        expectClosed([&] { t.RecNo(); });
        expectClosed([&] { t.SetRecNo(1); });
        expectClosed([&] { t.RecordCount(); });
        expectClosed([&] { t.Locate("Name", "A"); });
        expectClosed([&] { t.FieldByName("Name"); });
        t.LoadFromStream(workedExample);
        const TField name = t.FieldByName("Name");
        t.Close();
        expectClosed([&] { name.AsString(); });
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.Open());
        TClientDataSet clone;
        expectClosed([&] { clone.CloneCursor(&t, true, false); });
    }

    void walksRecordsWithFirstNextEofAndRecNo() {
        TClientDataSet t;
        t.LoadFromStream(writeDataPacket(charTable()));
        QList<int> codes;
        QList<int> recNos;
        for (t.First(); !t.Eof(); t.Next()) {
            codes << t.FieldByName("Code").AsInteger();
            recNos << t.RecNo();
        }
        QCOMPARE(codes, QList<int>({0xE9, 'a', 0xE9, 'A', '@'}));
        QCOMPARE(recNos, QList<int>({1, 2, 3, 4, 5}));
        QCOMPARE(t.RecNo(), 5); // the cursor stays on the last record at the end
        t.SetRecNo(2);
        QVERIFY(!t.Eof());
        QCOMPARE(t.FieldByName("Code").AsInteger(), int('a'));
        t.SetRecNo(9);
        QCOMPARE(t.RecNo(), 2);

        DataPacket empty = charTable();
        empty.rows.clear();
        t.LoadFromStream(writeDataPacket(empty));
        t.First();
        QVERIFY(t.Eof());
        QCOMPARE(t.RecNo(), 0);
        QCOMPARE(t.FieldByName("Code").AsInteger(), 0);
        QVERIFY(t.FieldByName("Name").IsNull());
    }

    void indexKeepsPacketOrderAmongEqualKeys_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QList<int>>("keyNos");
        QTest::newRow("Code") << "Code" << QList<int>{81, 65, 65, 69, 222};
        QTest::newRow("Code;KeyNo") << "code; keyno" << QList<int>{81, 65, 65, 69, 222};
        QTest::newRow("Shift;Code") << "Shift;Code" << QList<int>{81, 65, 69, 222, 65};
        QTest::newRow("Name") << "Name" << QList<int>{65, 65, 81, 222, 69};
        QTest::newRow("packet order") << "" << QList<int>{69, 65, 222, 65, 81};
    }
    void indexKeepsPacketOrderAmongEqualKeys() {
        QFETCH(QString, index);
        QFETCH(QList<int>, keyNos);
        TClientDataSet t;
        t.SetIndexFieldNames(index);
        t.LoadFromStream(writeDataPacket(charTable()));
        QList<int> seen;
        for (t.First(); !t.Eof(); t.Next())
            seen << t.FieldByName("KeyNo").AsInteger();
        QCOMPARE(seen, keyNos);
    }

    void unknownIndexFieldKeepsTheOldIndexOrClosesOnLoad() {
        TClientDataSet t;
        t.SetIndexFieldNames("Code");
        t.LoadFromStream(writeDataPacket(charTable()));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.SetIndexFieldNames("Nope"));
        QCOMPARE(t.IndexFieldNames(), QString("Code"));
        t.First();
        QCOMPARE(t.FieldByName("Code").AsInteger(), int('@'));
        t.Close();
        t.SetIndexFieldNames("Width");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.LoadFromStream(writeDataPacket(charTable())));
        QVERIFY(!t.Active());
    }

    void locateOnOneOrSeveralFields_data() {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<int>("recNo"); // 0: not found
        QTest::newRow("first of two equal codes") << "Code" << QVariantList{0xE9} << 1;
        QTest::newRow("all four of the click path")
            << "KeyNo;Shift;AltGr;Accent" << QVariantList{65, true, false, 0} << 4;
        QTest::newRow("Shift must match too") << "KeyNo;Shift" << QVariantList{81, true} << 0;
        QTest::newRow("code and accent") << "Code;Accent" << QVariantList{0xE9, 0} << 3;
        QTest::newRow("string as code-page bytes") << "Name" << QVariantList{QByteArray("e acute")} << 3;
        QTest::newRow("string as wide text") << "Name" << QVariantList{QString("at")} << 5;
        QTest::newRow("no partial match") << "Name" << QVariantList{QString("e")} << 0;
        QTest::newRow("case matters") << "Name" << QVariantList{QString("AT")} << 0;
        QTest::newRow("number as text") << "Code" << QVariantList{QString("64")} << 5;
        QTest::newRow("not a number") << "Code" << QVariantList{QString("x")} << 0;
    }
    void locateOnOneOrSeveralFields() {
        QFETCH(QString, fields);
        QFETCH(QVariantList, values);
        QFETCH(int, recNo);
        TClientDataSet t;
        t.LoadFromStream(writeDataPacket(charTable()));
        t.SetRecNo(2);
        QCOMPARE(t.Locate(fields, values), recNo != 0);
        QCOMPARE(t.RecNo(), recNo != 0 ? recNo : 2);
    }

    void locateFollowsTheIndexOrder() {
        TClientDataSet t;
        t.SetIndexFieldNames("Shift;KeyNo");
        t.LoadFromStream(writeDataPacket(charTable()));
        QVERIFY(t.Locate("KeyNo", 65));
        QCOMPARE(t.FieldByName("Name").AsString(), QByteArray("a"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.Locate("KeyNo;Shift", QVariantList{65}));
    }

    void clonesShareRowsButNotCursorsOrIndexes() {
        TClientDataSet source;
        source.LoadFromStream(writeDataPacket(charTable()));
        source.SetIndexFieldNames("Code");
        source.SetFiltered(true);
        source.SetRecNo(3);

        TClientDataSet reset, taken, kept;
        kept.SetIndexFieldNames("KeyNo");
        reset.CloneCursor(&source, true, false);
        taken.CloneCursor(&source, false, false);
        kept.CloneCursor(&source, false, true);
        QCOMPARE(reset.IndexFieldNames(), QString());
        QVERIFY(!reset.Filtered());
        QCOMPARE(taken.IndexFieldNames(), QString("Code"));
        QVERIFY(taken.Filtered());
        QCOMPARE(kept.IndexFieldNames(), QString("KeyNo"));
        QCOMPARE(reset.RecNo(), 1);
        QCOMPARE(reset.FieldByName("Name").AsString(), QByteArray("e acute (dead key)"));
        QCOMPARE(taken.FieldByName("Name").AsString(), QByteArray("at"));
        QCOMPARE(kept.FieldByName("Name").AsString(), QByteArray("a"));
        QCOMPARE(source.RecNo(), 3);

        // Reloading the source leaves the clones on the rows they had.
        source.SetIndexFieldNames("");
        source.LoadFromStream(workedExample);
        QCOMPARE(reset.RecordCount(), 5);
        QVERIFY(reset.Locate("Code", '@'));
    }

    void afterOpenRunsOnEveryOpenAndItsErrorCloses() {
        TClientDataSet t;
        int calls = 0;
        t.AfterOpen = [&](TClientDataSet* ds) {
            QCOMPARE(ds, &t);
            ++calls;
            ds->SetIndexFieldNames("Code");
        };
        t.LoadFromStream(writeDataPacket(charTable()));
        QCOMPARE(calls, 1);
        // Changing the index keeps the current record; First goes to the lowest code.
        QCOMPARE(t.FieldByName("Code").AsInteger(), 0xE9);
        t.First();
        QCOMPARE(t.FieldByName("Code").AsInteger(), int('@'));
        t.SetIndexFieldNames("");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.LoadFromStream(workedExample)); // has no "Code"
        QCOMPARE(calls, 2);
        QVERIFY(!t.Active());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.LoadFromStream(QByteArray()));
        QCOMPARE(calls, 2);
    }

    void savesWhatItHolds() {
        TClientDataSet t;
        t.LoadFromStream(workedExample);
        QCOMPARE(t.SaveToBytes(), workedExample);
        t.CreateDataSet({DataField::integer("N")});
        QCOMPARE(t.RecordCount(), 0);
        QCOMPARE(readDataPacket(t.SaveToBytes()).fields.size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestClientDataSet)
#include "tst_clientdataset.moc"
