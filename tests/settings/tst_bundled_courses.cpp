// The courses that ship in the program folder: their layout archives load, hold what their
// descriptions say and can type every character of their texts; the texts have the drills' and
// the game's formats.

#include "platform/CodePage.h"
#include "platform/RegularFile.h"
#include "platform/TextLines.h"
#include "platform/ZipReader.h"
#include "settings/DataMod.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <set>
#include <stdexcept>
#include <tuple>

namespace {

QString courseDir(const QString& course) {
    return appDir() + QStringLiteral("/Courses/") + course;
}
QString archivePath(const QString& course) {
    return courseDir(course) + QStringLiteral("/layout.zqt");
}
QString descriptionPath(const QString& course) {
    return sourceDir() + QStringLiteral("/data/Courses/%1/%1.layout").arg(course);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A drill line as the drills offer it: blanks and control characters trimmed at both ends.
QByteArray trimmed(const QByteArray& line) {
    qsizetype begin = 0, end = line.size();
    while (begin < end && quint8(line[begin]) <= ' ')
        ++begin;
    while (end > begin && quint8(line[end - 1]) <= ' ')
        --end;
    return line.mid(begin, end - begin);
}

// The game's reading of "Game.txt": runs of empty lines separate groups, spaces separate words.
std::vector<std::vector<QByteArray>> gameGroups(const QByteArray& text) {
    std::vector<std::vector<QByteArray>> groups(1);
    bool previousEmpty = true;
    for (const QByteArray& line : splitLines(text)) {
        if (line.isEmpty()) {
            if (!previousEmpty) groups.emplace_back();
            previousEmpty = true;
            continue;
        }
        previousEmpty = false;
        for (const QByteArray& word : line.split(' '))
            if (!word.isEmpty()) groups.back().push_back(word);
    }
    return groups;
}

int keyLines(const QString& course) {
    int count = 0;
    for (const QByteArray& line : splitLines(readFile(descriptionPath(course))))
        count += line.startsWith("key ");
    return count;
}

// What each bundled course is: its layout's identifier, background colour (0x00BBGGRR) and the
// letters of its home row.
struct Course {
    const char* name;
    const char* layoutId;
    int background;
    QByteArray homeRow;
};

const std::vector<Course>& courses() {
    static const std::vector<Course> all = {
        {"English", "00000409", 0x645A50, "asdfghjkl;"},
        {"Deutsch", "00000407", 0x46505A, "asdfghjkl\xF6\xE4"},
        {"Francais", "0000040C", 0x5A5046, "qsdfghjklm"},
    };
    return all;
}

const Course& course(const QString& name) {
    for (const Course& c : courses())
        if (name == QLatin1String(c.name)) return c;
    throw std::invalid_argument("unknown course");
}

void addCourseRows() {
    QTest::addColumn<QString>("course");
    for (const Course& c : courses())
        QTest::newRow(c.name) << c.name;
}

// What typing one character takes on a layout: its key with Shift or AltGr as the character
// table gives them, and for an accented character also the dead key with its own Shift or AltGr.
// Keys are their numbers; Shift and AltGr are the two negative members.
constexpr int kShift = -1;
constexpr int kAltGr = -2;
struct Typing {
    int key = 0; // the character's own key
    std::set<int> strokes;
};
Typing typingOf(TDataMod& layout, quint8 code) {
    TClientDataSet& chars = *layout.Ctbl;
    if (!chars.Locate(QStringLiteral("Code"), int(code))) return {};
    const int key = chars.FieldByName(QStringLiteral("KeyNo")).AsInteger();
    std::set<int> strokes{key};
    if (chars.FieldByName(QStringLiteral("Shift")).AsBoolean()) strokes.insert(kShift);
    if (chars.FieldByName(QStringLiteral("AltGr")).AsBoolean()) strokes.insert(kAltGr);
    const int accent = chars.FieldByName(QStringLiteral("Accent")).AsInteger();
    TClientDataSet& keys = *layout.MainTbl;
    if (accent == 0) return {key, strokes};
    if (keys.Locate(QStringLiteral("KeyType"), accent)) {
        strokes.insert(keys.FieldByName(QStringLiteral("KeyValue")).AsInteger());
    } else if (keys.Locate(QStringLiteral("KeyType2"), accent)) {
        // A second dead key takes Shift on a dead key's cap and AltGr on a character key's.
        strokes.insert(keys.FieldByName(QStringLiteral("KeyValue")).AsInteger());
        strokes.insert(keys.FieldByName(QStringLiteral("KeyType")).AsInteger() >= 2001 ? kShift : kAltGr);
    }
    return {key, strokes};
}

} // namespace

class TestBundledCourses : public QObject {
    Q_OBJECT

private slots:
    void archiveLoads_data() { addCourseRows(); }
    void archiveLoads();
    void archiveMatchesItsDescription_data() { addCourseRows(); }
    void archiveMatchesItsDescription();
    void keys_data();
    void keys();
    void characters_data();
    void characters();
    void everyWayOfTypingIsUnambiguous_data() { addCourseRows(); }
    void everyWayOfTypingIsUnambiguous();
    void everyKeyHasItsPicture_data() { addCourseRows(); }
    void everyKeyHasItsPicture();
    void shiftKeysLookAlike_data() { addCourseRows(); }
    void shiftKeysLookAlike();
    void textsCanBeTyped_data();
    void textsCanBeTyped();
    void courseLines_data() { addCourseRows(); }
    void courseLines();
    void practiceSentences_data() { addCourseRows(); }
    void practiceSentences();
    void gameGroups_data() { addCourseRows(); }
    void gameGroups();
    void layoutCharactersArePractised_data();
    void layoutCharactersArePractised();
    void courseTeachesKeysBeforeUsingThem_data() { addCourseRows(); }
    void courseTeachesKeysBeforeUsingThem();
};

void TestBundledCourses::archiveLoads() {
    QFETCH(QString, course);
    TDataMod dataMod;
    QVERIFY(dataMod.LoadLayout(archivePath(course)));
    QCOMPARE(dataMod.MainTbl->RecordCount(), keyLines(course));
    QVERIFY(dataMod.Ctbl->RecordCount() >= 95);
    QCOMPARE(dataMod.Author, QByteArray("Quorvel"));
    QVERIFY(dataMod.Misc.contains(::course(course).layoutId));
    QCOMPARE(dataMod.BkColor, ::course(course).background);
    for (int i = 0; i < 10; ++i) {
        QVERIFY(dataMod.FingerLength[size_t(i)] >= 30);
        QVERIFY(dataMod.FingerColor[size_t(i)] > 0);
    }
    QCOMPARE(dataMod.FingerLength[2], 70);      // the middle finger is the longest
    QCOMPARE(dataMod.FingerColor[8], 0xF6B564); // right index: #64B5F6
}

void TestBundledCourses::archiveMatchesItsDescription() {
    QFETCH(QString, course);
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("layout.zqt"));
    QProcess builder;
    builder.start(appDir() + QStringLiteral("/../tools/coursebuilder/coursebuilder"),
                  {descriptionPath(course), fresh});
    QVERIFY(builder.waitForFinished(60000));
    QCOMPARE(builder.exitCode(), 0);
    ZipReader shipped, rebuilt;
    shipped.open(archivePath(course));
    rebuilt.open(fresh);
    for (const char* member : {"key.cds", "char.cds", "readme"}) {
        const QByteArray data = shipped.extract(member);
        QVERIFY2(!data.isEmpty(), member);
        QVERIFY2(data == rebuilt.extract(member), member);
    }
}

