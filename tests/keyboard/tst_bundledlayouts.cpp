#include "support/TestPaths.h"

#include "keyboard/HandPosition.h"
#include "keyboard/KeyKinds.h"
#include "keyboard/ui/ButtonType.h"
#include "keyboard/ui/TKbFm.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "settings/DataMod.h"

#include <QDir>
#include <QPainter>
#include <QtTest>
#include <map>
#include <memory>

namespace {

QString archiveOf(const QString& course) {
    return appDir() + "/Courses/" + course + "/layout.zqt";
}

// The key value and finger each character should highlight, worked out from the tables: the
// first character record of a code, then the first key record (by Name) with its key value.
std::map<int, std::pair<int, int>> expectedHighlights() {
    std::map<int, int> keyNoOfCode;
    TClientDataSet* chars = DataMod->Ctbl;
    for (chars->First(); !chars->Eof(); chars->Next())
        keyNoOfCode.try_emplace(chars->FieldByName("Code").AsInteger(),
                                chars->FieldByName("KeyNo").AsInteger());
    std::map<int, int> fingerOfKey;
    TClientDataSet* keys = DataMod->MainTbl;
    for (keys->First(); !keys->Eof(); keys->Next())
        fingerOfKey.try_emplace(keys->FieldByName("KeyValue").AsInteger(),
                                keys->FieldByName("Finger").AsInteger());
    std::map<int, std::pair<int, int>> expected;
    for (const auto& [code, keyNo] : keyNoOfCode)
        if (fingerOfKey.count(keyNo)) expected[code] = {keyNo, fingerOfKey[keyNo]};
    return expected;
}

} // namespace

class TestBundledLayouts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keyboardOfEachCourse_data();
    void keyboardOfEachCourse();
    void picturesAndHands_data() { keyboardOfEachCourse_data(); }
    void picturesAndHands();

private:
    std::unique_ptr<TDataMod> m_mod;
    std::unique_ptr<TVKeyboard> m_keyboard;
};

void TestBundledLayouts::init() {
    m_mod = std::make_unique<TDataMod>();
    DataMod = m_mod.get();
    m_keyboard = std::make_unique<TVKeyboard>();
    m_keyboard->Blink = false;
}

void TestBundledLayouts::cleanup() {
    m_keyboard.reset();
    DataMod = nullptr;
    m_mod.reset();
}

void TestBundledLayouts::keyboardOfEachCourse_data() {
    QTest::addColumn<QString>("course");
    int courses = 0;
    for (const QString& name : QDir(appDir() + "/Courses").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFile::exists(archiveOf(name)) && ++courses) QTest::newRow(qPrintable(name)) << name;
    if (courses == 0) QTest::newRow("no bundled course") << QString();
}

void TestBundledLayouts::keyboardOfEachCourse() {
    QFETCH(QString, course);
    QVERIFY2(!course.isEmpty(), "the program folder holds no course");
    m_keyboard->LoadLayout(archiveOf(course));
    TKbFm* frame = m_keyboard->KbFrame;
    TClientDataSet* keys = DataMod->MainTbl;
    QVERIFY(keys->RecordCount() > 40);
    QCOMPARE(frame->KeyCount(), keys->RecordCount());
    QRect extent;
    for (keys->First(); !keys->Eof(); keys->Next())
        extent |= QRect(keys->FieldByName("X").AsInteger(), keys->FieldByName("Y").AsInteger(),
                        keys->FieldByName("Width").AsInteger(), keys->FieldByName("Height").AsInteger());
    QCOMPARE(m_keyboard->size(), QSize(extent.right() + 11, extent.bottom() + 11));
    QVERIFY(frame->LeftShiftKey && frame->RightShiftKey && frame->CapsLockKey);

    // Every code highlights the key its tables name, with that key's finger, or nothing.
    const auto expected = expectedHighlights();
    for (int code = 0; code < 256; ++code) {
        const int32_t finger = m_keyboard->HighlightChar(char(code));
        const auto it = expected.find(code);
        const QByteArray what = "character " + QByteArray::number(code);
        QVERIFY2(finger == (it == expected.end() ? FingerCode::NoFinger : it->second.second), what);
        ButtonType* key = m_keyboard->HighlightedKey;
        QVERIFY2(it == expected.end() ? !key : key && key->Tag == it->second.first, what);
        if (key) QVERIFY2(key->Glyph() == key->DownGlyph && key->IsDown() == (key->GroupIndex() != 0), what);
    }
    for (char ch : QByteArray("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,."))
        if (ch) QVERIFY2(FingerCode::isFinger(m_keyboard->HighlightChar(ch)), QByteArray(1, ch));
}

// Pictures of the keyboard and both hands, per course and character, under the build folder for
// a person to look at: a left-hand letter, a right-hand letter and the first letter beyond ASCII.
void TestBundledLayouts::picturesAndHands() {
    QFETCH(QString, course);
    QVERIFY(!course.isEmpty());
    const QString outDir = appDir() + "/../keyboard-shots";
    QVERIFY(QDir().mkpath(outDir));
    m_keyboard->LoadLayout(archiveOf(course));
    TPalmForm left;
    TPalmForm right;
    left.Blink = right.Blink = false;
    left.SetHand(true);
    right.SetHand(false);
    left.LayoutFingers();
    right.LayoutFingers();
    QVERIFY(!left.HandEmpty() && !right.HandEmpty());
    QCOMPARE(left.height(), std::max(DataMod->FingerLength[2], DataMod->FingerLength[7]) + 24);
    QCOMPARE(right.Fingers(1).Length, DataMod->FingerLength[5]);

    QByteArray sample("fj");
    for (const auto& [code, key] : expectedHighlights())
        if (code >= 0xC0) {
            sample.append(char(code));
            break;
        }
    for (char ch : sample) {
        const auto hand = handPositionForFinger(m_keyboard->HighlightChar(ch));
        QVERIFY(hand);
        (hand->left ? left : right).LightFinger(hand->position);
        (hand->left ? right : left).UnlightCurrent();
        const QPixmap keyboard = m_keyboard->grab();
        QImage sheet(keyboard.width() + 2 * left.width() + 20, std::max(keyboard.height(), left.height()),
                     QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        painter.drawPixmap(0, 0, keyboard);
        painter.drawPixmap(keyboard.width() + 10, 0, left.grab());
        painter.drawPixmap(keyboard.width() + left.width() + 20, 0, right.grab());
        painter.end();
        const QString file =
            QStringLiteral("%1/%2-%3.png").arg(outDir, course).arg(uchar(ch), 2, 16, QChar('0'));
        QVERIFY2(sheet.save(file), qPrintable(file));
        // The highlighted key shows its inverted picture.
        ButtonType* key = m_keyboard->HighlightedKey;
        const QPoint probe = key->geometry().topLeft() + QPoint(3, 3);
        QCOMPARE(keyboard.toImage().pixel(probe) & 0xFFFFFFu, key->DownGlyph.pixel(2, 2) & 0xFFFFFFu);
    }
}

QTEST_MAIN(TestBundledLayouts)
#include "tst_bundledlayouts.moc"
