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

using namespace testlayout;

class TestClickTyping : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void clicks_data();
    void clicks();
    void backspaceAndDelete_data();
    void backspaceAndDelete();
    void missingCombinationReplacesSelectionWithNothing();
    void otherEditsAndNoEdit();
    void onKeyClickForEveryClick();
    void missingAccentLabelIsReported();
    void singleShiftCapGoesUpWithShift();
    void resolveKey_data();
    void resolveKey();

private:
    ButtonType* cap(int keyValue) const;
    void click(const QList<int>& keys);

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
    m_label = new QLabel(m_window.get());
    m_edit->move(0, 200);
    m_frame->Edit = m_edit;
    m_frame->AccentLabel = m_label;
    loadTables(smallKeyboard(), smallCharacters());
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

// Real mouse clicks on the caps, in order.
void TestClickTyping::click(const QList<int>& keys) {
    for (int key : keys)
        QTest::mouseClick(cap(key), Qt::LeftButton);
}

void TestClickTyping::clicks_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QByteArray>("text"); // code-page bytes
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("altGr");
    QTest::addColumn<bool>("capsLock");
    QTest::addColumn<int>("pending");
    QTest::addColumn<QString>("label");
    QTest::newRow("letter") << QList<int>{E} << QByteArray("e") << false << false << false << 0 << "";
    QTest::newRow("shift holds for one character")
        << QList<int>{LShift, E, E} << QByteArray("Ee") << false << false << false << 0 << "";
    QTest::newRow("caps lock shifts letters only")
        << QList<int>{Caps, E, One} << QByteArray("E1") << false << false << true << 0 << "";
    QTest::newRow("caps lock and shift")
        << QList<int>{Caps, LShift, E} << QByteArray("e") << false << false << true << 0 << "";
    QTest::newRow("caps lock twice") << QList<int>{Caps, Caps, E} << QByteArray("e") << false << false
                                     << false << 0 << "";
    QTest::newRow("altgr for one character") << QList<int>{AltGr, E, E}
                                             << QByteArray("\x80"
                                                           "e")
                                             << false << false << false << 0 << "";
    QTest::newRow("shift ends altgr")
        << QList<int>{AltGr, RShift} << QByteArray() << true << false << false << 0 << "";
    QTest::newRow("dead key, then letter")
        << QList<int>{Grave, E} << QByteArray("\xE8") << false << false << false << 0 << "";
    QTest::newRow("pending dead key clicked again")
        << QList<int>{Acute, Acute} << QByteArray() << false << false << false << 2002 << "Acute";
    QTest::newRow("circumflex on altgr instead of a")
        << QList<int>{AltGr, A} << QByteArray() << false << false << false << 2003 << "Circumflex";
    QTest::newRow("circumflex on altgr, then e")
        << QList<int>{AltGr, A, E} << QByteArray("\xEA") << false << false << false << 0 << "";
    QTest::newRow("shift on a dead key: its second, shift stays")
        << QList<int>{LShift, Grave} << QByteArray() << true << false << false << 2005 << "Umlaut";
    QTest::newRow("shifted umlaut") << QList<int>{LShift, Grave, E} << QByteArray("\xCB") << false << false
                                    << false << 0 << "";
    QTest::newRow("dead key ends altgr, not shift")
        << QList<int>{LShift, AltGr, Acute} << QByteArray() << true << false << false << 2002 << "Acute";
    QTest::newRow("no e with acute: nothing typed, dead key used")
        << QList<int>{Acute, E} << QByteArray() << false << false << false << 0 << "";
    QTest::newRow("keys that do nothing")
        << QList<int>{Odd, E} << QByteArray("e") << false << false << false << 0 << "";
}

void TestClickTyping::clicks() {
    QFETCH(QList<int>, keys);
    QFETCH(QByteArray, text);
    QFETCH(bool, shift);
    QFETCH(bool, altGr);
    QFETCH(bool, capsLock);
    QFETCH(int, pending);
    QFETCH(QString, label);
    click(keys);
    QCOMPARE(m_edit->text(), CodePage::toUnicode(text));
    QCOMPARE(m_frame->ShiftDown, shift);
    QCOMPARE(m_frame->AltGrDown, altGr);
    QCOMPARE(m_frame->CapsLockOn, capsLock);
    QCOMPARE(m_frame->PendingAccent, pending);
    QCOMPARE(m_label->text(), label);
    // The caps show the state; a typed character's cap is up again.
    QCOMPARE(cap(AltGr)->IsDown(), altGr);
    QCOMPARE(cap(Caps)->IsDown(), capsLock);
    QCOMPARE(cap(Caps)->Glyph() == cap(Caps)->DownGlyph, capsLock);
    QCOMPARE(cap(LShift)->IsDown() || cap(RShift)->IsDown(), shift);
    QCOMPARE(cap(LShift)->Glyph() == cap(LShift)->DownGlyph || cap(RShift)->Glyph() == cap(RShift)->DownGlyph,
             shift);
    ButtonType* accentCap = pending ? m_frame->AccentKeys[size_t(pending - 2001)] : nullptr;
    for (int key : {E, One, Grave, Acute, A})
        QCOMPARE(cap(key)->IsDown(), cap(key) == accentCap);
}

void TestClickTyping::backspaceAndDelete_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("result");
    QTest::newRow("backspace at the end") << int(Back) << 3 << "ab";
    QTest::newRow("backspace in the middle") << int(Back) << 1 << "bc";
    QTest::newRow("backspace at the start") << int(Back) << 0 << "abc";
    QTest::newRow("delete at the start") << int(Del) << 0 << "bc";
    QTest::newRow("delete at the end") << int(Del) << 3 << "abc";
}

