#include "drills/DrillRules.h"
#include "drills/DrillSample.h"
#include "drills/DrillText.h"
#include "platform/Errors.h"

#include <QtTest>

using DrillRules::KeyAction;
Q_DECLARE_METATYPE(DrillRules::KeyAction)

class TestDrillRules : public QObject {
    Q_OBJECT
private slots:
    void decideKey_data();
    void decideKey();
    void backspaceStepsOverLineBreaks_data();
    void backspaceStepsOverLineBreaks();
    void statistics_data();
    void statistics();
    void spaceSeparatedWords_data();
    void spaceSeparatedWords();
    void textWords_data();
    void textWords();
    void trimLine_data();
    void trimLine();
    void freeLine_data();
    void freeLine();
    void gotoLineNumber_data();
    void gotoLineNumber();
    void sampleMapsPositionsToTheBox();
    void drillTextNormalisesLineBreaksAndDropsControls();
    void drillTextLimitIsStatedExactly();
    void drillTextDecodesFiles_data();
    void drillTextDecodesFiles();
};

void TestDrillRules::decideKey_data() {
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("position");
    QTest::addColumn<char>("key");
    QTest::addColumn<bool>("unmappable");
    QTest::addColumn<KeyAction>("action");

    QTest::newRow("right") << QByteArray("abc") << 3 << 1 << 'a' << false << KeyAction::Correct;
    QTest::newRow("case-sensitive") << QByteArray("abc") << 3 << 1 << 'A' << false << KeyAction::Wrong;
    QTest::newRow("wrong") << QByteArray("abc") << 3 << 2 << 'x' << false << KeyAction::Wrong;
    QTest::newRow("past end ends with any key")
        << QByteArray("abc") << 3 << 4 << 'x' << false << KeyAction::EndLine;
    QTest::newRow("esc past end ends too")
        << QByteArray("abc") << 3 << 4 << '\x1b' << false << KeyAction::EndLine;
    QTest::newRow("empty sample") << QByteArray() << 0 << 1 << 'a' << false << KeyAction::EndLine;
    QTest::newRow("no sample yet") << QByteArray() << 0 << 0 << '\x1b' << false << KeyAction::EndLine;
    QTest::newRow("backspace") << QByteArray("abc") << 3 << 2 << '\b' << false << KeyAction::StepBack;
    QTest::newRow("enter mid-line") << QByteArray("abc") << 3 << 2 << '\r' << false << KeyAction::ReturnKey;
    QTest::newRow("esc mid-line") << QByteArray("abc") << 3 << 2 << '\x1b' << false << KeyAction::Cancel;
    QTest::newRow("nul") << QByteArray("abc") << 3 << 2 << '\0' << false << KeyAction::Nothing;
    QTest::newRow("enter at break") << QByteArray("ab\r\ncd") << 6 << 3 << '\r' << false
                                    << KeyAction::Correct;
    QTest::newRow("space at break") << QByteArray("ab\r\ncd") << 6 << 3 << ' ' << false
                                    << KeyAction::SpaceAsReturn;
    QTest::newRow("letter at break") << QByteArray("ab\r\ncd") << 6 << 3 << 'x' << false
                                     << KeyAction::SwallowAtBreak;
    QTest::newRow("backspace at break")
        << QByteArray("ab\r\ncd") << 6 << 3 << '\b' << false << KeyAction::StepBack;
    QTest::newRow("high byte right") << QByteArray("\xe4") << 1 << 1 << '\xe4' << false << KeyAction::Correct;
    QTest::newRow("unmappable never right") << QByteArray("?") << 1 << 1 << '?' << true << KeyAction::Wrong;
    QTest::newRow("unmappable at break")
        << QByteArray("\r\n") << 2 << 1 << '?' << true << KeyAction::SwallowAtBreak;
}

void TestDrillRules::decideKey() {
    QFETCH(QByteArray, sample);
    QFETCH(int, length);
    QFETCH(int, position);
    QFETCH(char, key);
    QFETCH(bool, unmappable);
    QFETCH(KeyAction, action);
    QCOMPARE(DrillRules::decideKey(sample, length, position, key, unmappable), action);
}

void TestDrillRules::backspaceStepsOverLineBreaks_data() {
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("after");
    QTest::newRow("plain") << QByteArray("abc") << 3 << 2;
    QTest::newRow("first") << QByteArray("abc") << 1 << 1;
    QTest::newRow("after CR LF") << QByteArray("ab\r\ncd") << 5 << 3;
    QTest::newRow("after letter past break") << QByteArray("ab\r\ncd") << 6 << 5;
    QTest::newRow("lone LF at start stays in sample") << QByteArray("\nab") << 2 << 1;
}

