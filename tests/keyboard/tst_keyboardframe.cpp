#include "LayoutTables.h"

#include "keyboard/ColorValue.h"
#include "keyboard/KeyKinds.h"
#include "keyboard/ui/ButtonType.h"
#include "keyboard/ui/TKbFm.h"
#include "platform/Errors.h"

#include <QtTest>
#include <memory>

using testlayout::Char;
using testlayout::Key;

class TestKeyboardFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void capsFollowTheKeyTableOrder();
    void capsTakePlaceHintTagAndFace();
    void groupsAndModifierCaps_data();
    void groupsAndModifierCaps();
    void latestRecordHoldsTheReference();
    void frameSizeFromRightMostAndLowestKey_data();
    void frameSizeFromRightMostAndLowestKey();
    void clearKeysForgetsEveryCap();
    void pressKeyForChar_data();
    void pressKeyForChar();
    void duplicateKeyValuesPressTheFirstByName();
    void pressedLooks_data();
    void pressedLooks();
    void closedKeyTableRaises();
    void oddKeysDoNotCrash();

private:
    std::unique_ptr<TDataMod> m_mod;
    std::unique_ptr<TKbFm> m_frame;
};

namespace {

// A small keyboard: letters, a digit, Backspace, Delete, Shift, AltGr, Caps Lock and two dead keys.
std::vector<Key> smallKeyboard() {
    return {
        {"K10 e", 18, 1, 0, 2, 40, 40, 20, 20, qRgb(240, 240, 240), "e"},
        {"K11 a", 30, 1, 2003, 0, 10, 40, 20, 20, qRgb(200, 220, 240), "a"},
        {"K02 one", 2, 2, 0, 0, 10, 10, 20, 20, qRgb(250, 250, 200), "1"},
        {"K00 grave", 41, 2001, 2005, 0, 70, 10, 20, 20, qRgb(255, 200, 200), "`"},
        {"K14 back", 14, 8, 0, 9, 100, 10, 40, 20, qRgb(180, 180, 180), "Backspace"},
        {"K15 del", 83, 46, 0, 9, 100, 40, 30, 20, qRgb(180, 180, 180), "Delete"},
        {"K20 lshift", 42, 1002, 0, 0, 10, 70, 30, 20, qRgb(160, 160, 160), "Shift"},
        {"K21 rshift", 54, 1003, 0, 9, 90, 70, 40, 20, qRgb(160, 160, 160), "Shift"},
        {"K22 altgr", 56, 1000, 0, 5, 50, 100, 30, 20, qRgb(150, 150, 150), "AltGr"},
        {"K23 caps", 58, 20, 0, 0, 10, 100, 30, 20, qRgb(150, 150, 150), "Caps Lock"},
        {"K24 acute", 13, 2002, 0, 8, 130, 70, 20, 20, qRgb(255, 220, 200), "'"},
        {"K30 odd", 99, 1500, 0, 12, 130, 100, 20, 20, qRgb(100, 100, 100), ""},
    };
}

std::vector<Char> smallCharacters() {
    return {
        {"e", 'e', 18, false, false, 0},
        {"E", 'E', 18, true, false, 0},
        {"e circumflex", 0xEA, 18, false, false, 2003},
        {"a", 'a', 30, false, false, 0},
        {"one", '1', 2, false, false, 0},
        {"bang", '!', 2, true, false, 0},
        {"euro", 0x80, 18, false, true, 0},
        // Two records give 'x': the first in Code order decides.
        {"x on one", 'x', 2, false, false, 0},
        {"x on e", 'x', 18, false, false, 0},
        // A character whose key is missing.
        {"ghost", 'g', 77, false, false, 0},
    };
}

} // namespace

void TestKeyboardFrame::init() {
    m_mod = std::make_unique<TDataMod>();
    DataMod = m_mod.get();
    m_frame = std::make_unique<TKbFm>();
}

void TestKeyboardFrame::cleanup() {
    m_frame.reset();
    DataMod = nullptr;
    m_mod.reset();
}

