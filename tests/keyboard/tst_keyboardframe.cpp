#include "LayoutTables.h"

#include "keyboard/ColorValue.h"
#include "keyboard/KeyKinds.h"
#include "keyboard/ui/ButtonType.h"
#include "keyboard/ui/TKbFm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "platform/Errors.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace testlayout;

class TestKeyboardFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void capsFollowTheKeyTable();
    void groupsAndModifierCaps();
    void frameSizeFromRightMostAndLowestKey_data();
    void frameSizeFromRightMostAndLowestKey();
    void highlight_data();
    void highlight();
    void duplicateKeyValuesPressTheFirstByName();
    void blinkTimer();
    void timerRunsExactlyWhileShown();
    void damagedKeyTableGivesAnEmptyKeyboard();
    void oddKeysDoNotCrash();

private:
    ButtonType* cap(int keyValue) const;
    QString archive(const std::map<QByteArray, QByteArray>& members);
    QString goodArchive(const std::vector<Key>& keys = smallKeyboard());

    QTemporaryDir m_dir;
    int m_archives = 0;
    std::unique_ptr<TDataMod> m_mod;
    std::unique_ptr<TVKeyboard> m_keyboard;
    TKbFm* m_frame = nullptr;
};

void TestKeyboardFrame::init() {
    m_mod = std::make_unique<TDataMod>();
    DataMod = m_mod.get();
    m_keyboard = std::make_unique<TVKeyboard>();
    m_frame = m_keyboard->KbFrame;
}

void TestKeyboardFrame::cleanup() {
    m_keyboard.reset();
    DataMod = nullptr;
    m_mod.reset();
}

ButtonType* TestKeyboardFrame::cap(int keyValue) const {
    for (int i = 0; i < m_frame->KeyCount(); ++i)
        if (m_frame->Keys(i)->Tag == keyValue) return m_frame->Keys(i);
    return nullptr;
}

