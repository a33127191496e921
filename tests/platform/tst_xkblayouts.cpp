#include "platform/KeyboardLayoutList.h"
#include "platform/XkbKeyTranslator.h"
#include "platform/XkbKeyboardLayoutProvider.h"

#include <QKeyEvent>
#include <QSet>
#include <QtTest>

namespace {

QKeyEvent keyAt(quint32 scanCode, Qt::Key key, const QString& text) {
    return QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, scanCode, 0, 0, text);
}

// The US desktop's key at scan code 29 types "y"; under German it types "z".
constexpr quint32 ScanY = 29;

} // namespace

class TestXkbLayouts : public QObject {
    Q_OBJECT
private slots:
    void everyEntryCompiles_data();
    void everyEntryCompiles();
    void tableIsConsistent();
    void requiredLayoutsOffered_data();
    void requiredLayoutsOffered();
    void handlesFindTheirOwnName();
    void parseIdentifier_data();
    void parseIdentifier();
    void localeTexts_data();
    void localeTexts();
    void refusedActivationChangesNothing_data();
    void refusedActivationChangesNothing();
    void activationTranslates();
    void desktopOwnLayoutTypesLikeAnyOther();
    void unknownDesktopAlwaysTranslates();
    void missingKeyboardConfigRefusesActivation();
    void desktopDescriptions_data();
    void desktopDescriptions();
    void offscreenHasNoDesktopLayout();
};

void TestXkbLayouts::everyEntryCompiles_data() {
    QTest::addColumn<int>("index");
    const auto table = xkbLayoutTable();
    for (size_t i = 0; i < table.size(); ++i)
        QTest::newRow(table[i].layoutText) << int(i);
}

void TestXkbLayouts::everyEntryCompiles() {
    QFETCH(int, index);
    const XkbLayoutEntry& entry = xkbLayoutTable()[size_t(index)];
    XkbContextPtr context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    QVERIFY(context);
    const XkbKeymapPtr keymap = XkbKeyboardLayoutProvider::compileKeymap(context.get(), entry);
    QVERIFY2(keymap, entry.xkbLayout);
    // Exactly one group: the layout asked for, not a fallback that happened to compile.
    QCOMPARE(xkb_keymap_num_layouts(keymap.get()), 1u);
    QVERIFY(QLocale(QString::fromLatin1(entry.locale)).language() != QLocale::C);
}

void TestXkbLayouts::tableIsConsistent() {
    QSet<quint32> identifiers;
    QSet<quint32> handles;
    for (const XkbLayoutEntry& entry : xkbLayoutTable()) {
        QVERIFY2(!identifiers.contains(entry.identifier), entry.layoutText);
        identifiers.insert(entry.identifier);
        // Two entries with one handle could not be told apart among the loaded layouts.
        const quint32 handle = keyboardLayoutHandle(entry.identifier, entry.layoutId);
        QVERIFY2(!handles.contains(handle), entry.layoutText);
        handles.insert(handle);
        QVERIFY(*entry.layoutText);
        QCOMPARE(findXkbLayout(entry.identifier), &entry);
    }
}

void TestXkbLayouts::requiredLayoutsOffered_data() {
    QTest::addColumn<quint32>("identifier");
    QTest::addColumn<QString>("xkb");
    const QList<QPair<quint32, const char*>> required = {
        {0x00000409, "us"}, {0x00020409, "us(intl)"}, {0x00010409, "us(dvorak)"}, {0x00000809, "gb"},
        {0x00001809, "ie"}, {0x00000407, "de"},       {0x00000807, "ch"},         {0x0000100C, "ch(fr)"},
        {0x0000040C, "fr"}, {0x0000080C, "be"},       {0x00001009, "ca"},         {0x00000410, "it"},
        {0x0000040A, "es"}, {0x0000080A, "latam"},    {0x00000816, "pt"},         {0x00000416, "br"},
        {0x00000413, "nl"}, {0x00000813, "be"},       {0x00000406, "dk"},         {0x00000414, "no"},
        {0x0000041D, "se"}, {0x0000040B, "fi"},       {0x0000040F, "is"},         {0x00000415, "pl"},
        {0x00000405, "cz"}, {0x0000041B, "sk"},       {0x0000040E, "hu"},         {0x00000424, "si"},
        {0x0000041A, "hr"}, {0x00000418, "ro"},       {0x00000425, "ee"},         {0x00000426, "lv"},
        {0x00010427, "lt"}, {0x00000408, "gr"},       {0x0000041F, "tr"},         {0x00000419, "ru"},
        {0x00000422, "ua"}, {0x00000402, "bg"}};
    for (const auto& [identifier, xkb] : required)
        QTest::newRow(KeyboardLayoutList::identifierText(identifier).constData())
            << identifier << QString(xkb);
}