void TestDrillRules::backspaceStepsOverLineBreaks() {
    QFETCH(QByteArray, sample);
    QFETCH(int, position);
    QFETCH(int, after);
    QCOMPARE(DrillRules::positionAfterBackspace(sample, position), after);
}

void TestDrillRules::statistics_data() {
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("errors");
    QTest::addColumn<qint64>("words");
    QTest::addColumn<qint64>("time");
    QTest::addColumn<qint64>("keysPerMin");
    QTest::addColumn<qint64>("accuracy");
    QTest::addColumn<qint64>("wpm");
    QTest::newRow("abc in 1 s") << qint64(3) << qint64(0) << qint64(1) << qint64(1000) << qint64(180)
                                << qint64(100) << qint64(60);
    QTest::newRow("3 of 40 wrong") << qint64(40) << qint64(3) << qint64(8) << qint64(60000) << qint64(40)
                                   << qint64(92) << qint64(8);
    QTest::newRow("95 exactly") << qint64(20) << qint64(1) << qint64(1) << qint64(60000) << qint64(20)
                                << qint64(95) << qint64(1);
    // 36,000 characters overflow 32 bits in the keys-per-minute product.
    QTest::newRow("long text") << qint64(36000) << qint64(0) << qint64(6000) << qint64(3600000) << qint64(600)
                               << qint64(100) << qint64(100);
    QTest::newRow("million characters at the floor")
        << qint64(1000000) << qint64(1) << qint64(1) << qint64(25) << qint64(2400000000) << qint64(99)
        << qint64(2400);
    QTest::newRow("empty") << qint64(0) << qint64(0) << qint64(0) << qint64(25) << qint64(0) << qint64(0)
                           << qint64(0);
}

void TestDrillRules::statistics() {
    QFETCH(qint64, length);
    QFETCH(qint64, errors);
    QFETCH(qint64, words);
    QFETCH(qint64, time);
    const auto s = DrillRules::lineStatistics(length, errors, words, time);
    QTEST(qint64(s.keysPerMin), "keysPerMin");
    QTEST(qint64(s.accuracy), "accuracy");
    QTEST(qint64(s.wordsPerMin), "wpm");
}

void TestDrillRules::spaceSeparatedWords_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("words");
    QTest::newRow("The cat.") << QByteArray("The cat.") << 2;
    QTest::newRow("two spaces") << QByteArray("a  b") << 2;
    QTest::newRow("tab joins") << QByteArray("a\tb") << 1;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("spaces only") << QByteArray("   ") << 0;
    QTest::newRow("qwerty line") << DrillRules::buildFreeLine("qwerty") << 10;
}

void TestDrillRules::spaceSeparatedWords() {
    QFETCH(QByteArray, text);
    QTEST(DrillRules::countSpaceSeparatedWords(text), "words");
}

void TestDrillRules::textWords_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("words");
    QTest::newRow("comma full stop slash") << QByteArray("one, two.three/four five") << 5;
    QTest::newRow("hyphen joins") << QByteArray("well-known") << 1;
    QTest::newRow("apostrophe joins") << QByteArray("don't") << 1;
    QTest::newRow("tab joins") << QByteArray("a\tb") << 1;
    QTest::newRow("blanks and breaks") << QByteArray("  \r\n \r\n") << 0;
    QTest::newRow("lines") << QByteArray("ab\r\ncd") << 2;
}

void TestDrillRules::textWords() {
    QFETCH(QByteArray, text);
    QTEST(DrillRules::countTextWords(text), "words");
}

void TestDrillRules::trimLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("trimmed");
    QTest::newRow("leading blanks") << QByteArray("  The cat.") << QByteArray("The cat.");
    QTest::newRow("controls both ends") << QByteArray("\t\x01"
                                                      "ab c\x1f ")
                                        << QByteArray("ab c");
    QTest::newRow("inside kept") << QByteArray("a  b") << QByteArray("a  b");
    QTest::newRow("all blank") << QByteArray(" \t ") << QByteArray();
    QTest::newRow("high bytes kept") << QByteArray("\xa0x\xe4") << QByteArray("\xa0x\xe4");
}

void TestDrillRules::trimLine() {
    QFETCH(QByteArray, line);
    QTEST(DrillRules::trimLine(line), "trimmed");
}

void TestDrillRules::freeLine_data() {
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("copies");
    QTest::newRow("qwerty") << QByteArray("qwerty") << 69 << 10;
    QTest::newRow("one character") << QByteArray("a") << 51 << 26;
    QTest::newRow("20 characters") << QByteArray(20, 'x') << 62 << 3;
    QTest::newRow("39 characters") << QByteArray(39, 'x') << 39 << 1;
    QTest::newRow("40 characters") << QByteArray(40, 'x') << 40 << 1;
    QTest::newRow("41 characters cut") << QByteArray(41, 'x') << 40 << 1;
    QTest::newRow("40 ending in a space") << QByteArray(39, 'x') + ' ' << 40 << 1;
    QTest::newRow("short ending in a space") << QByteArray("ab ") << 63 << 16;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
}