void TestBundledCourses::keys_data() {
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("kind2");
    QTest::addColumn<int>("finger");
    QTest::newRow("en Q") << "English"
                          << "Q" << 0x10 << 1 << 0 << 0;
    QTest::newRow("en J") << "English"
                          << "J" << 0x24 << 1 << 0 << 6;
    QTest::newRow("en Space") << "English"
                              << "Space" << 0x39 << 3 << 0 << 5;
    QTest::newRow("en Tab") << "English"
                            << "Tab" << 0x0F << 9 << 0 << 0;
    QTest::newRow("en Caps Lock") << "English"
                                  << "CapsLock" << 0x3A << 20 << 0 << 0;
    QTest::newRow("en left Shift") << "English"
                                   << "ShiftL" << 0x2A << 1002 << 0 << 0;
    QTest::newRow("en right Shift") << "English"
                                    << "ShiftR" << 0x36 << 1003 << 0 << 9;
    QTest::newRow("en Backspace") << "English"
                                  << "Backspace" << 0x0E << 8 << 0 << 9;
    QTest::newRow("en Enter") << "English"
                              << "Enter" << 0x1C << 13 << 0 << 9;
    QTest::newRow("en digit 5") << "English"
                                << "Digit5" << 0x06 << 2 << 0 << 3;
    QTest::newRow("de circumflex") << "Deutsch"
                                   << "Zirkumflex" << 0x29 << 2003 << 2003 << 0;
    QTest::newRow("de acute, grave with Shift") << "Deutsch"
                                                << "Akut" << 0x0D << 2002 << 2001 << 9;
    QTest::newRow("de AltGr") << "Deutsch"
                              << "AltGr" << 0x138 << 1000 << 0 << 5;
    QTest::newRow("de Z where en has Y") << "Deutsch"
                                         << "Z" << 0x15 << 1 << 0 << 6;
    QTest::newRow("de Y where en has Z") << "Deutsch"
                                         << "Y" << 0x2C << 1 << 0 << 0;
    QTest::newRow("de ü") << "Deutsch"
                          << "UUmlaut" << 0x1A << 1 << 0 << 9;
    QTest::newRow("de ß") << "Deutsch"
                          << "Eszett" << 0x0C << 2 << 0 << 9;
    QTest::newRow("de < > |") << "Deutsch"
                              << "Less" << 0x56 << 2 << 0 << 0;
    QTest::newRow("de right Shift") << "Deutsch"
                                    << "ShiftR" << 0x36 << 1003 << 0 << 9;
}