void TestClickTyping::backspaceAndDelete() {
    QFETCH(int, key);
    QFETCH(int, caret);
    QFETCH(QString, result);
    m_edit->setText(QStringLiteral("abc"));
    m_edit->setCursorPosition(caret);
    click({key});
    QCOMPARE(m_edit->text(), result);
    QVERIFY(!cap(key)->IsDown());
}

void TestClickTyping::missingCombinationReplacesSelectionWithNothing() {
    m_edit->setText(QStringLiteral("xyz"));
    m_edit->setSelection(1, 1);
    click({LShift, Grave, AltGr, One}); // no '1' with Shift, AltGr and Umlaut
    QCOMPARE(m_edit->text(), QStringLiteral("xz"));
    QVERIFY(!m_frame->ShiftDown && !m_frame->AltGrDown && m_frame->PendingAccent == 0);
}

void TestClickTyping::otherEditsAndNoEdit() {
    QTextEdit rich;
    rich.setPlainText(QStringLiteral("ab"));
    QTextCursor cursor = rich.textCursor();
    cursor.setPosition(1);
    rich.setTextCursor(cursor);
    m_frame->Edit = &rich;
    click({E, Back, Back, One});
    QCOMPARE(rich.toPlainText(), QStringLiteral("1b"));
    QPlainTextEdit plain;
    m_frame->Edit = &plain;
    click({LShift, One, E});
    QCOMPARE(plain.toPlainText(), QStringLiteral("!e"));
    // Without an edit the clicks only change the state.
    m_frame->Edit = nullptr;
    click({LShift, E, Back, Del, Caps});
    QVERIFY(!m_frame->ShiftDown && m_frame->CapsLockOn);
    QCOMPARE(m_edit->text(), QString());
}

void TestClickTyping::onKeyClickForEveryClick() {
    QList<QObject*> senders;
    m_frame->OnKeyClick = [&senders](QObject* sender) { senders.append(sender); };
    const QList<int> keys = {Odd, E, Caps, Back, Grave, Del, AltGr, LShift};
    click(keys);
    QCOMPARE(senders.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(senders.at(i), static_cast<QObject*>(cap(keys.at(i))));
}

void TestClickTyping::missingAccentLabelIsReported() {
    ScriptedDialogsGuard dialogs;
    m_frame->AccentLabel = nullptr;
    click({Grave});
    const QStringList report = {QStringLiteral("Some bugs in the config of the template.")};
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::MessageBox), report);
    // The dead key is pending and its cap down all the same; the letter ends it.
    QCOMPARE(m_frame->PendingAccent, 2001);
    QVERIFY(cap(Grave)->IsDown());
    click({E});
    QCOMPARE(m_edit->text(), CodePage::toUnicode(QByteArray("\xE8")));
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::MessageBox), report + report);
    QVERIFY(!cap(Grave)->IsDown());
    // A dead key without a cap has nothing to show: no report.
    dialogs->clear();
    m_frame->SetAccent(2004);
    QCOMPARE(m_frame->PendingAccent, 2004);
    QVERIFY(dialogs->shown().empty());
}

void TestClickTyping::singleShiftCapGoesUpWithShift() {
    auto keys = smallKeyboard();
    std::erase_if(keys, [](const Key& key) { return key.keyValue == RShift; });
    loadTables(keys, smallCharacters());
    m_frame->ClearKeys();
    m_frame->BuildKeys(false);
    QVERIFY(!m_frame->RightShiftKey);
    click({LShift});
    QVERIFY(cap(LShift)->IsDown());
    click({E});
    QCOMPARE(m_edit->text(), QStringLiteral("E"));
    QVERIFY(!m_frame->ShiftDown);
    QVERIFY(!cap(LShift)->IsDown());
    QCOMPARE(cap(LShift)->Glyph(), cap(LShift)->UpGlyph);
}

void TestClickTyping::resolveKey_data() {
    QTest::addColumn<int>("keyType");
    QTest::addColumn<int>("keyType2");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<bool>("altGr");
    QTest::addColumn<int>("kind");
    QTest::newRow("plain kind") << 3 << 0 << false << false << 3;
    QTest::newRow("special kind") << 1000 << 0 << true << true << 1000;
    QTest::newRow("dead key on AltGr, AltGr down") << 2 << 2004 << false << true << 2004;
    QTest::newRow("second dead key, Shift down") << 2006 << 2007 << true << false << 2007;
    QTest::newRow("second dead key, Shift up") << 2006 << 2007 << false << true << 2006;
    QTest::newRow("dead key without second") << 2006 << 0 << true << false << 2006;
    QTest::newRow("dead key with an odd second") << 2006 << 9 << true << false << 2006;
    QTest::newRow("character key with an odd second") << 2 << 5 << false << false << 2;
}

void TestClickTyping::resolveKey() {
    QFETCH(int, keyType);
    QFETCH(int, keyType2);
    QFETCH(bool, shift);
    QFETCH(bool, altGr);
    QFETCH(int, kind);
    loadTables({{"K", 5, keyType, keyType2}}, {{"q", 'q', 5}, {"Q", 'Q', 5, true}});
    m_frame->ClearKeys();
    m_frame->BuildKeys(false);
    m_frame->ShiftDown = shift;
    m_frame->AltGrDown = altGr;
    int32_t gotKind = -99;
    QByteArray text("stale");
    m_frame->ResolveKey(0, gotKind, text);
    QCOMPARE(gotKind, kind);
    // Character kinds look up their character; other kinds give none.
    QCOMPARE(text, kind < 8 && !altGr ? QByteArray(shift ? "Q" : "q") : QByteArray());
}

QTEST_MAIN(TestClickTyping)
#include "tst_clicktyping.moc"
