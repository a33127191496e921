#include "platform/Errors.h"
#include "platform/FakeKeyboardLayoutProvider.h"
#include "settings/KeyboardLayoutAgent.h"

#include <QtTest>

namespace {

using State = FakeKeyboardLayoutProvider::State;

constexpr quint32 UsHandle = 0x04090409;
constexpr quint32 DvorakHandle = 0xF0020409;
constexpr quint32 GermanHandle = 0x04070407;

// US, US-International, US-Dvorak, German and a French layout without "Layout Text"; US and
// Dvorak loaded, US active.
std::shared_ptr<State> machine() {
    auto state = std::make_shared<State>();
    state->installed = {{0x00000409, "US", 0},
                        {0x00020409, "United States-International", 1},
                        {0x00010409, "United States-Dvorak", 2},
                        {0x00000407, "German", 0},
                        {0x0000040C, "", 0}};
    state->loaded = {UsHandle, DvorakHandle};
    state->active = UsHandle;
    state->accepted = {"00000409", "00000407", "00010409", "0000040c"};
    state->locales.insert(0x0409, {"English (United States)", "United States", "0409"});
    state->locales.insert(0x0407, {"German (Germany)", "Germany", "0407"});
    return state;
}

std::unique_ptr<TKeyboardLayoutAgent> agentOn(const std::shared_ptr<State>& state) {
    return std::make_unique<TKeyboardLayoutAgent>(std::make_unique<FakeKeyboardLayoutProvider>(state));
}

} // namespace

class TestKeyboardLayoutAgent : public QObject {
    Q_OBJECT
private slots:
    void indexOfLayout_data();
    void indexOfLayout();
    void indexOfLayoutOnEmptyOrDuplicateList();
    void activateKeepsIdentifierAsPassed_data();
    void activateKeepsIdentifierAsPassed();
    void activateByIndexUsesUpperCaseText();
    void activateByIndexOutsideListActivatesNothing_data();
    void activateByIndexOutsideListActivatesNothing();
    void layoutNames();
    void infoLinesDescribeStart();
    void variantDisplayAndVariationNames_data();
    void variantDisplayAndVariationNames();
    void startLayoutNameStaysAfterActivation();
    void noActiveLayoutGivesEmptyValues();
    void loadedLayoutsBeyondSixteenAreDropped();
};

void TestKeyboardLayoutAgent::indexOfLayout_data() {
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<int>("index");
    QTest::newRow("primary") << QString("00000409") << 0;
    QTest::newRow("variant") << QString("00010409") << 2;
    QTest::newRow("letters upper") << QString("0000040C") << 4;
    QTest::newRow("letters lower") << QString("0000040c") << -1;
    QTest::newRow("short form") << QString("409") << -1;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("not installed") << QString("00000419") << -1;
}

void TestKeyboardLayoutAgent::indexOfLayout() {
    QFETCH(QString, identifier);
    QFETCH(int, index);
    const auto agent = agentOn(machine());
    QCOMPARE(agent->IndexOfLayout(identifier), index);
}

void TestKeyboardLayoutAgent::indexOfLayoutOnEmptyOrDuplicateList() {
    auto state = std::make_shared<State>();
    QCOMPARE(agentOn(state)->IndexOfLayout("00000409"), -1);
    state->installed = {{0x00000407, "German", 0}, {0x00000409, "US", 0}, {0x00000409, "US again", 0}};
    QCOMPARE(agentOn(state)->IndexOfLayout("00000409"), 1);
}

void TestKeyboardLayoutAgent::activateKeepsIdentifierAsPassed_data() {
    QTest::addColumn<QList<QByteArray>>("attempts");
    QTest::addColumn<QString>("current");
    QTest::newRow("nothing yet") << QList<QByteArray>{} << QString();
    QTest::newRow("success") << QList<QByteArray>{"00000409"} << QString("00000409");
    QTest::newRow("lower case passed on") << QList<QByteArray>{"0000040c"} << QString("0000040c");
    QTest::newRow("failure first") << QList<QByteArray>{"00000419"} << QString();
    QTest::newRow("failure keeps last success")
        << QList<QByteArray>{"00000407", "bogus"} << QString("00000407");
    QTest::newRow("latest success") << QList<QByteArray>{"00000407", "00000409"} << QString("00000409");
}

void TestKeyboardLayoutAgent::activateKeepsIdentifierAsPassed() {
    QFETCH(QList<QByteArray>, attempts);
    QFETCH(QString, current);
    auto state = machine();
    const auto agent = agentOn(state);
    for (const QByteArray& id : attempts)
        QCOMPARE(agent->ActivateLayout(QString::fromLatin1(id)), state->accepted.contains(id));
    QCOMPARE(agent->GetCurrentLayoutId(), current);
    QCOMPARE(state->activations, attempts);
}

void TestKeyboardLayoutAgent::activateByIndexUsesUpperCaseText() {
    auto state = machine();
    state->accepted.insert("0000040C");
    const auto agent = agentOn(state);
    QVERIFY(agent->ActivateLayoutByIndex(4));
    QCOMPARE(state->activations, QList<QByteArray>{"0000040C"});
    QCOMPARE(agent->GetCurrentLayoutId(), QString("0000040C"));
    // US-International is installed but refused.
    QVERIFY(!agent->ActivateLayoutByIndex(1));
    QCOMPARE(agent->GetCurrentLayoutId(), QString("0000040C"));
}

