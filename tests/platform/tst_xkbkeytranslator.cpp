#include "platform/CodePage.h"
#include "platform/XkbKeyTranslator.h"
#include "platform/XkbKeyboardLayoutProvider.h"
#include "settings/DataMod.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QtTest>
#include <map>

namespace {

// X11 keycodes (evdev + 8) and what a US desktop's Qt delivers for them.
struct UsKey {
    quint32 scanCode;
    Qt::Key key;
    const char* text;
};
constexpr UsKey KeyY{29, Qt::Key_Y, "y"};
constexpr UsKey KeyZ{52, Qt::Key_Z, "z"};
constexpr UsKey KeyQ{24, Qt::Key_Q, "q"};
constexpr UsKey KeyE{26, Qt::Key_E, "e"};
constexpr UsKey KeyA{38, Qt::Key_A, "a"};
constexpr UsKey KeyGrave{49, Qt::Key_QuoteLeft, "`"}; // German: dead circumflex
constexpr UsKey KeySpace{65, Qt::Key_Space, " "};
constexpr UsKey KeyBracket{34, Qt::Key_BracketLeft, "["}; // German: u with diaeresis
constexpr UsKey KeyEqual{21, Qt::Key_Equal, "="};         // German: dead acute
constexpr quint32 RightAlt = 108;
constexpr quint32 X11ShiftMask = 0x01, X11LockMask = 0x02, X11Mod1Mask = 0x08, X11Mod2Mask = 0x10,
                  X11Mod5Mask = 0x80;
constexpr quint32 Keypad1 = 87;

QKeyEvent press(const UsKey& k, Qt::KeyboardModifiers mods = Qt::NoModifier, quint32 native = 0) {
    QString text = QString::fromLatin1(k.text);
    if (mods & Qt::ShiftModifier) text = text.toUpper();
    return QKeyEvent(QEvent::KeyPress, k.key, mods, k.scanCode, 0, native, text);
}

std::optional<QString> typed(const QString& text) {
    return text;
}

} // namespace

class TestXkbKeyTranslator : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void germanLetters_data();
    void germanLetters();
    void deadKeys_data();
    void deadKeys();
    void altGrFromRightAltOfUsDesktop();
    void shortcutsAndUnknownEventsPass_data();
    void shortcutsAndUnknownEventsPass();
    void deadKeysWithoutComposeTable();
    void modifiersHoldForEveryKey_data();
    void modifiersHoldForEveryKey();
    void bundledCoursesTypeTheirCharacters_data();
    void bundledCoursesTypeTheirCharacters();

private:
    std::unique_ptr<XkbKeyTranslator> germanTranslator(bool withCompose = true);

    XkbContextPtr m_context;
    XkbKeymapPtr m_german;
    XkbComposeTablePtr m_compose;
};

void TestXkbKeyTranslator::initTestCase() {
    m_context.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    const XkbLayoutEntry* german = findXkbLayout(0x00000407);
    QVERIFY(german);
    m_german = XkbKeyboardLayoutProvider::compileKeymap(m_context.get(), *german);
    QVERIFY(m_german);
    m_compose.reset(
        xkb_compose_table_new_from_locale(m_context.get(), "en_US.UTF-8", XKB_COMPOSE_COMPILE_NO_FLAGS));
    QVERIFY(m_compose);
}

std::unique_ptr<XkbKeyTranslator> TestXkbKeyTranslator::germanTranslator(bool withCompose) {
    return std::make_unique<XkbKeyTranslator>(m_german.get(), withCompose ? m_compose.get() : nullptr);
}

