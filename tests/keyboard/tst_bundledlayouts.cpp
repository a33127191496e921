#include "support/TestPaths.h"

#include "keyboard/HandPosition.h"
#include "keyboard/KeyKinds.h"
#include "keyboard/ui/ButtonType.h"
#include "keyboard/ui/TKbFm.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "platform/CodePage.h"
#include "settings/DataMod.h"

#include <QDir>
#include <QPainter>
#include <QtTest>
#include <map>
#include <memory>

namespace {

QStringList bundledCourses() {
    QStringList courses;
    const QDir dir(appDir() + QStringLiteral("/Courses"));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFile::exists(dir.filePath(name + QStringLiteral("/layout.zqt")))) courses << name;
    return courses;
}

QString archiveOf(const QString& course) {
    return appDir() + QStringLiteral("/Courses/") + course + QStringLiteral("/layout.zqt");
}

struct Expected {
    int keyValue = 0;
    int finger = FingerCode::NoFinger;
    bool hasKey = false;
};

// What each character of the loaded layout should highlight, worked out from the tables: the
// first character record of a code in the character table's order, then the first key record
// with that key value in the key table's order.
std::map<int, Expected> expectedHighlights() {
    std::map<int, int> keyNoOfCode;
    TClientDataSet* chars = DataMod->Ctbl;
    for (chars->First(); !chars->Eof(); chars->Next()) {
        const int code = chars->FieldByName(QStringLiteral("Code")).AsInteger();
        keyNoOfCode.try_emplace(code, chars->FieldByName(QStringLiteral("KeyNo")).AsInteger());
    }
    std::map<int, int> fingerOfKey;
    TClientDataSet* keys = DataMod->MainTbl;
    for (keys->First(); !keys->Eof(); keys->Next())
        fingerOfKey.try_emplace(keys->FieldByName(QStringLiteral("KeyValue")).AsInteger(),
                                keys->FieldByName(QStringLiteral("Finger")).AsInteger());
    std::map<int, Expected> expected;
    for (const auto& [code, keyNo] : keyNoOfCode) {
        const auto key = fingerOfKey.find(keyNo);
        expected[code] = key == fingerOfKey.end() ? Expected{} : Expected{keyNo, key->second, true};
    }
    return expected;
}

} // namespace

class TestBundledLayouts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keysMatchTheKeyTable_data();
    void keysMatchTheKeyTable();
    void everyCharacterHighlightsItsKey_data();
    void everyCharacterHighlightsItsKey();
    void handsAreLaidOut_data();
    void handsAreLaidOut();
    void picturesForALook_data();
    void picturesForALook();

private:
    void addCourseRows();

    std::unique_ptr<TDataMod> m_mod;
    std::unique_ptr<TVKeyboard> m_keyboard;
};

void TestBundledLayouts::init() {
    m_mod = std::make_unique<TDataMod>();
    DataMod = m_mod.get();
    m_keyboard = std::make_unique<TVKeyboard>();
}

void TestBundledLayouts::cleanup() {
    m_keyboard.reset();
    DataMod = nullptr;
    m_mod.reset();
}

void TestBundledLayouts::addCourseRows() {
    QTest::addColumn<QString>("course");
    const QStringList courses = bundledCourses();
    if (courses.isEmpty()) QTest::newRow("no bundled course") << QString();
    for (const QString& course : courses)
        QTest::newRow(qPrintable(course)) << course;
}

void TestBundledLayouts::keysMatchTheKeyTable_data() {
    addCourseRows();
}

void TestBundledLayouts::keysMatchTheKeyTable() {
    QFETCH(QString, course);
    QVERIFY2(!course.isEmpty(), "the program folder holds no course with a layout archive");
    m_keyboard->LoadLayout(archiveOf(course));
    TClientDataSet* keys = DataMod->MainTbl;
    QVERIFY(keys->RecordCount() > 40);
    QCOMPARE(m_keyboard->KbFrame->KeyCount(), keys->RecordCount());
    int maxRight = 0;
    int maxBottom = 0;
    for (int i = 0; i < keys->RecordCount(); ++i) {
        keys->SetRecNo(i + 1);
        ButtonType* cap = m_keyboard->KbFrame->Keys(i);
        const QRect place(keys->FieldByName("X").AsInteger(), keys->FieldByName("Y").AsInteger(),
                          keys->FieldByName("Width").AsInteger(), keys->FieldByName("Height").AsInteger());
        QCOMPARE(cap->geometry(), place);
        QCOMPARE(cap->Tag, keys->FieldByName("KeyValue").AsInteger());
        QVERIFY2(!cap->UpGlyph.isNull(), qPrintable(cap->Hint()));
        maxRight = std::max(maxRight, place.x() + place.width());
        maxBottom = std::max(maxBottom, place.y() + place.height());
    }
    QCOMPARE(m_keyboard->size(), QSize(maxRight + 10, maxBottom + 10));
    // The modifier caps a European layout needs are there.
    QVERIFY(m_keyboard->KbFrame->LeftShiftKey);
    QVERIFY(m_keyboard->KbFrame->RightShiftKey);
    QVERIFY(m_keyboard->KbFrame->CapsLockKey);
}

void TestBundledLayouts::everyCharacterHighlightsItsKey_data() {
    addCourseRows();
}