void TestBundledCourses::keys() {
    QFETCH(QString, course);
    QFETCH(QString, name);
    TDataMod dataMod;
    QVERIFY(dataMod.LoadLayout(archivePath(course)));
    TClientDataSet& keys = *dataMod.MainTbl;
    QVERIFY(keys.Locate(QStringLiteral("Name"), CodePage::fromUnicode(name)));
    QTEST(keys.FieldByName(QStringLiteral("KeyValue")).AsInteger(), "value");
    QTEST(keys.FieldByName(QStringLiteral("KeyType")).AsInteger(), "kind");
    QTEST(keys.FieldByName(QStringLiteral("KeyType2")).AsInteger(), "kind2");
    QTEST(keys.FieldByName(QStringLiteral("Finger")).AsInteger(), "finger");
}

void TestBundledCourses::characters_data() {
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("keyNo");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("altGr");
    QTest::addColumn<int>("accent");
    const auto row = [](const char* course, const QString& ch, int key, bool shift, bool altGr, int accent) {
        QTest::addRow("%s %s", course, qPrintable(ch)) << course << ch << key << shift << altGr << accent;
    };
    row("English", "a", 0x1E, false, false, 0);
    row("English", "A", 0x1E, true, false, 0);
    row("English", " ", 0x39, false, false, 0);
    row("English", "\"", 0x28, true, false, 0);
    row("English", "~", 0x29, true, false, 0);
    row("English", "{", 0x1A, true, false, 0);
    row("English", "?", 0x35, true, false, 0);
    row("English", "0", 0x0B, false, false, 0);
    row("English", "\t", 0x0F, false, false, 0);
    row("Deutsch", "z", 0x15, false, false, 0);
    row("Deutsch", "Y", 0x2C, true, false, 0);
    row("Deutsch", "ä", 0x28, false, false, 0);
    row("Deutsch", "Ö", 0x27, true, false, 0);
    row("Deutsch", "ß", 0x0C, false, false, 0);
    row("Deutsch", "?", 0x0C, true, false, 0);
    row("Deutsch", "§", 0x04, true, false, 0);
    row("Deutsch", "°", 0x29, true, false, 0);
    row("Deutsch", "@", 0x10, false, true, 0);
    row("Deutsch", "€", 0x12, false, true, 0);
    row("Deutsch", "{", 0x08, false, true, 0);
    row("Deutsch", "[", 0x09, false, true, 0);
    row("Deutsch", "]", 0x0A, false, true, 0);
    row("Deutsch", "}", 0x0B, false, true, 0);
    row("Deutsch", "\\", 0x0C, false, true, 0);
    row("Deutsch", "~", 0x1B, false, true, 0);
    row("Deutsch", "|", 0x56, false, true, 0);
    row("Deutsch", "µ", 0x32, false, true, 0);
    row("Deutsch", "²", 0x03, false, true, 0);
    row("Deutsch", "³", 0x04, false, true, 0);
    // A dead key's own character is found on the dead key first (that key is highlighted).
    row("Deutsch", "^", 0x29, false, false, 0);
    row("Deutsch", "´", 0x0D, false, false, 0);
    row("Deutsch", "`", 0x0D, true, false, 0);
    // Combinations: the letter's key and level, the dead key as accent.
    row("Deutsch", "â", 0x1E, false, false, 2003);
    row("Deutsch", "Ê", 0x12, true, false, 2003);
    row("Deutsch", "û", 0x16, false, false, 2003);
    row("Deutsch", "í", 0x17, false, false, 2002);
    row("Deutsch", "Ú", 0x16, true, false, 2002);
    row("Deutsch", "é", 0x12, false, false, 2002);
    row("Deutsch", "à", 0x1E, false, false, 2001);
    row("Deutsch", "Ò", 0x18, true, false, 2001);
    row("Deutsch", "è", 0x12, false, false, 2001);
    row("Francais", "q", 0x1E, false, false, 0);
    row("Francais", "a", 0x10, false, false, 0);
    row("Francais", "w", 0x2C, false, false, 0);
    row("Francais", "1", 0x02, true, false, 0);
    row("Francais", "&", 0x02, false, false, 0);
    row("Francais", "²", 0x29, false, false, 0);
    row("Francais", "é", 0x03, false, false, 0);
    row("Francais", "ç", 0x0A, false, false, 0);
    row("Francais", "ù", 0x28, false, false, 0);
    row("Francais", "µ", 0x2B, true, false, 0);
    row("Francais", "§", 0x35, true, false, 0);
    row("Francais", "£", 0x1B, true, false, 0);
    row("Francais", "¤", 0x1B, false, true, 0);
    row("Francais", "€", 0x12, false, true, 0);
    row("Francais", "@", 0x0B, false, true, 0);
    row("Francais", "#", 0x04, false, true, 0);
    row("Francais", "\\", 0x09, false, true, 0);
    // à and ^ have keys of their own, which come before the dead-key ways to them.
    row("Francais", "à", 0x0B, false, false, 0);
    row("Francais", "^", 0x0A, false, true, 0);
    row("Francais", "¨", 0x1A, true, false, 0);
    row("Francais", "~", 0x03, false, true, 0);
    row("Francais", "`", 0x08, false, true, 0);
    row("Francais", "ê", 0x12, false, false, 2003);
    row("Francais", "ë", 0x12, false, false, 2005);
    row("Francais", "Ÿ", 0x15, true, false, 2005);
    row("Francais", "ñ", 0x31, false, false, 2004);
    row("Francais", "Õ", 0x18, true, false, 2004);
    row("Francais", "À", 0x10, true, false, 2001);
}