void TestXkbKeyTranslator::germanLetters_data() {
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<quint32>("native");
    QTest::addColumn<QString>("expected");
    QTest::newRow("y key types z") << KeyY.scanCode << 0 << 0u << "z";
    QTest::newRow("z key types y") << KeyZ.scanCode << 0 << 0u << "y";
    QTest::newRow("shift") << KeyY.scanCode << int(Qt::ShiftModifier) << X11ShiftMask << "Z";
    QTest::newRow("caps lock") << KeyY.scanCode << 0 << X11LockMask << "Z";
    QTest::newRow("caps lock and shift")
        << KeyY.scanCode << int(Qt::ShiftModifier) << (X11LockMask | X11ShiftMask) << "z";
    QTest::newRow("umlaut") << KeyBracket.scanCode << 0 << 0u << QString(QChar(0xFC));
    QTest::newRow("umlaut caps") << KeyBracket.scanCode << 0 << X11LockMask << QString(QChar(0xDC));
    QTest::newRow("digit row shifted") << 11u << int(Qt::ShiftModifier) << X11ShiftMask << "\"";
    QTest::newRow("altgr as mod5") << KeyQ.scanCode << 0 << X11Mod5Mask << "@";
    QTest::newRow("altgr as group switch") << KeyQ.scanCode << int(Qt::GroupSwitchModifier) << 0u << "@";
    QTest::newRow("ctrl alt is altgr")
        << KeyQ.scanCode << int(Qt::ControlModifier | Qt::AltModifier) << 0u << "@";
    QTest::newRow("altgr euro") << KeyE.scanCode << 0 << X11Mod5Mask << QString(QChar(0x20AC));
    QTest::newRow("space") << KeySpace.scanCode << 0 << 0u << " ";
    QTest::newRow("backspace") << 22u << 0 << 0u << "\b";
    QTest::newRow("enter") << 36u << 0 << 0u << "\r";
    // Num Lock (Mod2 on X11 desktops) holds for the keypad as it does on the desktop.
    QTest::newRow("keypad with num lock") << Keypad1 << 0 << X11Mod2Mask << "1";
    QTest::newRow("keypad with num lock and caps lock") << Keypad1 << 0 << (X11Mod2Mask | X11LockMask) << "1";
    QTest::newRow("keypad without num lock") << Keypad1 << 0 << 0u << "";
}

void TestXkbKeyTranslator::germanLetters() {
    QFETCH(quint32, scanCode);
    QFETCH(int, modifiers);
    QFETCH(quint32, native);
    QFETCH(QString, expected);
    const auto translator = germanTranslator();
    const QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::KeyboardModifiers(modifiers), scanCode, 0,
                          native, QStringLiteral("?"));
    QCOMPARE(translator->translate(event), typed(expected));
}

void TestXkbKeyTranslator::deadKeys_data() {
    QTest::addColumn<QList<int>>("keys"); // indexes into the key list below; negative: with Shift
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("circumflex e") << QList<int>{0, 1} << QStringList{"", QString(QChar(0xEA))};
    QTest::newRow("circumflex shift e") << QList<int>{0, -1} << QStringList{"", QString(QChar(0xCA))};
    QTest::newRow("circumflex space") << QList<int>{0, 2} << QStringList{"", "^"};
    QTest::newRow("circumflex twice") << QList<int>{0, 0} << QStringList{"", "^"};
    QTest::newRow("circumflex q") << QList<int>{0, 3} << QStringList{"", "^q"};
    QTest::newRow("acute space") << QList<int>{4, 2} << QStringList{"", QString(QChar(0xB4))};
    QTest::newRow("grave space") << QList<int>{-4, 2} << QStringList{"", "`"};
    QTest::newRow("acute space then plain space")
        << QList<int>{4, 2, 2} << QStringList{"", QString(QChar(0xB4)), " "};
    QTest::newRow("acute a") << QList<int>{4, 5} << QStringList{"", QString(QChar(0xE1))};
    QTest::newRow("after a combination plain again")
        << QList<int>{0, 1, 1} << QStringList{"", QString(QChar(0xEA)), "e"};
}

void TestXkbKeyTranslator::deadKeys() {
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, expected);
    const UsKey all[] = {KeyGrave, KeyE, KeySpace, KeyQ, KeyEqual, KeyA};
    const auto translator = germanTranslator();
    QStringList got;
    for (int k : keys) {
        const bool shift = k < 0;
        const UsKey& key = all[std::abs(k)];
        const auto text = translator->translate(
            press(key, shift ? Qt::ShiftModifier : Qt::NoModifier, shift ? X11ShiftMask : 0));
        QVERIFY(text.has_value());
        got.append(*text);
    }
    QCOMPARE(got, expected);
}

// One translator types a whole line: Shift and AltGr work again on the second and later keys.
void TestXkbKeyTranslator::modifiersHoldForEveryKey_data() {
    QTest::addColumn<quint32>("native"); // X11 modifier bits held for every key
    QTest::addColumn<int>("mods");
    QTest::addColumn<QString>("expected"); // what y, q, e, y type in turn
    QTest::newRow("plain") << 0u << 0 << QStringLiteral("zqez");
    QTest::newRow("shift") << X11ShiftMask << int(Qt::ShiftModifier) << QStringLiteral("ZQEZ");
    QTest::newRow("altgr") << X11Mod5Mask << 0
                           << QString(QChar(0x2190)) + QStringLiteral("@") + QChar(0x20AC) + QChar(0x2190);
}

