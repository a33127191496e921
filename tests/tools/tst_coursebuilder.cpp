// The course builder, run as the build runs it: a description in, "layout.zqt" out, read back
// through the project's own table engine.

#include "platform/ClientDataSet.h"
#include "platform/CodePage.h"
#include "platform/ZipReader.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString builderPath() {
    return appDir() + QStringLiteral("/../tools/coursebuilder/coursebuilder");
}

// Ten fingers with distinct values, so a value in the wrong slot shows.
const char* const kFingerNames[] = {"LLittle", "LRing", "LMiddle", "LIndex", "LThumb",
                                    "RLittle", "RRing", "RMiddle", "RIndex", "RThumb"};

QString fingerColor(int i) {
    return QStringLiteral("#%1%2%3")
        .arg(0x10 * i + 5, 2, 16, QLatin1Char('0'))
        .arg(0x20, 2, 16, QLatin1Char('0'))
        .arg(0xF0 - 0x10 * i, 2, 16, QLatin1Char('0'));
}

QString layoutValues() {
    QString text = QStringLiteral("author Test Author\nmisc mixed notes = kept\nbackground #102030\n");
    for (int i = 0; i < 10; ++i)
        text += QStringLiteral("finger %1 length=%2 x=%3 color=%4\n")
                    .arg(QLatin1String(kFingerNames[i]))
                    .arg(40 + i)
                    .arg(100 + i)
                    .arg(fingerColor(i));
    return text;
}

struct BuildRun {
    int exitCode = -1;
    QString errors;
};

QByteArray extractMember(const QString& archivePath, const char* member) {
    ZipReader zip;
    zip.open(archivePath);
    return zip.extract(member);
}

class Builder {
public:
    Builder() { QVERIFY(m_dir.isValid()); }
    QString archive() const { return m_dir.filePath(QStringLiteral("layout.zqt")); }
    QString description() const { return m_dir.filePath(QStringLiteral("desc.layout")); }

    BuildRun run(const QByteArray& descriptionBytes) {
        QFile file(description());
        if (!file.open(QIODevice::WriteOnly) || file.write(descriptionBytes) != descriptionBytes.size())
            return {};
        file.close();
        return runWith({description(), archive()});
    }
    BuildRun run(const QString& text) { return run(text.toUtf8()); }

    static BuildRun runWith(const QStringList& arguments) {
        QProcess process;
        process.start(builderPath(), arguments);
        if (!process.waitForFinished(60000)) return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    bool load(TClientDataSet& table, const char* member) {
        table.LoadFromStream(extractMember(archive(), member));
        return table.Active();
    }

private:
    QTemporaryDir m_dir;
};

const char* const kGeometryKeys = R"(unit 40
keygap 4
origin 3 7
row 0
key Grave 0x29 char LLittle ` ~
key Q 16 letter LLittle q Q @
gap 0.5
key Wide 0x30 Backspace RLittle w=2 label=Back
row 1.5
key Tall 0x1C 13 RThumb x=3 w=1.25 h=2 hint="Big key" U+000D
key Spare 99 1234 -
key Löwe 100 char LIndex kind2=0 ä Ä
)";

const char* const kDeadKeys = R"(dead Circumflex ^ a=â A=Â
dead Acute ´ e=é
dead Grave ` e=è
row 0
key Dead 0x29 Circumflex LLittle kind2=Circumflex dead:Circumflex °
key Akut 0x0D Acute RLittle kind2=Grave dead:Acute dead:Grave
key A 0x1E letter LLittle a A
key E 0x12 letter LMiddle e E €
row 1
key Space 0x39 space RThumb w=5 U+0020
)";

QString recordText(const TClientDataSet& table) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(CodePage::toUnicode(table.FieldByName(QStringLiteral("Name")).AsString()))
        .arg(table.FieldByName(QStringLiteral("Code")).AsInteger())
        .arg(table.FieldByName(QStringLiteral("KeyNo")).AsInteger(), 0, 16)
        .arg(table.FieldByName(QStringLiteral("Shift")).AsBoolean() ? 'S' : '-')
        .arg(table.FieldByName(QStringLiteral("AltGr")).AsBoolean() ? 'A' : '-')
        .arg(table.FieldByName(QStringLiteral("Accent")).AsInteger());
}