void TestBundledCourses::characters() {
    QFETCH(QString, course);
    QFETCH(QString, character);
    QFETCH(int, keyNo);
    TDataMod dataMod;
    QVERIFY(dataMod.LoadLayout(archivePath(course)));
    // As the keyboard looks a character up: the first record of its code in Code order.
    TClientDataSet& chars = *dataMod.Ctbl;
    const auto code = CodePage::unicodeToChar(character.at(0));
    QVERIFY(code);
    QVERIFY(chars.Locate(QStringLiteral("Code"), int(*code)));
    QCOMPARE(chars.FieldByName(QStringLiteral("KeyNo")).AsInteger(), keyNo);
    QTEST(chars.FieldByName(QStringLiteral("Shift")).AsBoolean(), "shift");
    QTEST(chars.FieldByName(QStringLiteral("AltGr")).AsBoolean(), "altGr");
    QTEST(chars.FieldByName(QStringLiteral("Accent")).AsInteger(), "accent");
    QVERIFY(dataMod.MainTbl->Locate(QStringLiteral("KeyValue"), keyNo));
    QVERIFY(dataMod.MainTbl->FieldByName(QStringLiteral("Finger")).AsInteger() <= 9);
}

void TestBundledCourses::everyWayOfTypingIsUnambiguous() {
    QFETCH(QString, course);
    TDataMod dataMod;
    QVERIFY(dataMod.LoadLayout(archivePath(course)));
    TClientDataSet& keys = *dataMod.MainTbl;
    std::set<int> deadKeyCaps;
    for (keys.First(); !keys.Eof(); keys.Next())
        for (const char* field : {"KeyType", "KeyType2"})
            deadKeyCaps.insert(keys.FieldByName(QLatin1String(field)).AsInteger());
    // Typing by clicking looks a character up by key, Shift, AltGr and dead key: each such
    // combination must give one character, on a key that exists, after a dead key that has a cap.
    std::set<std::tuple<int, bool, bool, int>> ways;
    TClientDataSet& chars = *dataMod.Ctbl;
    for (chars.First(); !chars.Eof(); chars.Next()) {
        const int keyNo = chars.FieldByName(QStringLiteral("KeyNo")).AsInteger();
        const int accent = chars.FieldByName(QStringLiteral("Accent")).AsInteger();
        const auto way = std::make_tuple(keyNo, chars.FieldByName(QStringLiteral("Shift")).AsBoolean(),
                                         chars.FieldByName(QStringLiteral("AltGr")).AsBoolean(), accent);
        const QByteArray name = chars.FieldByName(QStringLiteral("Name")).AsString();
        QVERIFY2(ways.insert(way).second, name.constData());
        QVERIFY2(keys.Locate(QStringLiteral("KeyValue"), keyNo), name.constData());
        QVERIFY2(accent == 0 || deadKeyCaps.count(accent), name.constData());
    }
}