void TestXkbKeyTranslator::modifiersHoldForEveryKey() {
    QFETCH(quint32, native);
    QFETCH(int, mods);
    QFETCH(QString, expected);
    const auto translator = germanTranslator();
    QString got;
    for (const UsKey& key : {KeyY, KeyQ, KeyE, KeyY}) {
        const auto text = translator->translate(press(key, Qt::KeyboardModifiers(mods), native));
        QVERIFY(text.has_value());
        got += *text;
    }
    // The same again after a plain key in between.
    QCOMPARE(translator->translate(press(KeyA)), typed("a"));
    for (const UsKey& key : {KeyY, KeyQ, KeyE, KeyY}) {
        const auto text = translator->translate(press(key, Qt::KeyboardModifiers(mods), native));
        QVERIFY(text.has_value());
        got += *text;
    }
    QCOMPARE(got, expected + expected);
}

// On a US desktop the right Alt key is plain Alt: the translator learns from the key events
// that this keymap's AltGr key is held.
void TestXkbKeyTranslator::altGrFromRightAltOfUsDesktop() {
    const auto translator = germanTranslator();
    QObject target;
    QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier, RightAlt, 0, 0);
    QCoreApplication::sendEvent(&target, &altDown);
    QCOMPARE(translator->translate(press(KeyQ, Qt::AltModifier, X11Mod1Mask)), typed("@"));
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier, RightAlt, 0, X11Mod1Mask);
    QCoreApplication::sendEvent(&target, &altUp);
    QCOMPARE(translator->translate(press(KeyQ)), typed("q"));
    // Left Alt (64) stays a shortcut modifier.
    QKeyEvent leftAlt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier, 64, 0, 0);
    QCoreApplication::sendEvent(&target, &leftAlt);
    QCOMPARE(translator->translate(press(KeyQ, Qt::AltModifier, X11Mod1Mask)), std::nullopt);
    // The AltGr key itself types nothing, and a lost release is forgotten when the program loses focus.
    QCOMPARE(translator->translate(altDown), typed(""));
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(qApp, &deactivate);
    QCOMPARE(translator->translate(press(KeyQ)), typed("q"));
}

void TestXkbKeyTranslator::shortcutsAndUnknownEventsPass_data() {
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("passes");
    QTest::newRow("no scan code") << 0u << 0 << true;
    QTest::newRow("keycode outside keymap") << 2u << 0 << true;
    // A key that this layout leaves empty (a spare keycode the desktop may have filled).
    QTest::newRow("keycode without symbol") << 97u << 0 << true;
    QTest::newRow("ctrl shortcut") << KeyY.scanCode << int(Qt::ControlModifier) << true;
    QTest::newRow("alt shortcut") << KeyY.scanCode << int(Qt::AltModifier) << true;
    QTest::newRow("shift key types nothing") << 50u << int(Qt::ShiftModifier) << false;
}

void TestXkbKeyTranslator::shortcutsAndUnknownEventsPass() {
    QFETCH(quint32, scanCode);
    QFETCH(int, modifiers);
    QFETCH(bool, passes);
    const auto translator = germanTranslator();
    const QKeyEvent event(QEvent::KeyPress, Qt::Key_Y, Qt::KeyboardModifiers(modifiers), scanCode, 0, 0, "y");
    const auto text = translator->translate(event);
    QCOMPARE(!text.has_value(), passes);
    if (text) QCOMPARE(*text, QString());
}

void TestXkbKeyTranslator::deadKeysWithoutComposeTable() {
    const auto translator = germanTranslator(false);
    QCOMPARE(translator->translate(press(KeyGrave)), typed("^"));
    QCOMPARE(translator->translate(press(KeyE)), typed("e"));
}

void TestXkbKeyTranslator::bundledCoursesTypeTheirCharacters_data() {
    QTest::addColumn<QString>("course");
    QTest::addColumn<bool>("rightAlt"); // AltGr as a US desktop's right Alt, else as the Mod5 bit
    const QString courses = appDir() + QStringLiteral("/Courses/");
    for (const QString& name : QDir(courses).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!QFile::exists(courses + name + QStringLiteral("/layout.zqt"))) continue;
        QTest::addRow("%s, AltGr as Mod5", qPrintable(name)) << name << false;
        QTest::addRow("%s, AltGr as right Alt", qPrintable(name)) << name << true;
    }
}