void TestBundledLayouts::everyCharacterHighlightsItsKey() {
    QFETCH(QString, course);
    QVERIFY(!course.isEmpty());
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(archiveOf(course));
    const std::map<int, Expected> expected = expectedHighlights();
    for (int code = 0; code < 256; ++code) {
        const auto it = expected.find(code);
        const Expected want = it == expected.end() ? Expected{} : it->second;
        const int32_t finger = m_keyboard->HighlightChar(char(code));
        const QByteArray what = "character " + QByteArray::number(code);
        QVERIFY2(finger == (want.hasKey ? want.finger : FingerCode::NoFinger), what);
        if (!want.hasKey) {
            QVERIFY2(m_keyboard->HighlightedKey.isNull(), what);
            continue;
        }
        QVERIFY2(m_keyboard->HighlightedKey && m_keyboard->HighlightedKey->Tag == want.keyValue, what);
        // Pressed: the inverted picture, and down unless it is a key that never stays down.
        ButtonType* key = m_keyboard->HighlightedKey;
        QVERIFY2(key->Glyph() == key->DownGlyph, what);
        QVERIFY2(key->IsDown() == (key->GroupIndex() != 0), what);
    }
    // Every letter and digit of a course has a key and a finger.
    for (char ch : QByteArray("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,."))
        if (ch) QVERIFY2(FingerCode::isFinger(m_keyboard->HighlightChar(ch)), QByteArray(1, ch));
}

void TestBundledLayouts::handsAreLaidOut_data() {
    addCourseRows();
}

void TestBundledLayouts::handsAreLaidOut() {
    QFETCH(QString, course);
    QVERIFY(!course.isEmpty());
    m_keyboard->LoadLayout(archiveOf(course));
    TPalmForm left;
    TPalmForm right;
    left.SetHand(true);
    right.SetHand(false);
    left.LayoutFingers();
    right.LayoutFingers();
    QVERIFY(!left.HandEmpty());
    QVERIFY(!right.HandEmpty());
    const int height = std::max(DataMod->FingerLength[2], DataMod->FingerLength[7]) + 24;
    QCOMPARE(left.height(), height);
    QCOMPARE(right.height(), height);
    for (int pos = 1; pos <= 5; ++pos) {
        QCOMPARE(left.Fingers(pos).Length, DataMod->FingerLength[size_t(pos - 1)]);
        QCOMPARE(right.Fingers(pos).Length, DataMod->FingerLength[size_t(pos + 4)]);
        QVERIFY(left.Fingers(pos).Length > 0);
    }
}

void TestBundledLayouts::picturesForALook_data() {
    addCourseRows();
}

// Pictures of the keyboard and both hands, one per course and character, under the build
// folder for a person to look at.
void TestBundledLayouts::picturesForALook() {
    QFETCH(QString, course);
    QVERIFY(!course.isEmpty());
    const QString outDir = appDir() + QStringLiteral("/../keyboard-shots");
    QVERIFY(QDir().mkpath(outDir));
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(archiveOf(course));
    TPalmForm left;
    TPalmForm right;
    left.Blink = right.Blink = false;
    left.SetHand(true);
    right.SetHand(false);
    left.LayoutFingers();
    right.LayoutFingers();

    // A left-hand letter, a right-hand letter and the course's first character beyond ASCII.
    QByteArray sample("fj");
    for (const auto& [code, want] : expectedHighlights())
        if (code >= 0xC0 && want.hasKey) {
            sample.append(char(code));
            break;
        }
    for (char ch : sample) {
        const int32_t finger = m_keyboard->HighlightChar(ch);
        const auto hand = handPositionForFinger(finger);
        QVERIFY(hand);
        TPalmForm& lit = hand->left ? left : right;
        TPalmForm& dark = hand->left ? right : left;
        lit.LightFinger(hand->position);
        dark.UnlightCurrent();
        QVERIFY(lit.Lit(hand->position));

        const QPixmap keyboard = m_keyboard->grab();
        const QPixmap leftHand = left.grab();
        const QPixmap rightHand = right.grab();
        QImage sheet(keyboard.width() + leftHand.width() + rightHand.width() + 20,
                     std::max(keyboard.height(), leftHand.height()), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        painter.drawPixmap(0, 0, keyboard);
        painter.drawPixmap(keyboard.width() + 10, 0, leftHand);
        painter.drawPixmap(keyboard.width() + leftHand.width() + 20, 0, rightHand);
        painter.end();
        const QString file =
            QStringLiteral("%1/%2-%3.png").arg(outDir, course).arg(uchar(ch), 2, 16, QLatin1Char('0'));
        QVERIFY2(sheet.save(file), qPrintable(file));
        // The highlighted key shows its inverted picture on the keyboard.
        ButtonType* key = m_keyboard->HighlightedKey;
        QVERIFY(key);
        const QImage shot = keyboard.toImage();
        const QPoint probe = key->geometry().topLeft() + QPoint(3, 3);
        QCOMPARE(shot.pixel(probe) & 0xFFFFFFu, key->DownGlyph.pixel(2, 2) & 0xFFFFFFu);
    }
}

QTEST_MAIN(TestBundledLayouts)
#include "tst_bundledlayouts.moc"