QColor blendWithWhite(const QColor& c) {
    return QColor((c.red() + 255) / 2, (c.green() + 255) / 2, (c.blue() + 255) / 2);
}

} // namespace

class TestCourseBuilder : public QObject {
    Q_OBJECT

private slots:
    void tablesHaveTheLayoutFields();
    void keyRecords_data();
    void keyRecords();
    void characterRecords();
    void directWayComesFirstAmongEqualCodes();
    void keyPictures_data();
    void keyPictures();
    void readmeHoldsTheLayoutValues();
    void faultyDescriptions_data();
    void faultyDescriptions();
    void failureKeepsTheEarlierArchive();
    void badArguments();
};

void TestCourseBuilder::tablesHaveTheLayoutFields() {
    Builder builder;
    const BuildRun run = builder.run(layoutValues() + QString::fromUtf8(kGeometryKeys));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

    struct Expected {
        const char* name;
        const char* kind; // s: string, i: int32, b: Boolean, g: graphic
        int width;
        bool required;
    };
    const std::vector<std::pair<const char*, std::vector<Expected>>> tables = {
        {"key.cds",
         {{"Name", "s", 20, true},
          {"KeyValue", "i", 0, false},
          {"KeyType", "i", 0, false},
          {"KeyType2", "i", 0, false},
          {"Finger", "i", 0, false},
          {"Glyph", "g", 0, false},
          {"Width", "i", 0, false},
          {"Height", "i", 0, false},
          {"X", "i", 0, false},
          {"Y", "i", 0, false},
          {"Hint", "s", 127, false}}},
        {"char.cds",
         {{"Name", "s", 30, false},
          {"Code", "i", 0, false},
          {"KeyNo", "i", 0, false},
          {"Shift", "b", 0, false},
          {"AltGr", "b", 0, false},
          {"Accent", "i", 0, false}}},
    };
    for (const auto& [member, fields] : tables) {
        TClientDataSet table;
        QVERIFY2(builder.load(table, member), member);
        QCOMPARE(table.FieldCount(), int(fields.size()));
        for (int i = 0; i < table.FieldCount(); ++i) {
            const DataField& field = table.FieldDef(i);
            const Expected& expected = fields[size_t(i)];
            QCOMPARE(field.name, QByteArray(expected.name));
            QCOMPARE(field.required(), expected.required);
            switch (expected.kind[0]) {
            case 's':
                QVERIFY(field.isString() && !field.isWideString());
                QCOMPARE(field.width, expected.width);
                break;
            case 'i':
                QCOMPARE(field.typeWord, DataPacketType::Int32);
                break;
            case 'b':
                QCOMPARE(field.typeWord, DataPacketType::Boolean16);
                break;
            default:
                QVERIFY(field.isGraphic());
            }
        }
    }
}

void TestCourseBuilder::keyRecords_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("kind2");
    QTest::addColumn<int>("finger");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("hint");
    // unit 40, keygap 4, origin (3, 7): a key of w units is 40 w - 4 pixels wide.
    QTest::newRow("first key at the origin")
        << "Grave" << 0x29 << 2 << 0 << 0 << QRect(3, 7, 36, 36) << "` ~";
    QTest::newRow("letter follows, three characters")
        << "Q" << 16 << 1 << 0 << 0 << QRect(43, 7, 36, 36) << "q Q @";
    QTest::newRow("after a half-unit gap, wide, label as hint")
        << "Wide" << 0x30 << 8 << 0 << 9 << QRect(103, 7, 76, 36) << "Back";
    QTest::newRow("placed by x, tall, hint given")
        << "Tall" << 0x1C << 13 << 0 << 5 << QRect(123, 67, 46, 76) << "Big key";
    QTest::newRow("continues after the placed key, no finger")
        << "Spare" << 99 << 1234 << 0 << 10 << QRect(173, 67, 36, 36) << "";
    QTest::newRow("code-page name") << "Löwe" << 100 << 2 << 0 << 3 << QRect(213, 67, 36, 36) << "ä Ä";
    QTest::newRow("dead key with a second dead key")
        << "Akut" << 0x0D << 2002 << 2001 << 9 << QRect(45, 5, 38, 38) << "´ `";
}