void TestKeyboardFrame::capsFollowTheKeyTableOrder() {
    testlayout::loadTables(smallKeyboard(), smallCharacters());
    QVERIFY(m_frame->BuildKeys(false));
    const int count = DataMod->MainTbl->RecordCount();
    QCOMPARE(m_frame->KeyCount(), count);
    // Cap i belongs to record i + 1 of the table in Name order.
    QByteArray previous;
    for (int i = 0; i < count; ++i) {
        DataMod->MainTbl->SetRecNo(i + 1);
        const QByteArray name = DataMod->MainTbl->FieldByName("Name").AsString();
        QVERIFY(previous < name);
        previous = name;
        QCOMPARE(m_frame->Keys(i)->Tag, DataMod->MainTbl->FieldByName("KeyValue").AsInteger());
        QCOMPARE(m_frame->IndexOfKey(m_frame->Keys(i)), i);
        QCOMPARE(m_frame->Keys(i)->parentWidget(), m_frame.get());
    }
    QCOMPARE(m_frame->Keys(0)->Hint(), QStringLiteral("`")); // "K00 grave" sorts first
}

void TestKeyboardFrame::capsTakePlaceHintTagAndFace() {
    testlayout::loadTables(smallKeyboard(), smallCharacters());
    DataMod->BkColor = 0x00336699;
    m_frame->BuildKeys(false);
    QCOMPARE(m_frame->Color(), 0x00336699);
    for (const Key& k : smallKeyboard()) {
        ButtonType* cap = nullptr;
        for (int i = 0; i < m_frame->KeyCount(); ++i)
            if (m_frame->Keys(i)->Tag == k.keyValue) cap = m_frame->Keys(i);
        QVERIFY(cap);
        QCOMPARE(cap->geometry(), QRect(k.x, k.y, k.width, k.height));
        QCOMPARE(cap->Hint(), QString::fromLatin1(k.hint));
        QCOMPARE(cap->Color(), valueFromColor(QColor(k.face)));
        QCOMPARE(cap->UpGlyph, testlayout::keyPicture(k));
        QCOMPARE(cap->Glyph(), cap->UpGlyph);
        QVERIFY(cap->AllowAllUp());
        QVERIFY(!cap->IsDown());
        QVERIFY(!cap->Blink);
    }
}

void TestKeyboardFrame::groupsAndModifierCaps_data() {
    QTest::addColumn<int>("keyValue");
    QTest::addColumn<int>("group");
    QTest::newRow("letter") << 18 << 1;
    QTest::newRow("letter with dead key on AltGr") << 30 << 1;
    QTest::newRow("digit") << 2 << 1;
    QTest::newRow("backspace") << 14 << 0;
    QTest::newRow("delete") << 83 << 0;
    QTest::newRow("left shift") << 42 << 1002;
    QTest::newRow("right shift shares the group") << 54 << 1002;
    QTest::newRow("altgr") << 56 << 1000;
    QTest::newRow("caps lock") << 58 << 20;
    QTest::newRow("dead key") << 41 << 2000;
    QTest::newRow("other kind") << 99 << 0;
}

void TestKeyboardFrame::groupsAndModifierCaps() {
    QFETCH(int, keyValue);
    QFETCH(int, group);
    testlayout::loadTables(smallKeyboard(), smallCharacters());
    m_frame->BuildKeys(false);
    ButtonType* cap = nullptr;
    for (int i = 0; i < m_frame->KeyCount(); ++i)
        if (m_frame->Keys(i)->Tag == keyValue) cap = m_frame->Keys(i);
    QVERIFY(cap);
    QCOMPARE(cap->GroupIndex(), group);

    QCOMPARE(m_frame->LeftShiftKey->Tag, 42);
    QCOMPARE(m_frame->RightShiftKey->Tag, 54);
    QCOMPARE(m_frame->AltGrKey->Tag, 56);
    QCOMPARE(m_frame->CapsLockKey->Tag, 58);
    // The grave key gives Umlaut with Shift; the a key gives Circumflex with AltGr.
    QCOMPARE(m_frame->AccentKeys[0]->Tag, 41);
    QCOMPARE(m_frame->AccentKeys[1]->Tag, 13);
    QCOMPARE(m_frame->AccentKeys[2]->Tag, 30);
    QCOMPARE(m_frame->AccentKeys[4]->Tag, 41);
    QVERIFY(m_frame->AccentKeys[3] == nullptr);
    QVERIFY(m_frame->CurrentAccentKey == nullptr);
    QCOMPARE(m_frame->NewKey, m_frame->Keys(m_frame->KeyCount() - 1));
}

void TestKeyboardFrame::latestRecordHoldsTheReference() {
    auto keys = smallKeyboard();
    // A later record (by Name) registers Circumflex again, and another AltGr.
    keys.push_back({"K40 circumflex", 43, 2003, 0, 1, 150, 10, 20, 20});
    keys.push_back({"K41 altgr2", 57, 1000, 0, 5, 150, 40, 20, 20});
    testlayout::loadTables(keys, smallCharacters());
    m_frame->BuildKeys(false);
    QCOMPARE(m_frame->AccentKeys[2]->Tag, 43);
    QCOMPARE(m_frame->AltGrKey->Tag, 57);
}