void TestXkbLayouts::requiredLayoutsOffered() {
    QFETCH(quint32, identifier);
    QFETCH(QString, xkb);
    const XkbLayoutEntry* entry = findXkbLayout(identifier);
    QVERIFY(entry);
    const QString variant = QString::fromLatin1(entry->xkbVariant);
    QCOMPARE(QString::fromLatin1(entry->xkbLayout) + (variant.isEmpty() ? QString() : "(" + variant + ")"),
             xkb);
}

void TestXkbLayouts::handlesFindTheirOwnName() {
    KeyboardLayoutList list(std::make_unique<XkbKeyboardLayoutProvider>(std::nullopt));
    QCOMPARE(list.installed().size(), xkbLayoutTable().size());
    for (const InstalledKeyboardLayout& layout : list.installed()) {
        const quint32 handle = keyboardLayoutHandle(layout.identifier, layout.layoutId);
        QCOMPARE(list.variationName(handle), layout.name);
        const bool primary = layout.layoutId == 0;
        QCOMPARE(list.displayName(handle).endsWith(" - " + layout.name), !primary);
    }
}

void TestXkbLayouts::parseIdentifier_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("value"); // -1: refused
    QTest::newRow("us") << QByteArray("00000409") << qint64(0x409);
    QTest::newRow("upper") << QByteArray("0000040C") << qint64(0x40C);
    QTest::newRow("lower") << QByteArray("0000040c") << qint64(0x40C);
    QTest::newRow("short") << QByteArray("409") << qint64(-1);
    QTest::newRow("long") << QByteArray("000000409") << qint64(-1);
    QTest::newRow("not hex") << QByteArray("0000040G") << qint64(-1);
    QTest::newRow("sign") << QByteArray("+0000409") << qint64(-1);
    QTest::newRow("blank") << QByteArray(" 0000409") << qint64(-1);
    QTest::newRow("prefix") << QByteArray("0x000409") << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
}

void TestXkbLayouts::parseIdentifier() {
    QFETCH(QByteArray, text);
    QFETCH(qint64, value);
    const auto parsed = XkbKeyboardLayoutProvider::parseIdentifier(text);
    QCOMPARE(parsed ? qint64(*parsed) : qint64(-1), value);
}

void TestXkbLayouts::localeTexts_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("en-US") << 0x0409 << QStringList{"English (United States)", "United States", "0409"};
    QTest::newRow("de-DE") << 0x0407 << QStringList{"German (Germany)", "Germany", "0407"};
    QTest::newRow("fr-CH") << 0x100C << QStringList{"French (Switzerland)", "Switzerland", "100C"};
    QTest::newRow("unknown") << 0x0999 << QStringList{"", "", ""};
}

void TestXkbLayouts::localeTexts() {
    QFETCH(int, language);
    QFETCH(QStringList, texts);
    XkbKeyboardLayoutProvider provider(std::nullopt);
    const QStringList got{provider.localeText(quint16(language), LocaleText::LanguageName),
                          provider.localeText(quint16(language), LocaleText::CountryName),
                          provider.localeText(quint16(language), LocaleText::LanguageId)};
    QCOMPARE(got, texts);
}

