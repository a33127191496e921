#include "LayoutTables.h"

#include "keyboard/KeyKinds.h"
#include "keyboard/ui/ButtonType.h"
#include "keyboard/ui/TKbFm.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "platform/Errors.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using testlayout::Char;
using testlayout::Key;

namespace {

std::vector<Key> keys() {
    return {
        {"K1 f", 33, 1, 0, 3, 10, 10, 30, 30},
        {"K2 j", 36, 1, 0, 6, 50, 10, 30, 30},
        {"K3 space", 57, 2, 0, 5, 10, 50, 500, 40},
        {"K4 back", 14, 8, 0, 9, 90, 10, 60, 30},
    };
}

std::vector<Char> chars() {
    return {{"f", 'f', 33}, {"F", 'F', 33, true}, {"j", 'j', 36}, {"space", ' ', 57}, {"ghost", 'g', 99}};
}

const std::array<int, 10> fingerLengths = {40, 50, 60, 55, 20, 0, 0, 0, 0, 0};
const std::array<int, 10> fingerColors = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 1, 2, 3, 4, 5};

} // namespace

class TestKeyboardWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadLayoutSizesWindowToKeys();
    void highlightReturnsFingerAndMovesTheHighlight_data();
    void highlightReturnsFingerAndMovesTheHighlight();
    void blinkModeTogglesEveryTick();
    void steadyModeHoldsTheKeyDown();
    void timerRunsExactlyWhileShown();
    void afterLoadNothingIsHighlighted();
    void layoutWithoutKeyTableRaisesFromLoad();
    void layoutWithoutCharacterTableRaisesFromHighlight();
    void handWindowsFromTheLoadedLayout();

private:
    QString archive(const std::map<QByteArray, QByteArray>& members);
    QString goodArchive();

    QTemporaryDir m_dir;
    int m_archives = 0;
    std::unique_ptr<TDataMod> m_mod;
    std::unique_ptr<TVKeyboard> m_keyboard;
};

void TestKeyboardWindow::init() {
    QVERIFY(m_dir.isValid());
    m_mod = std::make_unique<TDataMod>();
    DataMod = m_mod.get();
    m_keyboard = std::make_unique<TVKeyboard>();
}

void TestKeyboardWindow::cleanup() {
    m_keyboard.reset();
    DataMod = nullptr;
    m_mod.reset();
}