void TestCourseBuilder::keyRecords() {
    QFETCH(QString, name);
    Builder builder;
    const BuildRun run =
        builder.run(layoutValues() + QString::fromUtf8(name == "Akut" ? kDeadKeys : kGeometryKeys));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    TClientDataSet keys;
    QVERIFY(builder.load(keys, "key.cds"));
    QVERIFY(keys.Locate(QStringLiteral("Name"), CodePage::fromUnicode(name)));
    const auto integer = [&keys](const char* field) {
        return keys.FieldByName(QLatin1String(field)).AsInteger();
    };
    QTEST(integer("KeyValue"), "value");
    QTEST(integer("KeyType"), "kind");
    QTEST(integer("KeyType2"), "kind2");
    QTEST(integer("Finger"), "finger");
    QTEST(QRect(integer("X"), integer("Y"), integer("Width"), integer("Height")), "geometry");
    QTEST(CodePage::toUnicode(keys.FieldByName(QStringLiteral("Hint")).AsString()), "hint");
}

void TestCourseBuilder::characterRecords() {
    Builder builder;
    const BuildRun run = builder.run(layoutValues() + QString::fromUtf8(kDeadKeys));
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    TClientDataSet chars;
    QVERIFY(builder.load(chars, "char.cds"));
    QStringList records;
    for (chars.First(); !chars.Eof(); chars.Next())
        records << recordText(chars);
    // Keys first, level by level (a dead key's own character on the dead key), then each dead
    // key: its character before a space, then its combinations on the letters' keys and levels.
    const QStringList expected = {
        "^|94|29|-|-|0",     "°|176|29|S|-|0",    "´|180|d|-|-|0",     "`|96|d|S|-|0",
        "a|97|1e|-|-|0",     "A|65|1e|S|-|0",     "e|101|12|-|-|0",    "E|69|12|S|-|0",
        "€|128|12|-|A|0",    "Space|32|39|-|-|0", "^|94|39|-|-|2003",  "â|226|1e|-|-|2003",
        "Â|194|1e|S|-|2003", "´|180|39|-|-|2002", "é|233|12|-|-|2002", "`|96|39|-|-|2001",
        "è|232|12|-|-|2001",
    };
    QCOMPARE(records, expected);
}

void TestCourseBuilder::directWayComesFirstAmongEqualCodes() {
    Builder builder;
    QCOMPARE(builder.run(layoutValues() + QString::fromUtf8(kDeadKeys)).exitCode, 0);
    TClientDataSet chars;
    QVERIFY(builder.load(chars, "char.cds"));
    chars.SetIndexFieldNames(QStringLiteral("Code"));
    // The keyboard highlights the first record of a code: the dead key itself, not the space.
    for (const int code : {94, 180, 96}) {
        QVERIFY(chars.Locate(QStringLiteral("Code"), code));
        QCOMPARE(chars.FieldByName(QStringLiteral("Accent")).AsInteger(), 0);
        QVERIFY(chars.FieldByName(QStringLiteral("KeyNo")).AsInteger() != 0x39);
    }
    // Typing by clicking finds the space + dead key record by key, modifiers and accent.
    QVERIFY(chars.Locate(QStringLiteral("KeyNo;Shift;AltGr;Accent"), {0x39, false, false, 2003}));
    QCOMPARE(chars.FieldByName(QStringLiteral("Code")).AsInteger(), 94);
    QVERIFY(chars.Locate(QStringLiteral("KeyNo;Shift;AltGr;Accent"), {0x1E, true, false, 2003}));
    QCOMPARE(chars.FieldByName(QStringLiteral("Code")).AsInteger(), 194);
}

void TestCourseBuilder::keyPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("face");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("left little finger, characters")
        << "Grave" << blendWithWhite(QColor(fingerColor(0))) << true;
    QTest::newRow("right little finger, label") << "Wide" << blendWithWhite(QColor(fingerColor(5))) << true;
    QTest::newRow("right thumb, control character only")
        << "Tall" << blendWithWhite(QColor(fingerColor(9))) << false;
    QTest::newRow("left index, code-page characters")
        << "Löwe" << blendWithWhite(QColor(fingerColor(3))) << true;
    QTest::newRow("no finger, grey") << "Spare" << QColor(0xD8, 0xD8, 0xD8) << false;
}