void TestKeyboardLayoutAgent::activateByIndexOutsideListActivatesNothing_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("no selection") << -1;
    QTest::newRow("one past the end") << 5;
}

void TestKeyboardLayoutAgent::activateByIndexOutsideListActivatesNothing() {
    QFETCH(int, index);
    auto state = machine();
    const auto agent = agentOn(state);
    QVERIFY(agent->ActivateLayout("00000407"));
    QVERIFY_THROWS_EXCEPTION(QuorvelError, agent->ActivateLayoutByIndex(index));
    QCOMPARE(state->activations.size(), 1);
    QCOMPARE(agent->GetCurrentLayoutId(), QString("00000407"));
}

void TestKeyboardLayoutAgent::layoutNames() {
    auto state = machine();
    const auto agent = agentOn(state);
    QVERIFY(agent->LayoutNames.isEmpty()); // filled by Refresh only
    QVERIFY(agent->InfoLines.isEmpty());
    agent->Refresh();
    QCOMPARE(agent->LayoutNames,
             (QStringList{"US - 00000409", "United States-International - 00020409",
                          "United States-Dvorak - 00010409", "German - 00000407", " - 0000040C"}));
    agent->Refresh();
    QCOMPARE(state->installedReads, 1); // the installed list is read once
    QCOMPARE(agent->LayoutNames.size(), 5);
}

void TestKeyboardLayoutAgent::infoLinesDescribeStart() {
    auto state = machine();
    const auto agent = agentOn(state);
    agent->Refresh();
    const QStringList expected{"Loaded input locale identifiers:",
                               "  English (United States) = US-0409",
                               "  English (United States) - United States-Dvorak = United States-Dvorak-0409",
                               "Current locale identifiers:",
                               "  Display name: English (United States)",
                               "  Variantion name: US",
                               "  Language: English (United States)",
                               "  Country: United States"};
    QCOMPARE(agent->InfoLines, expected);
    // An activation changes the platform's loaded and active layouts, not the agent's lines.
    QVERIFY(agent->ActivateLayout("00000407"));
    QCOMPARE(state->active, GermanHandle);
    QCOMPARE(agent->InfoLines, expected);
    // Only a further refresh would show it.
    agent->BuildInfo();
    QVERIFY(agent->InfoLines.contains("  Display name: German (Germany)"));
    QVERIFY(agent->InfoLines.contains("  German (Germany) = German-0407"));
}

void TestKeyboardLayoutAgent::variantDisplayAndVariationNames_data() {
    QTest::addColumn<quint32>("handle");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("variation");
    QTest::newRow("primary") << UsHandle << "English (United States)"
                             << "US";
    QTest::newRow("international") << 0xF0010409u << "English (United States) - United States-International"
                                   << "United States-International";
    QTest::newRow("dvorak") << DvorakHandle << "English (United States) - United States-Dvorak"
                            << "United States-Dvorak";
    // The marker nibble is cleared; the layout id alone picks the variant.
    QTest::newRow("other marker") << 0xA0020409u << "English (United States) - United States-Dvorak"
                                  << "United States-Dvorak";
    QTest::newRow("unknown variant") << 0xF0090409u << "English (United States) - "
                                     << "";
    QTest::newRow("unknown language") << 0x04190419u << ""
                                      << "";
}

void TestKeyboardLayoutAgent::variantDisplayAndVariationNames() {
    QFETCH(quint32, handle);
    QFETCH(QString, display);
    QFETCH(QString, variation);
    auto state = machine();
    state->active = handle;
    const auto agent = agentOn(state);
    agent->Refresh();
    QCOMPARE(agent->GetStartLayoutName(), variation);
    const qsizetype n = agent->InfoLines.size();
    QCOMPARE(agent->InfoLines.at(n - 4), "  Display name: " + display);
    QCOMPARE(agent->InfoLines.at(n - 3), "  Variantion name: " + variation);
}

void TestKeyboardLayoutAgent::startLayoutNameStaysAfterActivation() {
    auto state = machine();
    const auto agent = agentOn(state);
    QCOMPARE(agent->GetStartLayoutName(), QString("US"));
    QVERIFY(agent->ActivateLayout("00010409"));
    QCOMPARE(state->active, DvorakHandle);
    agent->Refresh();
    QCOMPARE(agent->GetStartLayoutName(), QString("US"));
}

void TestKeyboardLayoutAgent::noActiveLayoutGivesEmptyValues() {
    auto state = machine();
    state->loaded.clear();
    state->active = 0;
    const auto agent = agentOn(state);
    agent->Refresh();
    QCOMPARE(agent->GetStartLayoutName(), QString());
    QCOMPARE(agent->InfoLines,
             (QStringList{"Loaded input locale identifiers:", "Current locale identifiers:",
                          "  Display name: ", "  Variantion name: ", "  Language: ", "  Country: "}));
}

void TestKeyboardLayoutAgent::loadedLayoutsBeyondSixteenAreDropped() {
    auto state = machine();
    state->loaded.assign(20, UsHandle);
    const auto agent = agentOn(state);
    agent->Refresh();
    // Heading, sixteen layouts, five lines about the active one.
    QCOMPARE(agent->InfoLines.size(), 1 + 16 + 5);
}

QTEST_GUILESS_MAIN(TestKeyboardLayoutAgent)
#include "tst_keyboardlayoutagent.moc"
