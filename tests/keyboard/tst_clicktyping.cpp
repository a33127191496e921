#include "LayoutTables.h"

#include "keyboard/ui/ButtonType.h"
#include "keyboard/ui/TKbFm.h"
#include "platform/CodePage.h"
#include "platform/ScriptedDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>
#include <memory>

using testlayout::Char;
using testlayout::Key;

namespace {

// Key values of the test keyboard.
enum : int {
    E = 18,
    A = 30,
    One = 2,
    Grave = 41, // dead key Grave, Umlaut with Shift
    Acute = 13, // dead key Acute, nothing with Shift
    Back = 14,
    Del = 83,
    LShift = 42,
    RShift = 54,
    AltGr = 56,
    Caps = 58,
    Odd = 99,
};

std::vector<Key> keyboard() {
    return {
        {"K10", E, 1, 0, 2, 40, 40},         {"K11", A, 1, 2003, 0, 10, 40},
        {"K02", One, 2, 0, 0, 10, 10},       {"K00", Grave, 2001, 2005, 0, 70, 10},
        {"K14", Back, 8, 0, 9, 100, 10},     {"K15", Del, 46, 0, 9, 100, 40},
        {"K20", LShift, 1002, 0, 0, 10, 70}, {"K21", RShift, 1003, 0, 9, 90, 70},
        {"K22", AltGr, 1000, 0, 5, 50, 100}, {"K23", Caps, 20, 0, 0, 10, 100},
        {"K24", Acute, 2002, 0, 8, 130, 70}, {"K30", Odd, 1500, 7, 12, 130, 100},
    };
}

std::vector<Char> characters() {
    return {
        {"e", 'e', E},
        {"E", 'E', E, true},
        {"e circumflex", 0xEA, E, false, false, 2003},
        {"e umlaut", 0xEB, E, false, false, 2005},
        {"E umlaut", 0xCB, E, true, false, 2005},
        {"e grave", 0xE8, E, false, false, 2001},
        {"euro", 0x80, E, false, true},
        {"a", 'a', A},
        {"A", 'A', A, true},
        {"one", '1', One},
        {"bang", '!', One, true},
    };
}

} // namespace

class TestClickTyping : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void clicksTypeIntoTheEdit_data();
    void clicksTypeIntoTheEdit();
    void capsLockTwiceIsOffAndUp();
    void shiftCapsFollowTheState();
    void deadKeyCapAndLabel();
    void clickingThePendingDeadKeyAgain();
    void altGrDeadKeyInsteadOfTyping();
    void backspaceAndDeleteReachTheEdit_data();
    void backspaceAndDeleteReachTheEdit();
    void missingCombinationReplacesSelectionWithNothing();
    void otherEditKinds();
    void onKeyClickForEveryClick();
    void missingAccentLabelIsReported();
    void clicksWithoutEditChangeOnlyState();
    void resolveKeyRules_data();
    void resolveKeyRules();

private:
    ButtonType* cap(int keyValue) const;
    void click(int keyValue);

    std::unique_ptr<TDataMod> m_mod;
    std::unique_ptr<QWidget> m_window;
    TKbFm* m_frame = nullptr;
    QLineEdit* m_edit = nullptr;
    QLabel* m_label = nullptr;
};

void TestClickTyping::init() {
    m_mod = std::make_unique<TDataMod>();
    DataMod = m_mod.get();
    m_window = std::make_unique<QWidget>();
    m_frame = new TKbFm(m_window.get());
    m_edit = new QLineEdit(m_window.get());
    m_edit->move(0, 200);
    m_label = new QLabel(m_window.get());
    m_label->move(0, 240);
    m_frame->Edit = m_edit;
    m_frame->AccentLabel = m_label;
    testlayout::loadTables(keyboard(), characters());
    m_frame->FitToKeys();
    m_frame->BuildKeys(false);
    m_window->show();
}

void TestClickTyping::cleanup() {
    m_window.reset();
    DataMod = nullptr;
    m_mod.reset();
}

ButtonType* TestClickTyping::cap(int keyValue) const {
    for (int i = 0; i < m_frame->KeyCount(); ++i)
        if (m_frame->Keys(i)->Tag == keyValue) return m_frame->Keys(i);
    return nullptr;
}