QString TestKeyboardFrame::archive(const std::map<QByteArray, QByteArray>& members) {
    const QString path = m_dir.filePath(QStringLiteral("layout%1.zqt").arg(++m_archives));
    if (!writeArchive(path, members)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TestKeyboardFrame::goodArchive(const std::vector<Key>& keys) {
    return archive({{"key.cds", keyPacket(keys)},
                    {"char.cds", charPacket(smallCharacters())},
                    {"readme", readme(0x00336699)}});
}

void TestKeyboardFrame::capsFollowTheKeyTable() {
    QVERIFY(m_keyboard->Blink);
    m_keyboard->LoadLayout(goodArchive());
    TClientDataSet* keys = DataMod->MainTbl;
    const std::vector<Key> written = smallKeyboard();
    QCOMPARE(m_frame->KeyCount(), keys->RecordCount());
    QCOMPARE(m_frame->Color(), 0x00336699);
    // Cap i belongs to record i + 1 of the table in Name order, not in packet order.
    QCOMPARE(m_frame->Keys(0)->Tag, int(Grave));
    for (int i = 0; i < keys->RecordCount(); ++i) {
        keys->SetRecNo(i + 1);
        ButtonType* key = m_frame->Keys(i);
        const Key* row = nullptr;
        for (const Key& k : written)
            if (k.name == keys->FieldByName("Name").AsString()) row = &k;
        QVERIFY(row);
        QCOMPARE(key->Tag, row->keyValue);
        QCOMPARE(key->geometry(), QRect(row->x, row->y, row->width, row->height));
        QCOMPARE(key->Hint(), QString::fromLatin1(row->name));
        QCOMPARE(key->UpGlyph, keyPicture(*row));
        // The face takes the picture's bottom-left colour.
        QCOMPARE(key->Color(), valueFromColor(QColor(row->face)));
        QVERIFY(key->Blink && key->AllowAllUp() && !key->IsDown());
    }
}

void TestKeyboardFrame::groupsAndModifierCaps() {
    auto keys = smallKeyboard();
    // A later record (by Name) registers AltGr again.
    keys.push_back({"K41 altgr2", 57, 1000, 0, 5, 150, 40});
    loadTables(keys, smallCharacters());
    m_frame->BuildKeys(false);
    const std::map<int, int> groups = {
        {E, 1},     {A, 1},     {One, 1},      {Back, 0},     {Del, 0}, {LShift, 1002}, {RShift, 1002},
        {57, 1000}, {Caps, 20}, {Grave, 2000}, {Acute, 2000}, {Odd, 0}, {AltGr, 1000}};
    for (const auto& [keyValue, group] : groups)
        QCOMPARE(cap(keyValue)->GroupIndex(), group);
    QCOMPARE(m_frame->LeftShiftKey, cap(LShift));
    QCOMPARE(m_frame->RightShiftKey, cap(RShift));
    QCOMPARE(m_frame->AltGrKey, cap(57));
    QCOMPARE(m_frame->CapsLockKey, cap(Caps));
    // Grave is also the Umlaut cap; the a key is also the Circumflex cap.
    const std::array<ButtonType*, 8> accents = {cap(Grave), cap(Acute), cap(A), nullptr, cap(Grave)};
    QCOMPARE(m_frame->AccentKeys, accents);
    QCOMPARE(m_frame->NewKey, m_frame->Keys(m_frame->KeyCount() - 1));

    QPointer<ButtonType> first = m_frame->Keys(0);
    m_frame->ClearKeys();
    QVERIFY(first.isNull() && m_frame->KeyCount() == 0);
    QVERIFY(!m_frame->NewKey && !m_frame->LeftShiftKey && !m_frame->RightShiftKey && !m_frame->AltGrKey &&
            !m_frame->CapsLockKey && !m_frame->CurrentAccentKey);
    QCOMPARE(m_frame->AccentKeys, (std::array<ButtonType*, 8>{}));
}

void TestKeyboardFrame::frameSizeFromRightMostAndLowestKey_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QSize>("size");
    QTest::newRow("key at 500,100") << 500 << 100 << QSize(550, 140);
    QTest::newRow("key inside the others") << -100 << 0 << QSize(160, 130);
    QTest::newRow("key far outside: the window stays on the screen")
        << 100000 << 100000 << QSize(100050, 100040);
    QTest::newRow("key edge beyond 32 bits") << INT32_MAX - 5 << 0 << QSize(QWIDGETSIZE_MAX, 130);
}

void TestKeyboardFrame::frameSizeFromRightMostAndLowestKey() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QSize, size);
    auto keys = smallKeyboard();
    keys.push_back({"K50 far", 200, 2, 0, 0, x, y, 40, 30});
    m_keyboard->LoadLayout(goodArchive(keys));
    QCOMPARE(m_frame->size(), size);
    QCOMPARE(m_keyboard->size(), size.boundedTo(m_keyboard->screen()->availableGeometry().size()));
    QCOMPARE(m_frame->pos(), QPoint(0, 0));
    // The window can be painted: its corner shows the keyboard's background.
    QCOMPARE(m_keyboard->grab(QRect(0, 0, 5, 5)).toImage().pixelColor(2, 2), colorFromValue(0x00336699));
    QCOMPARE(m_frame->palette().color(QPalette::Window), colorFromValue(0x00336699));
    QVERIFY(DataMod->MainTbl->Eof() && !DataMod->MainTbl->ControlsDisabled());
    // An empty key table: 10 x 10 and no caps.
    m_keyboard->LoadLayout(goodArchive({}));
    QCOMPARE(m_keyboard->size(), QSize(10, 10));
    QCOMPARE(m_frame->KeyCount(), 0);
}