void TestKeyboardFrame::frameSizeFromRightMostAndLowestKey_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QSize>("size");
    QTest::newRow("key at 500,100") << 500 << 100 << QSize(550, 140);
    QTest::newRow("key inside the others") << 0 << 0 << QSize(160, 130);
    QTest::newRow("negative place") << -100 << -100 << QSize(160, 130);
}

void TestKeyboardFrame::frameSizeFromRightMostAndLowestKey() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QSize, size);
    auto keys = smallKeyboard();
    keys.push_back({"K50 far", 200, 2, 0, 0, x, y, 40, 30});
    testlayout::loadTables(keys, smallCharacters());
    DataMod->BkColor = 0x0000FF;
    m_frame->FitToKeys();
    QCOMPARE(m_frame->size(), size);
    QCOMPARE(m_frame->Color(), 0x0000FF);
    QCOMPARE(m_frame->palette().color(QPalette::Window), QColor(255, 0, 0));
    // The walk leaves the key table at its end, with its controls enabled again.
    QVERIFY(DataMod->MainTbl->Eof());
    QVERIFY(!DataMod->MainTbl->ControlsDisabled());

    // An empty key table: 10 x 10 and no caps.
    testlayout::loadTables({}, {});
    m_frame->ClearKeys();
    m_frame->FitToKeys();
    QVERIFY(m_frame->BuildKeys(true));
    QCOMPARE(m_frame->size(), QSize(10, 10));
    QCOMPARE(m_frame->KeyCount(), 0);
}

void TestKeyboardFrame::clearKeysForgetsEveryCap() {
    testlayout::loadTables(smallKeyboard(), smallCharacters());
    m_frame->BuildKeys(false);
    m_frame->SetAccent(2001); // makes a current accent cap (no label: reported, but set)
    QVERIFY(m_frame->CurrentAccentKey);
    QPointer<ButtonType> first = m_frame->Keys(0);
    m_frame->ClearKeys();
    QVERIFY(first.isNull());
    QCOMPARE(m_frame->KeyCount(), 0);
    QVERIFY(m_frame->findChildren<ButtonType*>().isEmpty());
    QVERIFY(!m_frame->NewKey && !m_frame->LeftShiftKey && !m_frame->RightShiftKey && !m_frame->AltGrKey &&
            !m_frame->CapsLockKey && !m_frame->CurrentAccentKey);
    for (ButtonType* cap : m_frame->AccentKeys)
        QVERIFY(cap == nullptr);
}

void TestKeyboardFrame::pressKeyForChar_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("keyValue"); // 0: no key
    QTest::addColumn<int>("finger");
    QTest::newRow("plain letter") << int('e') << 18 << 2;
    QTest::newRow("upper case presses the letter's own key") << int('E') << 18 << 2;
    QTest::newRow("AltGr character presses the base key") << 0x80 << 18 << 2;
    QTest::newRow("dead-key character presses the base key") << 0xEA << 18 << 2;
    QTest::newRow("shifted digit") << int('!') << 2 << 0;
    QTest::newRow("first record by Code decides") << int('x') << 2 << 0;
    QTest::newRow("no character record") << int('q') << 0 << -1;
    QTest::newRow("character of a missing key") << int('g') << 0 << -1;
    QTest::newRow("code zero") << 0 << 0 << -1;
}

void TestKeyboardFrame::pressKeyForChar() {
    QFETCH(int, code);
    QFETCH(int, keyValue);
    QFETCH(int, finger);
    testlayout::loadTables(smallKeyboard(), smallCharacters());
    m_frame->BuildKeys(false);
    int32_t gotFinger = -1;
    ButtonType* cap = m_frame->PressKeyForChar(char(code), gotFinger);
    QCOMPARE(gotFinger, finger);
    if (keyValue == 0) {
        QVERIFY(cap == nullptr);
        for (int i = 0; i < m_frame->KeyCount(); ++i)
            QVERIFY(!m_frame->Keys(i)->IsDown());
        return;
    }
    QVERIFY(cap);
    QCOMPARE(cap->Tag, keyValue);
    QVERIFY(cap->IsDown());
    QCOMPARE(cap->Glyph(), cap->DownGlyph);
    // Only the base key: no Shift, AltGr or dead key is pressed.
    for (int i = 0; i < m_frame->KeyCount(); ++i)
        if (m_frame->Keys(i) != cap) QVERIFY(!m_frame->Keys(i)->IsDown());
}