void TestClickTyping::click(int keyValue) {
    ButtonType* key = cap(keyValue);
    QVERIFY(key);
    QTest::mouseClick(key, Qt::LeftButton);
}

void TestClickTyping::clicksTypeIntoTheEdit_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QByteArray>("text"); // code-page bytes
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("altGr");
    QTest::addColumn<bool>("capsLock");
    QTest::addColumn<int>("pending");
    QTest::newRow("letter") << QList<int>{E} << QByteArray("e") << false << false << false << 0;
    QTest::newRow("shift holds for one character")
        << QList<int>{LShift, E, E} << QByteArray("Ee") << false << false << false << 0;
    QTest::newRow("right shift") << QList<int>{RShift, One} << QByteArray("!") << false << false << false
                                 << 0;
    QTest::newRow("shift clicked twice")
        << QList<int>{LShift, LShift, E} << QByteArray("e") << false << false << false << 0;
    QTest::newRow("caps lock shifts letters")
        << QList<int>{Caps, E, A} << QByteArray("EA") << false << false << true << 0;
    QTest::newRow("caps lock leaves digits")
        << QList<int>{Caps, One} << QByteArray("1") << false << false << true << 0;
    QTest::newRow("caps lock and shift")
        << QList<int>{Caps, LShift, E} << QByteArray("e") << false << false << true << 0;
    QTest::newRow("altgr") << QList<int>{AltGr, E, E}
                           << QByteArray("\x80"
                                         "e")
                           << false << false << false << 0;
    QTest::newRow("shift ends altgr")
        << QList<int>{AltGr, LShift, E} << QByteArray("E") << false << false << false << 0;
    QTest::newRow("dead key then letter")
        << QList<int>{Grave, E} << QByteArray("\xE8") << false << false << false << 0;
    QTest::newRow("circumflex on altgr")
        << QList<int>{AltGr, A, E} << QByteArray("\xEA") << false << false << false << 0;
    QTest::newRow("shift on a dead key gives its second")
        << QList<int>{LShift, Grave} << QByteArray("") << true << false << false << 2005;
    QTest::newRow("shifted umlaut") << QList<int>{LShift, Grave, E} << QByteArray("\xCB") << false << false
                                    << false << 0;
    QTest::newRow("dead key ends altgr, not shift")
        << QList<int>{LShift, AltGr, Acute} << QByteArray("") << true << false << false << 2002;
    QTest::newRow("another dead key replaces")
        << QList<int>{Grave, Acute} << QByteArray("") << false << false << false << 2002;
    QTest::newRow("keys that do nothing")
        << QList<int>{Odd, E} << QByteArray("e") << false << false << false << 0;
}

void TestClickTyping::clicksTypeIntoTheEdit() {
    QFETCH(QList<int>, keys);
    QFETCH(QByteArray, text);
    QFETCH(bool, shift);
    QFETCH(bool, altGr);
    QFETCH(bool, capsLock);
    QFETCH(int, pending);
    for (int key : keys)
        click(key);
    QCOMPARE(m_edit->text(), CodePage::toUnicode(text));
    QCOMPARE(m_frame->ShiftDown, shift);
    QCOMPARE(m_frame->AltGrDown, altGr);
    QCOMPARE(m_frame->CapsLockOn, capsLock);
    QCOMPARE(m_frame->PendingAccent, pending);
    // The caps of the modifiers show their state.
    QCOMPARE(cap(AltGr)->IsDown(), altGr);
    QCOMPARE(cap(Caps)->IsDown(), capsLock);
    QCOMPARE(cap(LShift)->IsDown() || cap(RShift)->IsDown(), shift);
    // A typed character's own cap is released again.
    QVERIFY(!cap(E)->IsDown());
    QVERIFY(!cap(One)->IsDown());
}

void TestClickTyping::capsLockTwiceIsOffAndUp() {
    click(Caps);
    QVERIFY(m_frame->CapsLockOn);
    QVERIFY(cap(Caps)->IsDown());
    QCOMPARE(cap(Caps)->Glyph(), cap(Caps)->DownGlyph);
    click(Caps);
    QVERIFY(!m_frame->CapsLockOn);
    QVERIFY(!cap(Caps)->IsDown());
    QCOMPARE(cap(Caps)->Glyph(), cap(Caps)->UpGlyph);
}