void TestKeyboardFrame::highlight_data() {
    QTest::addColumn<QByteArray>("sequence");
    QTest::addColumn<int>("finger");   // of the last character
    QTest::addColumn<int>("keyValue"); // highlighted at the end, 0 for none
    QTest::newRow("letter") << QByteArray("e") << 2 << int(E);
    QTest::newRow("upper case: the letter's own key, no Shift") << QByteArray("E") << 2 << int(E);
    QTest::newRow("AltGr character: the base key") << QByteArray("\x80") << 2 << int(E);
    QTest::newRow("dead-key character: the base key") << QByteArray("\xEA") << 2 << int(E);
    QTest::newRow("first record by Code decides") << QByteArray("x") << 0 << int(One);
    QTest::newRow("the next character moves the highlight") << QByteArray("ea") << 0 << int(A);
    QTest::newRow("the same character twice") << QByteArray("aa") << 0 << int(A);
    QTest::newRow("Backspace: inverted but up") << QByteArray("\x08") << 9 << int(Back);
    QTest::newRow("Backspace released by the next character") << QByteArray("\x08"
                                                                            "a")
                                                              << 0 << int(A);
    QTest::newRow("no character record") << QByteArray("eq") << int(FingerCode::NoFinger) << 0;
    QTest::newRow("character of a missing key") << QByteArray("eg") << int(FingerCode::NoFinger) << 0;
    QTest::newRow("end of line") << QByteArray("e").append('\0') << int(FingerCode::NoFinger) << 0;
}

void TestKeyboardFrame::highlight() {
    QFETCH(QByteArray, sequence);
    QFETCH(int, finger);
    QFETCH(int, keyValue);
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(goodArchive());
    int32_t got = -1;
    for (char ch : sequence)
        got = m_keyboard->HighlightChar(ch);
    QCOMPARE(got, finger);
    QCOMPARE(m_keyboard->HighlightedKey.data(), cap(keyValue));
    // Only the highlighted key shows its inverted picture, and is down unless it has no group.
    for (int i = 0; i < m_frame->KeyCount(); ++i) {
        ButtonType* key = m_frame->Keys(i);
        QCOMPARE(key->IsDown(), key->Tag == keyValue && key->GroupIndex() != 0);
        QCOMPARE(key->Glyph() == key->DownGlyph, key->Tag == keyValue);
    }
}

void TestKeyboardFrame::duplicateKeyValuesPressTheFirstByName() {
    auto keys = smallKeyboard();
    keys.push_back({"K90 e again", E, 1, 0, 7, 200, 10});
    keys.push_back({"K05 e first", E, 1, 0, 3, 200, 40});
    loadTables(keys, smallCharacters());
    m_frame->BuildKeys(false);
    int32_t finger = -1;
    ButtonType* key = m_frame->PressKeyForChar('e', finger);
    QCOMPARE(finger, 3);
    QCOMPARE(key->geometry().topLeft(), QPoint(200, 40));
    // A character without key leaves Finger alone.
    QVERIFY(!m_frame->PressKeyForChar('q', finger));
    QCOMPARE(finger, 3);
}

void TestKeyboardFrame::blinkTimer() {
    m_keyboard->LoadLayout(goodArchive());
    const bool startPhase = KeyBlinkPhase;
    QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer")); // nothing highlighted
    QCOMPARE(KeyBlinkPhase, startPhase);
    QCOMPARE(m_keyboard->HighlightChar('a'), 0);
    ButtonType* key = m_keyboard->HighlightedKey;
    // Blink mode: each tick sets the key to the shared phase and flips it; the picture stays.
    for (int i = 0; i < 3; ++i) {
        const bool phase = KeyBlinkPhase;
        QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
        QCOMPARE(key->IsDown(), phase);
        QCOMPARE(KeyBlinkPhase, !phase);
        QCOMPARE(key->Glyph(), key->UpGlyph);
    }
    // Steady mode: the key is held down with its inverted picture, even after something released it.
    m_keyboard->Blink = false;
    m_keyboard->LoadLayout(goodArchive());
    QVERIFY(m_keyboard->HighlightedKey.isNull());
    m_keyboard->HighlightChar('a');
    key = m_keyboard->HighlightedKey;
    cap(E)->SetDown(true); // same group
    QVERIFY(!key->IsDown());
    const bool phase = KeyBlinkPhase;
    QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
    QVERIFY(key->IsDown());
    QCOMPARE(key->Glyph(), key->DownGlyph);
    QCOMPARE(KeyBlinkPhase, phase);
}

void TestKeyboardFrame::timerRunsExactlyWhileShown() {
    QVERIFY(m_keyboard->windowFlags() & Qt::Tool);
    QCOMPARE(m_keyboard->TimerofKB->interval(), 250);
    QVERIFY(!m_keyboard->TimerofKB->isActive());
    m_keyboard->show();
    QVERIFY(m_keyboard->TimerofKB->isActive());
    m_keyboard->hide();
    QVERIFY(!m_keyboard->TimerofKB->isActive());
    m_keyboard->show();
    QVERIFY(m_keyboard->close()); // the close box hides it
    QVERIFY(!m_keyboard->isVisible() && !m_keyboard->TimerofKB->isActive());
}