void TestBundledCourses::everyKeyHasItsPicture() {
    QFETCH(QString, course);
    TDataMod dataMod;
    QVERIFY(dataMod.LoadLayout(archivePath(course)));
    TClientDataSet& keys = *dataMod.MainTbl;
    std::set<QRgb> colours;
    for (keys.First(); !keys.Eof(); keys.Next()) {
        const QByteArray name = keys.FieldByName(QStringLiteral("Name")).AsString();
        const QImage glyph = keys.FieldByName(QStringLiteral("Glyph")).AsImage();
        QVERIFY2(!glyph.isNull(), name.constData());
        QCOMPARE(glyph.width(), keys.FieldByName(QStringLiteral("Width")).AsInteger());
        QCOMPARE(glyph.height(), keys.FieldByName(QStringLiteral("Height")).AsInteger());
        QVERIFY2(glyph.width() >= 36 && glyph.height() >= 36, name.constData());
        // No key overlaps the frame's margin; the keyboard is about 15 standard keys wide.
        QVERIFY(keys.FieldByName(QStringLiteral("X")).AsInteger() >= 5);
        QVERIFY(keys.FieldByName(QStringLiteral("X")).AsInteger() + glyph.width() <= 5 + 15 * 42);
        colours.insert(glyph.pixel(0, glyph.height() - 1));
    }
    // Cap colours follow the fingers: four finger colours per hand, thumbs and keys without finger.
    QVERIFY(colours.size() >= 6);
}

// Both Shift keys carry the same caption: the right cap shows what the left one shows, as far as
// the narrower left cap reaches (short of its right rim).
void TestBundledCourses::shiftKeysLookAlike() {
    QFETCH(QString, course);
    TDataMod dataMod;
    QVERIFY(dataMod.LoadLayout(archivePath(course)));
    TClientDataSet& keys = *dataMod.MainTbl;
    QVERIFY(keys.Locate(QStringLiteral("Name"), QByteArray("ShiftL")));
    const QImage left = keys.FieldByName(QStringLiteral("Glyph")).AsImage();
    QVERIFY(keys.Locate(QStringLiteral("Name"), QByteArray("ShiftR")));
    const QImage right = keys.FieldByName(QStringLiteral("Glyph")).AsImage();
    QCOMPARE(right.height(), left.height());
    QVERIFY(right.width() >= left.width());
    const QRect common(0, 0, left.width() - 2, left.height());
    QCOMPARE(right.copy(common), left.copy(common));
}