void TestClickTyping::shiftCapsFollowTheState() {
    click(RShift);
    QVERIFY(cap(RShift)->IsDown());
    QVERIFY(!cap(LShift)->IsDown());
    click(E);
    // Both Shift caps exist, so ending Shift releases both.
    QVERIFY(!cap(RShift)->IsDown());
    QCOMPARE(cap(RShift)->Glyph(), cap(RShift)->UpGlyph);
}

void TestClickTyping::deadKeyCapAndLabel() {
    click(Grave);
    QCOMPARE(m_frame->PendingAccent, 2001);
    QCOMPARE(m_label->text(), QStringLiteral("Grave"));
    QCOMPARE(m_frame->CurrentAccentKey, cap(Grave));
    QVERIFY(cap(Grave)->IsDown());
    click(Acute);
    QCOMPARE(m_label->text(), QStringLiteral("Acute"));
    // The dead keys share one group: only the latest shows down.
    QVERIFY(cap(Acute)->IsDown());
    QVERIFY(!cap(Grave)->IsDown());
    click(E); // no e with Acute in the table: nothing typed, the dead key is used up
    QCOMPARE(m_edit->text(), QString());
    QCOMPARE(m_frame->PendingAccent, 0);
    QVERIFY(!cap(Acute)->IsDown());
    QCOMPARE(m_label->text(), QString());
    QCOMPARE(m_frame->CurrentAccentKey, cap(Acute));
}

void TestClickTyping::clickingThePendingDeadKeyAgain() {
    click(Acute);
    click(Acute);
    QCOMPARE(m_frame->PendingAccent, 2002);
    QVERIFY(cap(Acute)->IsDown());
    QCOMPARE(m_label->text(), QStringLiteral("Acute"));
}

void TestClickTyping::altGrDeadKeyInsteadOfTyping() {
    click(AltGr);
    click(A);
    QCOMPARE(m_edit->text(), QString());
    QCOMPARE(m_frame->PendingAccent, 2003);
    QVERIFY(!m_frame->AltGrDown);
    QVERIFY(!cap(AltGr)->IsDown());
    QCOMPARE(m_label->text(), QStringLiteral("Circumflex"));
    // The a key is the Circumflex cap as well, so it shows down.
    QVERIFY(cap(A)->IsDown());
    click(E);
    QCOMPARE(m_edit->text(), CodePage::toUnicode(QByteArray("\xEA")));
    QCOMPARE(m_frame->PendingAccent, 0);
    QVERIFY(!cap(A)->IsDown());
}

void TestClickTyping::backspaceAndDeleteReachTheEdit_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("result");
    QTest::newRow("backspace at the end") << int(Back) << 3 << QStringLiteral("ab");
    QTest::newRow("backspace in the middle") << int(Back) << 1 << QStringLiteral("bc");
    QTest::newRow("backspace at the start") << int(Back) << 0 << QStringLiteral("abc");
    QTest::newRow("delete at the start") << int(Del) << 0 << QStringLiteral("bc");
    QTest::newRow("delete at the end") << int(Del) << 3 << QStringLiteral("abc");
}

void TestClickTyping::backspaceAndDeleteReachTheEdit() {
    QFETCH(int, key);
    QFETCH(int, caret);
    QFETCH(QString, result);
    m_edit->setText(QStringLiteral("abc"));
    m_edit->setCursorPosition(caret);
    click(key);
    QCOMPARE(m_edit->text(), result);
    // The caps stay up.
    QVERIFY(!cap(key)->IsDown());
}

void TestClickTyping::missingCombinationReplacesSelectionWithNothing() {
    m_edit->setText(QStringLiteral("xyz"));
    m_edit->setSelection(1, 1);
    click(LShift);
    click(AltGr);
    click(Grave); // Umlaut pending (Shift on), AltGr ended
    click(AltGr);
    click(One); // no '1' with Shift, AltGr and Umlaut
    QCOMPARE(m_edit->text(), QStringLiteral("xz"));
    QVERIFY(!m_frame->ShiftDown);
    QVERIFY(!m_frame->AltGrDown);
    QCOMPARE(m_frame->PendingAccent, 0);
}