void TestKeyboardFrame::damagedKeyTableGivesAnEmptyKeyboard() {
    // Without "key.cds" (or with none of the archive) the load fails and the keyboard is empty,
    // with the keys cleared: nothing raises, so the caller can go on without a keyboard.
    QVERIFY(m_keyboard->LoadLayout(goodArchive()));
    m_keyboard->HighlightChar('e');
    QVERIFY(!m_keyboard->LoadLayout(archive({{"char.cds", charPacket({})}, {"readme", "bkcolor=1"}})));
    QCOMPARE(m_frame->KeyCount(), 0);
    QCOMPARE(m_keyboard->size(), QSize(10, 10));
    QVERIFY(m_keyboard->HighlightedKey.isNull());
    QVERIFY(!DataMod->MainTbl->ControlsDisabled());
    QVERIFY(!m_keyboard->LoadLayout(m_dir.filePath("missing.zqt")));
    QCOMPARE(m_frame->KeyCount(), 0);

    // A key table that is closed all the same holds no keys for the frame either.
    QVERIFY(m_keyboard->LoadLayout(goodArchive()));
    DataMod->MainTbl->Close();
    m_frame->ClearKeys();
    m_frame->FitToKeys();
    QVERIFY(m_frame->BuildKeys(false));
    QCOMPARE(m_frame->KeyCount(), 0);
    QCOMPARE(m_frame->size(), QSize(10, 10));

    // Without "char.cds" the keys are built, and no character has a key.
    m_keyboard->Blink = false;
    QVERIFY(
        !m_keyboard->LoadLayout(archive({{"key.cds", keyPacket(smallKeyboard())}, {"readme", "bkcolor=1"}})));
    QCOMPARE(m_frame->KeyCount(), int(smallKeyboard().size()));
    QVERIFY(m_keyboard->HighlightChar('a') > 9);
    QVERIFY(m_keyboard->HighlightedKey.isNull());

    // A character table closed all the same raises at the highlight, after releasing the old key.
    QVERIFY(m_keyboard->LoadLayout(goodArchive()));
    m_keyboard->HighlightChar('e');
    QPointer<ButtonType> before = m_keyboard->HighlightedKey;
    DataMod->Ctbl->Close();
    QVERIFY_THROWS_EXCEPTION(QuorvelError, m_keyboard->HighlightChar('a'));
    QVERIFY(!before->IsDown());
    QVERIFY(QMetaObject::invokeMethod(m_keyboard.get(), "TimerofKBTimer"));
    QVERIFY(!before->IsDown());
}

void TestKeyboardFrame::oddKeysDoNotCrash() {
    std::vector<Key> keys = {{"A zero", 1, 2, 0, 0, 10, 10, 0, 0},
                             {"B negative", 2, 2, 0, 0, 10, 10, -5, -7},
                             {"C far", 3, 2, 0, 0, 100000, 100000},
                             {"D no picture", 4, 2, 0, 0, 30, 10, 20, 20, qRgb(0, 0, 0), false}};
    loadTables(keys, {{"a", 'a', 4}, {"z", 'z', 1}, {"y", 'y', 2}});
    m_frame->FitToKeys();
    m_frame->BuildKeys(false);
    QCOMPARE(m_frame->size(), QSize(100030, 100030));
    int32_t finger = -1;
    ButtonType* blank = m_frame->PressKeyForChar('a', finger);
    QVERIFY(blank->Glyph().isNull());
    QCOMPARE(blank->Color(), int32_t(0x8000000F)); // button face
    QVERIFY(m_frame->PressKeyForChar('z', finger) && m_frame->PressKeyForChar('y', finger));
    m_frame->resize(200, 200);
    QVERIFY(!m_frame->grab().isNull());
}

QTEST_MAIN(TestKeyboardFrame)
#include "tst_keyboardframe.moc"