// Every way of typing that a bundled course's character table declares (key, Shift, AltGr and the
// dead key before it) types its character under the translator of the layout that the course's
// "misc" names; a dead key's own character is its dead key then the space bar. Key numbers are
// scan codes, the X11 keycodes less 8.
void TestXkbKeyTranslator::bundledCoursesTypeTheirCharacters() {
    QFETCH(QString, course);
    QFETCH(bool, rightAlt);
    TDataMod layout;
    QVERIFY(layout.LoadLayout(appDir() + QStringLiteral("/Courses/%1/layout.zqt").arg(course)));
    const QRegularExpression identifier(QStringLiteral("\\b[0-9A-F]{8}\\b"));
    XkbKeyboardLayoutProvider provider(std::nullopt);
    QVERIFY(provider.activate(identifier.match(QString::fromLatin1(layout.Misc)).captured().toLatin1()));
    QObject target;
    QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier, RightAlt, 0, 0);
    QKeyEvent altUp(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier, RightAlt, 0, X11Mod1Mask);
    const auto press = [&](int keyNo, bool shift, bool altGr) {
        const bool alt = altGr && rightAlt;
        if (alt) QCoreApplication::sendEvent(&target, &altDown);
        Qt::KeyboardModifiers mods;
        if (shift) mods |= Qt::ShiftModifier;
        if (alt) mods |= Qt::AltModifier;
        const quint32 native = (shift ? X11ShiftMask : 0) | (alt ? X11Mod1Mask : altGr ? X11Mod5Mask : 0);
        const auto text = provider.translator()->translate(
            QKeyEvent(QEvent::KeyPress, Qt::Key_unknown, mods, quint32(keyNo) + 8, 0, native, "?"));
        if (alt) QCoreApplication::sendEvent(&target, &altUp);
        return text.value_or(QStringLiteral("(passed on)"));
    };
    // Where each dead key is: a cap of its kind, else the second kind of a cap, with Shift on a
    // dead key's cap and with AltGr on a character key's.
    using Level = std::tuple<int, bool, bool>;
    std::map<int, Level> deadKeys;
    TClientDataSet& keys = *layout.MainTbl;
    for (int kind = 2001; kind <= 2008; ++kind) {
        const bool second = !keys.Locate(QStringLiteral("KeyType"), kind);
        if (second && !keys.Locate(QStringLiteral("KeyType2"), kind)) continue;
        const bool onDeadKey = keys.FieldByName(QStringLiteral("KeyType")).AsInteger() >= 2001;
        deadKeys[kind] = {keys.FieldByName(QStringLiteral("KeyValue")).AsInteger(), second && onDeadKey,
                          second && !onDeadKey};
    }
    constexpr int SpaceKey = 0x39;
    QStringList wrong;
    TClientDataSet& chars = *layout.Ctbl;
    for (chars.First(); !chars.Eof(); chars.Next()) {
        const Level level{chars.FieldByName(QStringLiteral("KeyNo")).AsInteger(),
                          chars.FieldByName(QStringLiteral("Shift")).AsBoolean(),
                          chars.FieldByName(QStringLiteral("AltGr")).AsBoolean()};
        const int accent = chars.FieldByName(QStringLiteral("Accent")).AsInteger();
        QVERIFY(accent == 0 || deadKeys.count(accent));
        const bool deadKey =
            accent == 0 && std::any_of(deadKeys.begin(), deadKeys.end(),
                                       [&](const auto& dead) { return dead.second == level; });
        QString got = accent ? std::apply(press, deadKeys[accent]) + QLatin1Char('|') : QString();
        got += std::apply(press, level);
        if (deadKey) got += QLatin1Char('|') + press(SpaceKey, false, false);
        const QString expected =
            QLatin1String(accent || deadKey ? "|" : "") +
            CodePage::charToUnicode(quint8(chars.FieldByName(QStringLiteral("Code")).AsInteger()));
        if (got != expected)
            wrong << QStringLiteral("%1 on key %2 (Shift %3, AltGr %4, dead key %5): %6")
                         .arg(expected, QString::number(std::get<0>(level), 16))
                         .arg(std::get<1>(level))
                         .arg(std::get<2>(level))
                         .arg(accent)
                         .arg(got);
        if (got.isEmpty() || got.endsWith(QLatin1Char('|')))
            press(SpaceKey, false, false); // a dead key waiting
    }
    QVERIFY2(wrong.isEmpty(),
             qPrintable(QStringLiteral("%1 of %2 typed wrong: ").arg(wrong.size()).arg(chars.RecordCount()) +
                        wrong.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestXkbKeyTranslator)
#include "tst_xkbkeytranslator.moc"