void TestClickTyping::otherEditKinds() {
    QTextEdit rich;
    rich.setPlainText(QStringLiteral("ab"));
    QTextCursor cursor = rich.textCursor();
    cursor.setPosition(1);
    rich.setTextCursor(cursor);
    m_frame->Edit = &rich;
    click(E);
    click(Back);
    click(Back);
    click(One);
    QCOMPARE(rich.toPlainText(), QStringLiteral("1b"));

    QPlainTextEdit plain;
    m_frame->Edit = &plain;
    click(LShift);
    click(One);
    click(E);
    QCOMPARE(plain.toPlainText(), QStringLiteral("!e"));
}

void TestClickTyping::onKeyClickForEveryClick() {
    QList<QObject*> senders;
    m_frame->OnKeyClick = [&senders](QObject* sender) { senders.append(sender); };
    const QList<int> keys = {Odd, E, Caps, Back, Grave, Del, AltGr, LShift};
    for (int key : keys)
        click(key);
    QCOMPARE(senders.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(senders.at(i), static_cast<QObject*>(cap(keys.at(i))));
}

void TestClickTyping::missingAccentLabelIsReported() {
    ScriptedDialogsGuard dialogs;
    m_frame->AccentLabel = nullptr;
    click(Grave);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::MessageBox),
             QStringList{QStringLiteral("Some bugs in the config of the template.")});
    // The dead key is pending and its cap down all the same.
    QCOMPARE(m_frame->PendingAccent, 2001);
    QVERIFY(cap(Grave)->IsDown());
    click(E);
    QCOMPARE(m_edit->text(), CodePage::toUnicode(QByteArray("\xE8")));
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::MessageBox).size(), 2);
    QVERIFY(!cap(Grave)->IsDown());
    // A layout without the cap of a dead key has nothing to show: no report.
    dialogs->clear();
    m_frame->SetAccent(2004);
    QCOMPARE(m_frame->PendingAccent, 2004);
    QVERIFY(dialogs->shown().empty());
}

void TestClickTyping::clicksWithoutEditChangeOnlyState() {
    m_frame->Edit = nullptr;
    click(LShift);
    click(E);
    click(Back);
    click(Del);
    QVERIFY(!m_frame->ShiftDown);
    QCOMPARE(m_edit->text(), QString());
}

void TestClickTyping::resolveKeyRules_data() {
    QTest::addColumn<int>("keyType");
    QTest::addColumn<int>("keyType2");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("altGr");
    QTest::addColumn<int>("kind");
    QTest::newRow("plain kind") << 3 << 0 << false << false << 3;
    QTest::newRow("special kind") << 1000 << 0 << true << true << 1000;
    QTest::newRow("character key, dead key on AltGr, AltGr up") << 2 << 2004 << false << false << 2;
    QTest::newRow("character key, dead key on AltGr, AltGr down") << 2 << 2004 << false << true << 2004;
    QTest::newRow("dead key with second, Shift down") << 2006 << 2007 << true << false << 2007;
    QTest::newRow("dead key with second, Shift up") << 2006 << 2007 << false << true << 2006;
    QTest::newRow("dead key without second, Shift down") << 2006 << 0 << true << false << 2006;
    QTest::newRow("dead key with an odd second") << 2006 << 9 << true << false << 2006;
    QTest::newRow("character key with odd second") << 2 << 5 << false << false << 2;
    QTest::newRow("special kind with second") << 1000 << 2001 << true << true << 1000;
    QTest::newRow("negative kind") << -4 << 0 << false << false << -4;
}

void TestClickTyping::resolveKeyRules() {
    QFETCH(int, keyType);
    QFETCH(int, keyType2);
    QFETCH(bool, shift);
    QFETCH(bool, altGr);
    QFETCH(int, kind);
    testlayout::loadTables({{"K", 5, keyType, keyType2}}, {{"q", 'q', 5}, {"Q", 'Q', 5, true}});
    m_frame->ClearKeys();
    m_frame->BuildKeys(false);
    m_frame->ShiftDown = shift;
    m_frame->AltGrDown = altGr;
    int32_t gotKind = -99;
    QByteArray text("stale");
    m_frame->ResolveKey(0, gotKind, text);
    QCOMPARE(gotKind, kind);
    // Character kinds look up their character; others give none.
    const QByteArray expected = gotKind < 8 && !altGr ? QByteArray(shift ? "Q" : "q") : QByteArray();
    QCOMPARE(text, expected);
}

QTEST_MAIN(TestClickTyping)
#include "tst_clicktyping.moc"