void TestBundledCourses::textsCanBeTyped_data() {
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("file");
    for (const Course& course : courses())
        for (const char* file : {"course.txt", "Practice.txt", "Game.txt"})
            QTest::addRow("%s %s", course.name, file) << course.name << file;
}

void TestBundledCourses::textsCanBeTyped() {
    QFETCH(QString, course);
    QFETCH(QString, file);
    const QByteArray text = readFile(courseDir(course) + QLatin1Char('/') + file);
    QVERIFY(!text.isEmpty());
    TDataMod dataMod;
    QVERIFY(dataMod.LoadLayout(archivePath(course)));
    std::set<quint8> seen;
    for (const char c : text) {
        const quint8 code = quint8(c);
        if (code == '\r' || code == '\n' || !seen.insert(code).second) continue;
        // Windows-1252 leaves five codes undefined; no text may hold them or other controls.
        QVERIFY2(code >= 32 && code != 0x81 && code != 0x8D && code != 0x8F && code != 0x90 && code != 0x9D,
                 qPrintable(QString::number(code)));
        QVERIFY2(dataMod.Ctbl->Locate(QStringLiteral("Code"), int(code)),
                 qPrintable(QStringLiteral("no key types %1").arg(CodePage::charToUnicode(code))));
        const int keyNo = dataMod.Ctbl->FieldByName(QStringLiteral("KeyNo")).AsInteger();
        QVERIFY(dataMod.MainTbl->Locate(QStringLiteral("KeyValue"), keyNo));
        QVERIFY(dataMod.MainTbl->FieldByName(QStringLiteral("Finger")).AsInteger() <= 9);
    }
}

void TestBundledCourses::courseLines() {
    QFETCH(QString, course);
    const std::vector<QByteArray> lines =
        splitLines(RegularFile::read(courseDir(course) + QStringLiteral("/course.txt"), MaxTextFileSize));
    QVERIFY(lines.size() >= 80);
    for (const QByteArray& line : lines) {
        QCOMPARE(trimmed(line), line);
        QVERIFY2(line.size() >= 30 && line.size() <= 70, line.constData());
    }
    // The course begins on the home row and reaches capitals, punctuation and digits later.
    const QByteArray homeRow = ::course(course).homeRow + ' ';
    for (size_t i = 0; i < 4; ++i)
        for (const char c : lines[i])
            QVERIFY2(homeRow.contains(c), lines[i].constData());
    const auto firstLineWith = [&lines](auto predicate) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (std::any_of(lines[i].begin(), lines[i].end(), predicate)) return int(i);
        return -1;
    };
    const int capitals = firstLineWith([](char c) { return c >= 'A' && c <= 'Z'; });
    const int digits = firstLineWith([](char c) { return c >= '0' && c <= '9'; });
    QVERIFY(capitals > 20);
    QVERIFY(digits > capitals);
    // Every letter has been practised on its own before capitals come.
    QByteArray before;
    for (int i = 0; i < capitals; ++i)
        before += lines[size_t(i)];
    for (char letter = 'a'; letter <= 'z'; ++letter)
        QVERIFY2(before.contains(letter), qPrintable(QString(QLatin1Char(letter))));
}

void TestBundledCourses::practiceSentences() {
    QFETCH(QString, course);
    const std::vector<QByteArray> lines =
        splitLines(RegularFile::read(courseDir(course) + QStringLiteral("/Practice.txt"), MaxTextFileSize));
    QVERIFY(lines.size() >= 150);
    std::set<QByteArray> distinct;
    for (const QByteArray& line : lines) {
        QCOMPARE(trimmed(line), line);
        const QByteArray text = CodePage::toUnicode(line).toUtf8();
        QVERIFY2(line.size() >= 20 && line.size() <= 80, text.constData());
        QVERIFY2(CodePage::charToUnicode(quint8(line.at(0))).isUpper(), text.constData());
        QVERIFY2(QByteArray(".!?").contains(line.back()), text.constData());
        distinct.insert(line);
    }
    QCOMPARE(distinct.size(), lines.size());
}