void TestDrillRules::freeLine() {
    QFETCH(QByteArray, entry);
    QFETCH(int, length);
    QFETCH(int, copies);
    const QByteArray line = DrillRules::buildFreeLine(entry);
    QCOMPARE(int(line.size()), length);
    if (!entry.isEmpty()) QCOMPARE(int(line.count(entry.left(40))), copies);
    // The last copy ends the line whole: only the separating space after it goes.
    QVERIFY(line.endsWith(entry.left(40)));
}

void TestDrillRules::gotoLineNumber_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("number"); // -1: not a number
    QTest::newRow("7") << QByteArray("7") << 7;
    QTest::newRow("blanks before") << QByteArray("  12") << 12;
    QTest::newRow("hex") << QByteArray("$10") << 16;
    QTest::newRow("cut to ten") << QByteArray("000000000007") << 0;
    QTest::newRow("letters") << QByteArray("abc") << -1;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("beyond 32 bits") << QByteArray("9999999999") << -1;
}

void TestDrillRules::gotoLineNumber() {
    QFETCH(QByteArray, answer);
    QFETCH(int, number);
    const auto n = DrillRules::gotoLineNumber(answer);
    QCOMPARE(n.value_or(-1), number);
    QCOMPARE(n.has_value(), number != -1);
}

void TestDrillRules::sampleMapsPositionsToTheBox() {
    DrillSample s;
    s.setText("ab\r\ncd\r\n\r\ne");
    QCOMPARE(s.length(), 11);
    QCOMPARE(s.displayText(), QStringLiteral("ab\ncd\n\ne"));
    QCOMPARE(s.at(3), '\r');
    QCOMPARE(s.at(0), '\0');
    QCOMPARE(s.at(12), '\0');
    const int expected[] = {0, 0, 1, 2, 3, 3, 4, 5, 6, 6, 7, 7, 8};
    for (int p = 1; p <= 12; ++p)
        QCOMPARE(s.boxIndex(p), expected[p]);
}

// A pasted text just over the limit is not "64 MB (at most 64 MB)": the figures differ.
void TestDrillRules::drillTextLimitIsStatedExactly() {
    DrillText::checkLength(DrillText::MaxTextLength);
    try {
        DrillText::checkLength(DrillText::MaxTextLength + 1);
        QFAIL("a text over the limit passed");
    } catch (const EInOutError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("The text is too long to practise: 16777217 characters (at most 16777216)."));
    }
}

void TestDrillRules::drillTextNormalisesLineBreaksAndDropsControls() {
    QCOMPARE(DrillText::fromUnicode(QStringLiteral("a\nb\rc\r\nd")), QByteArray("a\r\nb\r\nc\r\nd"));
    QCOMPARE(DrillText::fromUnicode(QString::fromUtf16(u"x\u2029y\u2028z")), QByteArray("x\r\ny\r\nz"));
    QCOMPARE(DrillText::fromUnicode(QString::fromUtf16(u"a\0b\x01\tc", 6)), QByteArray("ab\tc"));
    QCOMPARE(DrillText::fromUnicode(QString::fromUtf16(u"\u00e4\u20ac\u0416")), QByteArray("\xe4\x80?"));
    QCOMPARE(DrillText::fromUnicode(QString::fromUtf16(u"a\U0001F600b")), QByteArray("a?b"));
}

void TestDrillRules::drillTextDecodesFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8") << QByteArray("gr\xc3\xbc\xc3\x9f") << QString::fromUtf16(u"gr\u00fc\u00df");
    QTest::newRow("utf-8 bom") << QByteArray("\xef\xbb\xbfhi") << QStringLiteral("hi");
    QTest::newRow("windows-1252") << QByteArray("gr\xfc\xdf \x80")
                                  << QString::fromUtf16(u"gr\u00fc\u00df \u20ac");
    QTest::newRow("utf-16le bom") << QByteArray("\xff\xfeh\0i\0", 6) << QStringLiteral("hi");
    QTest::newRow("rtf") << QByteArray("{\\rtf1 Hello\\par World}") << QStringLiteral("Hello\nWorld");
}

void TestDrillRules::drillTextDecodesFiles() {
    QFETCH(QByteArray, bytes);
    QTEST(DrillText::decodeFile(bytes), "text");
}

QTEST_GUILESS_MAIN(TestDrillRules)
#include "tst_drill_rules.moc"