QString TestKeyboardWindow::archive(const std::map<QByteArray, QByteArray>& members) {
    const QString path = m_dir.filePath(QStringLiteral("layout%1.zqt").arg(++m_archives));
    if (!testlayout::writeArchive(path, members)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TestKeyboardWindow::goodArchive() {
    return archive({{"key.cds", testlayout::keyPacket(keys())},
                    {"char.cds", testlayout::charPacket(chars())},
                    {"readme", testlayout::readme(0x00808000, fingerLengths, fingerColors)}});
}

void TestKeyboardWindow::loadLayoutSizesWindowToKeys() {
    QVERIFY(m_keyboard->Blink);
    QVERIFY(m_keyboard->windowFlags() & Qt::Tool);
    m_keyboard->LoadLayout(goodArchive());
    QCOMPARE(m_keyboard->KbFrame->KeyCount(), 4);
    // Right-most edge 510 (space), lowest 90, plus 10 each.
    QCOMPARE(m_keyboard->KbFrame->size(), QSize(520, 100));
    QCOMPARE(m_keyboard->size(), QSize(520, 100));
    QCOMPARE(m_keyboard->KbFrame->pos(), QPoint(0, 0));
    QCOMPARE(m_keyboard->KbFrame->Color(), 0x00808000);
    // Blink mode reaches the caps.
    QVERIFY(m_keyboard->KbFrame->Keys(0)->Blink);

    // A second layout replaces the keys.
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(archive({{"key.cds", testlayout::keyPacket({{"A", 1, 1, 0, 0, 0, 0, 40, 40}})},
                                    {"char.cds", testlayout::charPacket({{"a", 'a', 1}})},
                                    {"readme", testlayout::readme(255)}}));
    QCOMPARE(m_keyboard->KbFrame->KeyCount(), 1);
    QCOMPARE(m_keyboard->size(), QSize(50, 50));
    QVERIFY(!m_keyboard->KbFrame->Keys(0)->Blink);
}

void TestKeyboardWindow::highlightReturnsFingerAndMovesTheHighlight_data() {
    QTest::addColumn<QByteArray>("sequence");
    QTest::addColumn<int>("finger");   // of the last character
    QTest::addColumn<int>("keyValue"); // highlighted at the end, 0 for none
    QTest::newRow("one character") << QByteArray("f") << 3 << 33;
    QTest::newRow("upper case uses the letter's key") << QByteArray("F") << 3 << 33;
    QTest::newRow("next character moves the highlight") << QByteArray("fj") << 6 << 36;
    QTest::newRow("the same character twice") << QByteArray("jj") << 6 << 36;
    QTest::newRow("character without a record") << QByteArray("fq") << int(FingerCode::NoFinger) << 0;
    QTest::newRow("character of a missing key") << QByteArray("jg") << int(FingerCode::NoFinger) << 0;
    QTest::newRow("end of line") << QByteArray(" ", 1).append('\0') << int(FingerCode::NoFinger) << 0;
}

void TestKeyboardWindow::highlightReturnsFingerAndMovesTheHighlight() {
    QFETCH(QByteArray, sequence);
    QFETCH(int, finger);
    QFETCH(int, keyValue);
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(goodArchive());
    int32_t got = -1;
    for (char ch : sequence)
        got = m_keyboard->HighlightChar(ch);
    QCOMPARE(got, finger);
    QVERIFY(got > 9 || FingerCode::isFinger(got));
    TKbFm* frame = m_keyboard->KbFrame;
    for (int i = 0; i < frame->KeyCount(); ++i) {
        ButtonType* key = frame->Keys(i);
        const bool highlighted = key->Tag == keyValue;
        QCOMPARE(key->IsDown(), highlighted);
        QCOMPARE(key->Glyph() == key->DownGlyph, highlighted);
    }
    QCOMPARE(m_keyboard->HighlightedKey.isNull(), keyValue == 0);
}

void TestKeyboardWindow::blinkModeTogglesEveryTick() {
    m_keyboard->LoadLayout(goodArchive());
    QCOMPARE(m_keyboard->HighlightChar('j'), 6);
    ButtonType* key = m_keyboard->HighlightedKey;
    QVERIFY(key);
    QVERIFY(key->IsDown());
    // The phase is shared and never reset: each tick sets the key to it, then flips it.
    for (int i = 0; i < 4; ++i) {
        const bool phase = KeyBlinkPhase;
        QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
        QCOMPARE(key->IsDown(), phase);
        QCOMPARE(KeyBlinkPhase, !phase);
        // Blinking never changes the picture.
        QCOMPARE(key->Glyph(), key->UpGlyph);
    }
}

void TestKeyboardWindow::steadyModeHoldsTheKeyDown() {
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(goodArchive());
    m_keyboard->HighlightChar('f');
    ButtonType* key = m_keyboard->HighlightedKey;
    const bool phase = KeyBlinkPhase;
    QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
    QVERIFY(key->IsDown());
    QCOMPARE(key->Glyph(), key->DownGlyph);
    QCOMPARE(KeyBlinkPhase, phase);
    // Something releases it (another key of its group); the next tick presses it again.
    m_keyboard->KbFrame->Keys(1)->SetDown(true);
    QVERIFY(!key->IsDown());
    QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
    QVERIFY(key->IsDown());
    QCOMPARE(key->Glyph(), key->DownGlyph);
}

void TestKeyboardWindow::timerRunsExactlyWhileShown() {
    m_keyboard->LoadLayout(goodArchive());
    QCOMPARE(m_keyboard->TimerofKB->interval(), 250);
    QVERIFY(!m_keyboard->TimerofKB->isActive());
    m_keyboard->show();
    QVERIFY(m_keyboard->TimerofKB->isActive());
    m_keyboard->hide();
    QVERIFY(!m_keyboard->TimerofKB->isActive());
    m_keyboard->show();
    QVERIFY(m_keyboard->TimerofKB->isActive());
    // The close box hides the window.
    QVERIFY(m_keyboard->close());
    QVERIFY(!m_keyboard->isVisible());
    QVERIFY(!m_keyboard->TimerofKB->isActive());
}

void TestKeyboardWindow::afterLoadNothingIsHighlighted() {
    m_keyboard->LoadLayout(goodArchive());
    m_keyboard->HighlightChar('f');
    m_keyboard->LoadLayout(goodArchive());
    QVERIFY(m_keyboard->HighlightedKey.isNull());
    const bool phase = KeyBlinkPhase;
    QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
    QCOMPARE(KeyBlinkPhase, phase);
    for (int i = 0; i < m_keyboard->KbFrame->KeyCount(); ++i)
        QVERIFY(!m_keyboard->KbFrame->Keys(i)->IsDown());
}

void TestKeyboardWindow::layoutWithoutKeyTableRaisesFromLoad() {
    m_keyboard->LoadLayout(goodArchive());
    m_keyboard->HighlightChar('f');
    const QString broken =
        archive({{"char.cds", testlayout::charPacket(chars())}, {"readme", "bkcolor=1\r\n"}});
    QVERIFY_THROWS_EXCEPTION(QuorvelError, m_keyboard->LoadLayout(broken));
    QCOMPARE(m_keyboard->KbFrame->KeyCount(), 0);
    QVERIFY(m_keyboard->HighlightedKey.isNull());
    // A path that names no archive at all: the same.
    QVERIFY_THROWS_EXCEPTION(QuorvelError, m_keyboard->LoadLayout(m_dir.filePath("missing.zqt")));
}

void TestKeyboardWindow::layoutWithoutCharacterTableRaisesFromHighlight() {
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(
        archive({{"key.cds", testlayout::keyPacket(keys())}, {"readme", "bkcolor=1\r\n"}}));
    // The keys are built from the new key table; only highlighting fails.
    QCOMPARE(m_keyboard->KbFrame->KeyCount(), 4);
    QVERIFY_THROWS_EXCEPTION(QuorvelError, m_keyboard->HighlightChar('j'));

    // The previous key is released before the error, and the timer does not press it again.
    m_keyboard->LoadLayout(goodArchive());
    m_keyboard->HighlightChar('f');
    QPointer<ButtonType> before = m_keyboard->HighlightedKey;
    QVERIFY(before && before->IsDown());
    DataMod->Ctbl->Close();
    QVERIFY_THROWS_EXCEPTION(QuorvelError, m_keyboard->HighlightChar('j'));
    QVERIFY(!before->IsDown());
    QCOMPARE(before->Glyph(), before->UpGlyph);
    QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
    QVERIFY(!before->IsDown());
}

void TestKeyboardWindow::handWindowsFromTheLoadedLayout() {
    m_keyboard->LoadLayout(goodArchive());
    TPalmForm left;
    TPalmForm right;
    left.SetHand(true);
    right.SetHand(false);
    left.LayoutFingers();
    right.LayoutFingers();
    QCOMPARE(left.height(), 84);
    QCOMPARE(left.Fingers(3).Length, 60);
    QCOMPARE(left.Fingers(3).Color, 0xFF0000);
    QCOMPARE(right.Fingers(1).Color, 1);
    QVERIFY(!left.HandEmpty());
    QVERIFY(right.HandEmpty());
}

QTEST_MAIN(TestKeyboardWindow)
#include "tst_keyboardwindow.moc"