void TestBundledCourses::gameGroups() {
    QFETCH(QString, course);
    const QByteArray text = readFile(courseDir(course) + QStringLiteral("/Game.txt"));
    const auto groups = ::gameGroups(text);
    QVERIFY(groups.size() >= 12);
    QVERIFY(groups.size() <= 60);
    for (const auto& group : groups) {
        QVERIFY(group.size() >= 8); // no empty group, none that runs out at once
        for (const QByteArray& word : group)
            QVERIFY2(word.size() <= 20, word.constData());
    }
    // Short words of the first keys learnt (home row, e and i) first, long words last.
    const QByteArray firstKeys = ::course(course).homeRow + "ei";
    for (const QByteArray& word : groups.front()) {
        QVERIFY(word.size() <= 5);
        for (const char c : word)
            QVERIFY2(firstKeys.contains(c), word.constData());
    }
    for (const QByteArray& word : groups.back())
        QVERIFY2(word.size() >= 11, word.constData());
}

void TestBundledCourses::layoutCharactersArePractised_data() {
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("characters");
    QTest::newRow("English") << "English"
                             << "`~!@#$%^&*()_+-=[]{}\\|;:'\",.<>/?";
    QTest::newRow("Deutsch") << "Deutsch" << QString::fromUtf8("äöüÄÖÜßâéàÊÍÒ@€{}[]\\~|µ²³§°^´`");
    QTest::newRow("Francais") << "Francais" << QString::fromUtf8("éèàçùâêîôûëïÿ€@#{}[]|\\~`^²µ§£¤°ñõ");
}

void TestBundledCourses::layoutCharactersArePractised() {
    QFETCH(QString, course);
    QFETCH(QString, characters);
    QByteArray all;
    for (const char* file : {"/course.txt", "/Practice.txt", "/Game.txt"})
        all += readFile(courseDir(course) + QLatin1String(file));
    for (const QChar ch : characters)
        QVERIFY2(all.contains(CodePage::fromUnicode(ch)), qPrintable(QString(ch)));
}

// A lesson drills its new keys first, in words of one key typed again and again ("fff", "Aaa",
// "!!!", "ééé"); from that line on, the key and whatever typing those words took (Shift, AltGr,
// a dead key) are taught. No line may use a key, Shift or AltGr before it is taught.
void TestBundledCourses::courseTeachesKeysBeforeUsingThem() {
    QFETCH(QString, course);
    TDataMod layout;
    QVERIFY(layout.LoadLayout(archivePath(course)));
    const TextLines lines = loadLines(courseDir(course) + QStringLiteral("/course.txt"));
    std::set<int> taught;
    QStringList early;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        for (const QByteArray& word : lines[i].split(' ')) {
            std::set<int> keys, strokes;
            for (const char c : word) {
                const Typing typing = typingOf(layout, quint8(c));
                keys.insert(typing.key);
                strokes.insert(typing.strokes.begin(), typing.strokes.end());
            }
            if (word.size() >= 2 && keys.size() == 1) taught.insert(strokes.begin(), strokes.end());
        }
        QString untaught;
        for (const char c : lines[i]) {
            if (c == ' ') continue;
            for (const int stroke : typingOf(layout, quint8(c)).strokes)
                if (!taught.count(stroke)) {
                    const QString ch = CodePage::charToUnicode(quint8(c));
                    if (!untaught.contains(ch)) untaught += ch;
                }
        }
        if (!untaught.isEmpty()) early << QStringLiteral("line %1: %2").arg(i + 1).arg(untaught);
    }
    QVERIFY2(early.isEmpty(), qPrintable(early.join(QStringLiteral("; "))));
}

QTEST_GUILESS_MAIN(TestBundledCourses)
#include "tst_bundled_courses.moc"