void TestCourseBuilder::keyPictures() {
    QFETCH(QString, name);
    QFETCH(QColor, face);
    QFETCH(bool, drawn);
    Builder builder;
    QCOMPARE(builder.run(layoutValues() + QString::fromUtf8(kGeometryKeys)).exitCode, 0);
    TClientDataSet keys;
    QVERIFY(builder.load(keys, "key.cds"));
    QVERIFY(keys.Locate(QStringLiteral("Name"), CodePage::fromUnicode(name)));

    const QByteArray blob = keys.FieldByName(QStringLiteral("Glyph")).AsBytes();
    QVERIFY(blob.size() > 8 + 54);
    // Graphic header: count 1, type 0x0100, then the size of the BMP that follows.
    QCOMPARE(blob.left(4), QByteArray::fromHex("01000001"));
    QCOMPARE(qFromLittleEndian<qint32>(blob.constData() + 4), qint32(blob.size() - 8));
    QCOMPARE(blob.mid(8, 2), QByteArray("BM"));

    QImage image;
    QVERIFY(image.loadFromData(blob.mid(8), "BMP"));
    QCOMPARE(image.size(), QSize(keys.FieldByName(QStringLiteral("Width")).AsInteger(),
                                 keys.FieldByName(QStringLiteral("Height")).AsInteger()));
    QCOMPARE(image.pixelColor(0, image.height() - 1), face);
    // Characters or a label leave ink inside the rim; an empty key is face colour there.
    int ink = 0;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            ink += image.pixelColor(x, y).rgb() != face.rgb();
    QCOMPARE(ink > 20, drawn);
}

void TestCourseBuilder::readmeHoldsTheLayoutValues() {
    Builder builder;
    QCOMPARE(builder.run(layoutValues() + QString::fromUtf8(kGeometryKeys)).exitCode, 0);
    QByteArray expected = "bkcolor=3153936\r\nAuthor=Test Author\r\nmisc=mixed notes = kept\r\n";
    for (int i = 0; i < 10; ++i)
        expected += QByteArray(kFingerNames[i]) + '=' + QByteArray::number(40 + i) + "\r\n";
    for (int i = 0; i < 10; ++i)
        expected += QByteArray(kFingerNames[i]) + "x=" + QByteArray::number(100 + i) + "\r\n";
    for (int i = 0; i < 10; ++i) {
        const QColor c(fingerColor(i));
        expected += QByteArray(kFingerNames[i]) +
                    "Color=" + QByteArray::number(c.red() + c.green() * 256 + c.blue() * 65536) + "\r\n";
    }
    QCOMPARE(extractMember(builder.archive(), "readme"), expected);
}