void TestXkbLayouts::refusedActivationChangesNothing_data() {
    QTest::addColumn<QByteArray>("identifier");
    QTest::newRow("not offered") << QByteArray("00000999");
    QTest::newRow("malformed") << QByteArray("German");
    QTest::newRow("short") << QByteArray("407");
    QTest::newRow("empty") << QByteArray();
}

void TestXkbLayouts::refusedActivationChangesNothing() {
    QFETCH(QByteArray, identifier);
    XkbKeyboardLayoutProvider provider(XkbDesktopLayouts{{0x409}, 0x409});
    QVERIFY(provider.activate("00000407"));
    KeyTranslator* before = activeKeyTranslator();
    QVERIFY(before);
    QVERIFY(!provider.activate(identifier));
    QCOMPARE(activeKeyTranslator(), before);
    QCOMPARE(provider.activeLayout(), 0x04070407u);
    QCOMPARE(provider.loadedLayouts(), (std::vector<quint32>{0x04090409, 0x04070407}));
}

void TestXkbLayouts::activationTranslates() {
    {
        XkbKeyboardLayoutProvider provider(XkbDesktopLayouts{{0x409, 0x407}, 0x409});
        QCOMPARE(provider.activeLayout(), 0x04090409u);
        QVERIFY(!activeKeyTranslator());
        // Lower-case letters name the same layout.
        QVERIFY(provider.activate("0000040c"));
        QCOMPARE(provider.activeLayout(), 0x040C040Cu);
        QVERIFY(activeKeyTranslator());
        QVERIFY(provider.activate("00000407"));
        QCOMPARE(activeKeyTranslator()->translate(keyAt(ScanY, Qt::Key_Y, "y")), std::optional<QString>("z"));
        // The provider found dead-key sequences for the session's locale.
        QCOMPARE(activeKeyTranslator()->translate(keyAt(49, Qt::Key_QuoteLeft, "`")),
                 std::optional<QString>(""));
        QCOMPARE(activeKeyTranslator()->translate(keyAt(26, Qt::Key_E, "e")),
                 std::optional<QString>(QString(QChar(0xEA))));
        QCOMPARE(provider.loadedLayouts(), (std::vector<quint32>{0x04090409, 0x04070407, 0x040C040C}));
        // The desktop's own layout is the program's own as well.
        QVERIFY(provider.activate("00000409"));
        QVERIFY(activeKeyTranslator());
        QCOMPARE(activeKeyTranslator(), provider.translator());
        QCOMPARE(activeKeyTranslator()->translate(keyAt(ScanY, Qt::Key_Y, "y")), std::optional<QString>("y"));
        QVERIFY(provider.activate("00010409"));
        QCOMPARE(provider.activeLayout(), 0xF0020409u);
    }
    // The hook never points at a translator that is gone.
    QVERIFY(!activeKeyTranslator());
}