void TestKeyboardFrame::duplicateKeyValuesPressTheFirstByName() {
    auto keys = smallKeyboard();
    // Same KeyValue as "K10 e", but a later name and another finger.
    keys.push_back({"K90 e again", 18, 1, 0, 7, 200, 10, 20, 20});
    // ... and one with an earlier name.
    keys.push_back({"K05 e first", 18, 1, 0, 3, 200, 40, 20, 20});
    testlayout::loadTables(keys, smallCharacters());
    m_frame->BuildKeys(false);
    int32_t finger = -1;
    ButtonType* cap = m_frame->PressKeyForChar('e', finger);
    QVERIFY(cap);
    QCOMPARE(finger, 3);
    QCOMPARE(cap->geometry().topLeft(), QPoint(200, 40));
}

void TestKeyboardFrame::pressedLooks_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("blink");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("inverted");
    QTest::newRow("letter, steady") << int('e') << false << true << true;
    QTest::newRow("letter, blink") << int('e') << true << true << false;
}

void TestKeyboardFrame::pressedLooks() {
    QFETCH(int, code);
    QFETCH(bool, blink);
    QFETCH(bool, down);
    QFETCH(bool, inverted);
    testlayout::loadTables(smallKeyboard(), smallCharacters());
    m_frame->BuildKeys(blink);
    int32_t finger = 0;
    ButtonType* cap = m_frame->PressKeyForChar(char(code), finger);
    QVERIFY(cap);
    QCOMPARE(cap->IsDown(), down);
    QCOMPARE(cap->Glyph() == cap->DownGlyph, inverted);
    const QImage& shown = cap->Glyph();
    const QRgb face = cap->UpGlyph.pixel(2, 2);
    QCOMPARE(shown.pixel(2, 2) & 0xFFFFFFu, inverted ? (~face & 0xFFFFFFu) : (face & 0xFFFFFFu));
    QCOMPARE(cap->DownGlyph.pixel(0, cap->DownGlyph.height() - 1) & 0xFFFFFFu, 0x808080u);

    // Backspace and Delete caps show the inverted picture but stay up.
    for (int i = 0; i < m_frame->KeyCount(); ++i) {
        ButtonType* key = m_frame->Keys(i);
        if (key->Tag != 14 && key->Tag != 83) continue;
        key->SetKeyDown(true);
        QVERIFY(!key->IsDown());
        QCOMPARE(key->Glyph() == key->DownGlyph, !blink);
    }
}

void TestKeyboardFrame::closedKeyTableRaises() {
    DataMod->MainTbl->Close();
    QVERIFY_THROWS_EXCEPTION(QuorvelError, m_frame->FitToKeys());
    QVERIFY(!DataMod->MainTbl->ControlsDisabled());
    testlayout::loadTables(smallKeyboard(), smallCharacters());
    m_frame->BuildKeys(false);
    DataMod->Ctbl->Close();
    int32_t finger = 77;
    QVERIFY_THROWS_EXCEPTION(QuorvelError, m_frame->PressKeyForChar('e', finger));
    QCOMPARE(finger, 77);
}

void TestKeyboardFrame::oddKeysDoNotCrash() {
    std::vector<Key> keys = {
        {"A zero", 1, 2, 0, 0, 10, 10, 0, 0},
        {"B negative", 2, 2, 0, 0, 10, 10, -5, -7},
        {"C far", 3, 2, 0, 0, 100000, 100000, 20, 20},
        {"D no picture", 4, 2, 0, 0, 30, 10, 20, 20, qRgb(0, 0, 0), "", false},
    };
    testlayout::loadTables(keys, {{"a", 'a', 4}, {"z", 'z', 1}});
    m_frame->FitToKeys();
    m_frame->BuildKeys(false);
    QCOMPARE(m_frame->KeyCount(), 4);
    QCOMPARE(m_frame->size(), QSize(100030, 100030));
    int32_t finger = -1;
    ButtonType* blank = m_frame->PressKeyForChar('a', finger);
    QVERIFY(blank);
    QVERIFY(blank->Glyph().isNull());
    QCOMPARE(blank->Color(), int32_t(0x8000000F)); // button face
    QVERIFY(m_frame->PressKeyForChar('z', finger));
    m_frame->resize(200, 200);
    QVERIFY(!m_frame->grab().isNull());
}

QTEST_MAIN(TestKeyboardFrame)
#include "tst_keyboardframe.moc"