void TestCourseBuilder::faultyDescriptions_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("line"); // 0: counted from the end of the layout values
    QTest::addColumn<QString>("message");
    const QString key = QStringLiteral("row 0\nkey A 0x1E letter LLittle a A\n");
    QTest::newRow("unknown statement") << "colour #000000\n" << 1 << "unknown line 'colour'";
    QTest::newRow("unknown finger") << "row 0\nkey A 1 letter LPinky a\n" << 2 << "unknown finger 'LPinky'";
    QTest::newRow("unknown kind") << "row 0\nkey A 1 vowel LLittle a\n" << 2 << "key kind 'vowel'";
    QTest::newRow("no Windows-1252 code") << "row 0\nkey A 1 letter LLittle →\n"
                                          << 2 << "character U+2192 has no Windows-1252 code";
    QTest::newRow("two characters") << "row 0\nkey A 1 letter LLittle ab\n"
                                    << 2 << "'ab' is not one character";
    QTest::newRow("four levels") << "row 0\nkey A 1 letter LLittle a b c d\n" << 2 << "at most three";
    QTest::newRow("name twice") << key + "key A 0x1F letter LRing s S\n" << 3 << "key name 'A' is used twice";
    QTest::newRow("value twice") << key + "key S 0x1E letter LRing s S\n"
                                 << 3 << "key value 30 is used twice";
    QTest::newRow("name too long") << "row 0\nkey ABCDEFGHIJKLMNOPQRSTU 1 letter LLittle a\n"
                                   << 2 << "at most 20";
    QTest::newRow("hint too long") << "row 0\nkey A 1 letter LLittle hint=" + QString(128, 'h') + " a\n"
                                   << 2 << "at most 127";
    QTest::newRow("undescribed dead key") << "row 0\nkey D 1 char LLittle dead:Tilde\n"
                                          << 2 << "no dead line";
    QTest::newRow("dead kind without dead line") << "row 0\nkey D 1 Tilde LLittle\n" << 2 << "no dead line";
    QTest::newRow("second kind not a dead key") << "row 0\nkey D 1 char LLittle kind2=5 x\n"
                                                << 2 << "kind2 of key D";
    QTest::newRow("letter no key gives") << "dead Acute - e=é\n" + key << 1 << "no key gives 'e'";
    QTest::newRow("dead key without space bar") << "dead Acute ´ a=á\n" + key << 1 << "gives a space";
    QTest::newRow("dead key twice") << "dead Acute ´\ndead Acute -\n" << 2 << "described twice";
    QTest::newRow("key before a row") << "key A 1 letter LLittle a\n" << 1 << "must follow a row";
    QTest::newRow("unit after a row") << key + "unit 30\n" << 3 << "before the first row";
    QTest::newRow("unclosed quote") << "row 0\nkey A 1 letter LLittle label=\"Caps a\n"
                                    << 2 << "unclosed quote";
    QTest::newRow("origin off the frame") << "origin -5 5\n" << 1 << "origin must be 0 to 1000";
    QTest::newRow("bad size") << "row 0\nkey A 1 letter LLittle w=wide a\n" << 2 << "width 'wide'";
    QTest::newRow("no keys") << "" << 0 << "no keys";
}

void TestCourseBuilder::faultyDescriptions() {
    QFETCH(QString, body);
    QFETCH(int, line);
    QFETCH(QString, message);
    const QString values = layoutValues();
    const int valueLines = int(values.count(QLatin1Char('\n')));
    Builder builder;
    const BuildRun run = builder.run(values + body);
    QCOMPARE(run.exitCode, 1);
    const QString where =
        builder.description() + QLatin1Char(':') + QString::number(valueLines + line) + QLatin1Char(':');
    QVERIFY2(run.errors.contains(where), qPrintable(run.errors));
    QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    QVERIFY(!QFile::exists(builder.archive()));
}

void TestCourseBuilder::failureKeepsTheEarlierArchive() {
    Builder builder;
    QCOMPARE(builder.run(layoutValues() + QString::fromUtf8(kGeometryKeys)).exitCode, 0);
    QFile archive(builder.archive());
    QVERIFY(archive.open(QIODevice::ReadOnly));
    const QByteArray before = archive.readAll();
    archive.close();

    // A missing finger line, then bytes that are not UTF-8: both fail before anything is written.
    const QString withoutThumb =
        layoutValues().remove(QRegularExpression(QStringLiteral("finger RThumb[^\n]*\n")));
    BuildRun run = builder.run(withoutThumb + QString::fromUtf8(kGeometryKeys));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains(QStringLiteral("finger RThumb is not described")), qPrintable(run.errors));
    run = builder.run(QByteArray("author \xff\xfe\n"));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains(QStringLiteral("not UTF-8")), qPrintable(run.errors));

    QVERIFY(archive.open(QIODevice::ReadOnly));
    QCOMPARE(archive.readAll(), before);
    QVERIFY(!QFile::exists(builder.archive() + QStringLiteral(".part")));
}

void TestCourseBuilder::badArguments() {
    BuildRun run = Builder::runWith({});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errors.contains(QStringLiteral("usage")));
    QTemporaryDir dir;
    run = Builder::runWith(
        {dir.filePath(QStringLiteral("missing.layout")), dir.filePath(QStringLiteral("out.zqt"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errors.contains(QStringLiteral("cannot read")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("out.zqt"))));
}

QTEST_GUILESS_MAIN(TestCourseBuilder)
#include "tst_coursebuilder.moc"