// A German desktop delivers the German dead keys as dead keys of its own; the activated German
// layout still types the accent for a dead key and the space bar, as it does on a US desktop.
void TestXkbLayouts::desktopOwnLayoutTypesLikeAnyOther() {
    const QString acute(QChar(0x00B4));
    const QString diaeresis(QChar(0x00A8));
    const auto typeLine = [](std::initializer_list<const QKeyEvent*> keys) {
        QString line;
        for (const QKeyEvent* key : keys) {
            const auto text = activeKeyTranslator()->translate(*key);
            line += text ? *text : key->text();
        }
        return line;
    };
    const QKeyEvent space = keyAt(65, Qt::Key_Space, " ");
    {
        XkbKeyboardLayoutProvider provider(XkbDesktopLayouts{{0x407}, 0x407});
        QVERIFY(provider.activate("00000407"));
        QVERIFY(activeKeyTranslator());
        const QKeyEvent deadAcute = keyAt(21, Qt::Key_Dead_Acute, QString());
        const QKeyEvent a = keyAt(38, Qt::Key_A, "a");
        QCOMPARE(typeLine({&deadAcute, &space, &deadAcute, &a, &deadAcute, &deadAcute, &space}),
                 acute + QChar(0xE1) + acute + " ");
    }
    {
        XkbKeyboardLayoutProvider provider(XkbDesktopLayouts{{0x40C}, 0x40C});
        QVERIFY(provider.activate("0000040C"));
        QVERIFY(activeKeyTranslator());
        // Shift and the key right of P: dead diaeresis on a French keyboard.
        const QKeyEvent deadDiaeresis(QEvent::KeyPress, Qt::Key_Dead_Diaeresis, Qt::ShiftModifier, 34, 0,
                                      0x01, QString());
        const QKeyEvent e = keyAt(26, Qt::Key_E, "e");
        QCOMPARE(typeLine({&deadDiaeresis, &space, &deadDiaeresis, &e}), diaeresis + QChar(0xEB));
        // The desktop's "fr" types ~ and ` on AltGr+2 and AltGr+7 at once; the program's French
        // layout has its dead tilde and dead grave there.
        const QKeyEvent tilde(QEvent::KeyPress, Qt::Key_AsciiTilde, Qt::NoModifier, 11, 0, 0x80, "~");
        const QKeyEvent grave(QEvent::KeyPress, Qt::Key_QuoteLeft, Qt::NoModifier, 16, 0, 0x80, "`");
        const QKeyEvent a = keyAt(24, Qt::Key_A, "a");
        const QKeyEvent shiftA(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, 24, 0, 0x01, "A");
        QCOMPARE(typeLine({&tilde, &a, &grave, &shiftA, &tilde, &space, &grave, &space}),
                 QString(QChar(0xE3)) + QChar(0xC0) + "~`");
    }
}

void TestXkbLayouts::unknownDesktopAlwaysTranslates() {
    XkbKeyboardLayoutProvider provider(std::nullopt);
    QCOMPARE(provider.activeLayout(), 0x04090409u);
    QCOMPARE(provider.loadedLayouts(), std::vector<quint32>{0x04090409});
    QVERIFY(provider.activate("00000409"));
    QVERIFY(activeKeyTranslator());
    QCOMPARE(activeKeyTranslator()->translate(keyAt(ScanY, Qt::Key_Y, "y")), std::optional<QString>("y"));
}

void TestXkbLayouts::missingKeyboardConfigRefusesActivation() {
    qputenv("XKB_CONFIG_ROOT", "/nonexistent/xkb");
    XkbKeyboardLayoutProvider provider(std::nullopt);
    qunsetenv("XKB_CONFIG_ROOT");
    QVERIFY(!provider.activate("00000407"));
    QVERIFY(!activeKeyTranslator());
    QCOMPARE(provider.activeLayout(), 0x04090409u);
}

void TestXkbLayouts::desktopDescriptions_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<qint64>("identifier"); // -1: not offered
    QTest::newRow("german") << "German" << qint64(0x407);
    QTest::newRow("us") << "English (US)" << qint64(0x409);
    QTest::newRow("us intl") << "English (US, intl., with dead keys)" << qint64(0x20409);
    QTest::newRow("swiss french") << "French (Switzerland)" << qint64(0x100C);
    QTest::newRow("variant not offered") << "German (no dead keys)" << qint64(-1);
    QTest::newRow("unknown") << "Klingon" << qint64(-1);
}

void TestXkbLayouts::desktopDescriptions() {
    QFETCH(QString, description);
    QFETCH(qint64, identifier);
    const auto found = identifierOfXkbDescription(description);
    QCOMPARE(found ? qint64(*found) : qint64(-1), identifier);
}

void TestXkbLayouts::offscreenHasNoDesktopLayout() {
    XkbContextPtr context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    QVERIFY(!readXkbDesktopLayouts(context.get()));
    const auto provider = createSystemKeyboardLayoutProvider();
    QCOMPARE(provider->activeLayout(), 0x04090409u);
}

QTEST_MAIN(TestXkbLayouts)
#include "tst_xkblayouts.moc"
