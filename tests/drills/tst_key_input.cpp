#include "platform/KeyInput.h"
#include "platform/KeyTranslator.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QtTest>

namespace {
// A layout that types 'z' for the key that says 'y' (and the other way round), and nothing for
// a dead key.
class SwappingTranslator : public KeyTranslator {
public:
    std::optional<QString> translate(const QKeyEvent& event) override {
        if (event.text() == QStringLiteral("y")) return QStringLiteral("z");
        if (event.key() == Qt::Key_Dead_Acute) return QString();
        if (event.key() == Qt::Key_Q && (event.modifiers() & Qt::AltModifier)) return QStringLiteral("@");
        return std::nullopt;
    }
};

QByteArray codesOf(const std::vector<KeyInput::KeyChar>& chars) {
    QByteArray codes;
    for (const auto& c : chars)
        codes += c.code;
    return codes;
}
} // namespace

class TestKeyInput : public QObject {
    Q_OBJECT
private slots:
    void virtualKeyCodes_data();
    void virtualKeyCodes();
    void keyPressChars_data();
    void keyPressChars();
    void unmappableCharactersAreMarked();
    void layoutTranslatorHasTheFirstSay();
    void inputMethodCommitsAreKeyPresses();
};

void TestKeyInput::virtualKeyCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("code");
    QTest::newRow("Home") << int(Qt::Key_Home) << 36;
    QTest::newRow("Left") << int(Qt::Key_Left) << 37;
    QTest::newRow("Up") << int(Qt::Key_Up) << 38;
    QTest::newRow("Right") << int(Qt::Key_Right) << 39;
    QTest::newRow("Down") << int(Qt::Key_Down) << 40;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << 45;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 46;
    QTest::newRow("End") << int(Qt::Key_End) << 35;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << 33;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 8;
    QTest::newRow("Enter on keypad") << int(Qt::Key_Enter) << 13;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 27;
    QTest::newRow("letter") << int(Qt::Key_Q) << int('Q');
    QTest::newRow("umlaut has none") << int(Qt::Key_Adiaeresis) << 0;
}

void TestKeyInput::virtualKeyCodes() {
    QFETCH(int, key);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QTEST(int(KeyInput::virtualKeyCode(event)), "code");
}

void TestKeyInput::keyPressChars_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("codes");
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << QStringLiteral("a") << QByteArray("a");
    QTest::newRow("shifted") << int(Qt::Key_A) << int(Qt::ShiftModifier) << QStringLiteral("A")
                             << QByteArray("A");
    QTest::newRow("umlaut") << int(Qt::Key_Adiaeresis) << 0 << QString(QChar(0xE4)) << QByteArray("\xe4");
    QTest::newRow("euro") << int(Qt::Key_unknown) << 0 << QString(QChar(0x20AC)) << QByteArray("\x80");
    QTest::newRow("backspace without text") << int(Qt::Key_Backspace) << 0 << QString() << QByteArray("\b");
    QTest::newRow("enter") << int(Qt::Key_Return) << 0 << QStringLiteral("\r") << QByteArray("\r");
    QTest::newRow("esc") << int(Qt::Key_Escape) << 0 << QString() << QByteArray("\x1b");
    QTest::newRow("ctrl shortcut types nothing")
        << int(Qt::Key_V) << int(Qt::ControlModifier) << QStringLiteral("\x16") << QByteArray();
    QTest::newRow("alt shortcut types nothing")
        << int(Qt::Key_L) << int(Qt::AltModifier) << QStringLiteral("l") << QByteArray();
    QTest::newRow("altgr as ctrl+alt types") << int(Qt::Key_At) << int(Qt::ControlModifier | Qt::AltModifier)
                                             << QStringLiteral("@") << QByteArray("@");
    QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << QStringLiteral("\t") << QByteArray("\t");
    QTest::newRow("other controls type nothing")
        << int(Qt::Key_unknown) << 0 << QStringLiteral("\x01\n") << QByteArray();
    QTest::newRow("arrow types nothing") << int(Qt::Key_Left) << 0 << QString() << QByteArray();
}

void TestKeyInput::keyPressChars() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QTEST(codesOf(KeyInput::keyPressChars(event)), "codes");
}

void TestKeyInput::unmappableCharactersAreMarked() {
    const QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x0416)));
    const auto chars = KeyInput::keyPressChars(cyrillic);
    QCOMPARE(chars.size(), size_t(1));
    QVERIFY(chars[0].unmappable);
    QCOMPARE(chars[0].unicode, QChar(0x0416));

    const auto emoji = KeyInput::charsOfText(QString::fromUtf16(u"a\U0001F600"));
    QCOMPARE(emoji.size(), size_t(2));
    QVERIFY(!emoji[0].unmappable);
    QVERIFY(emoji[1].unmappable);
}

void TestKeyInput::layoutTranslatorHasTheFirstSay() {
    SwappingTranslator translator;
    setActiveKeyTranslator(&translator);
    const QKeyEvent y(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    const QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    const QKeyEvent dead(QEvent::KeyPress, Qt::Key_Dead_Acute, Qt::NoModifier, QString());
    const QByteArray translated = codesOf(KeyInput::keyPressChars(y));
    const QByteArray own = codesOf(KeyInput::keyPressChars(x));
    const size_t deadChars = KeyInput::keyPressChars(dead).size();
    // The layout's AltGr reported by the desktop as Alt still types; a Ctrl shortcut does not.
    const QKeyEvent altGr(QEvent::KeyPress, Qt::Key_Q, Qt::AltModifier, QStringLiteral("q"));
    const QKeyEvent ctrlY(QEvent::KeyPress, Qt::Key_Y, Qt::ControlModifier, QStringLiteral("y"));
    const QByteArray altGrCodes = codesOf(KeyInput::keyPressChars(altGr));
    const size_t ctrlChars = KeyInput::keyPressChars(ctrlY).size();
    setActiveKeyTranslator(nullptr);
    QCOMPARE(translated, QByteArray("z"));
    QCOMPARE(own, QByteArray("x"));
    QCOMPARE(deadChars, size_t(0));
    QCOMPARE(altGrCodes, QByteArray("@"));
    QCOMPARE(ctrlChars, size_t(0));
    QVERIFY(KeyInput::keyPressChars(altGr).empty()); // no layout of our own: Alt+Q is a shortcut
    QCOMPARE(codesOf(KeyInput::keyPressChars(y)), QByteArray("y"));
}

void TestKeyInput::inputMethodCommitsAreKeyPresses() {
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf16(u"\u00e9\u00ea"));
    QCOMPARE(codesOf(KeyInput::committedChars(composed)), QByteArray("\xe9\xea"));
    QInputMethodEvent pending(QStringLiteral("^"), {});
    QVERIFY(KeyInput::committedChars(pending).empty());
}

QTEST_GUILESS_MAIN(TestKeyInput)
#include "tst_key_input.moc"
