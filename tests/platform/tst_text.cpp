#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/StrictInt.h"
#include "platform/TextLines.h"
#include "platform/Translation.h"

#include <QtTest>

class TestText : public QObject {
    Q_OBJECT
private slots:
    void strictConversion_data();
    void strictConversion();
    void strictConversionError();
    void codePageRoundTrip();
    void codePageUnmappable();
    void lineEnds_data();
    void lineEnds();
    void formatting();
};

void TestText::strictConversion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "255" << true << 255;
    QTest::newRow("leading blanks") << "   255" << true << 255;
    QTest::newRow("trailing blank") << "255 " << false << 0;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("minus") << "-8421504" << true << -8421504;
    QTest::newRow("dollar hex") << "$FF" << true << 255;
    QTest::newRow("0x hex") << "0xff" << true << 255;
    QTest::newRow("0X hex") << "0XCC" << true << 204;
    QTest::newRow("x hex") << "xCC" << true << 204;
    QTest::newRow("negative hex") << "-$10" << true << -16;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "   " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("prefix only") << "0x" << false << 0;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("hex overflow") << "$80000000" << false << 0;
    QTest::newRow("long digits") << "99999999999999999999999" << false << 0;
    QTest::newRow("letters") << "12a" << false << 0;
    QTest::newRow("tab is not a blank") << "\t5" << false << 0;
    QTest::newRow("non latin") << QString::fromUtf8("1\u20ac") << false << 0;
}

void TestText::strictConversion() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto result = tryStrToInt(text);
    QCOMPARE(result.has_value(), ok);
    if (ok) QCOMPARE(*result, value);
    QCOMPARE(StrToIntOrZero(text), ok ? value : 0);
    // The 8-bit form converts alike; a character beyond Latin-1 has become '?', which fails too.
    const QByteArray bytes = text.toLatin1();
    QCOMPARE(tryStrToInt(std::string_view(bytes.constData(), bytes.size())), result);
}

void TestText::strictConversionError() {
    try {
        StrToInt(QStringLiteral("12 x"));
        QFAIL("no error raised");
    } catch (const EConvertError& e) {
        QCOMPARE(e.message(), QStringLiteral("'12 x' is not a valid integer value"));
    }
    // 8-bit text is shown in the code page: 0x80 is the euro sign.
    try {
        StrToInt(std::string_view("\x80"
                                  "5"));
        QFAIL("no error raised");
    } catch (const EConvertError& e) {
        QCOMPARE(e.message(), QString::fromUtf8("'€5' is not a valid integer value"));
    }
}

void TestText::codePageRoundTrip() {
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    const QString wide = CodePage::toUnicode(all);
    QCOMPARE(wide.size(), 256);
    QCOMPARE(wide[0x80], QChar(0x20AC)); // euro sign
    QCOMPARE(wide[0xE4], QChar(0xE4));   // a umlaut
    QCOMPARE(wide[0x81], QChar(0x81));   // undefined byte kept as its C1 control
    QCOMPARE(CodePage::fromUnicode(wide), all);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(int(*CodePage::unicodeToChar(CodePage::charToUnicode(uchar(i)))), i);
}

void TestText::codePageUnmappable() {
    QVERIFY(!CodePage::unicodeToChar(QChar(0x0416)).has_value()); // Cyrillic Zhe
    QCOMPARE(CodePage::fromUnicode(QString::fromUtf8("a\u0416b")), QByteArray("a?b"));
}

void TestText::lineEnds_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("lf") << QByteArray("a\nb") << QList<QByteArray>{"a", "b"};
    QTest::newRow("cr") << QByteArray("a\rb\r") << QList<QByteArray>{"a", "b"};
    QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QList<QByteArray>{"a", "", "b"};
    QTest::newRow("empty lines") << QByteArray("\n\n") << QList<QByteArray>{"", ""};
    QTest::newRow("empty lines between, no end")
        << QByteArray("\r\n\r\n ab\r\rc") << QList<QByteArray>{"", "", " ab", "", "c"};
}

void TestText::lineEnds() {
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, lines);
    const auto got = splitLines(text);
    QCOMPARE(QList<QByteArray>(got.begin(), got.end()), lines);
    // The compact form holds the same lines.
    const TextLines compact(text);
    QCOMPARE(compact.size(), lines.size());
    for (qsizetype i = 0; i < compact.size(); ++i)
        QCOMPARE(compact[i], lines[i]);
}

void TestText::formatting() {
    QCOMPARE(formatText(QStringLiteral("Keys/Min: %d   Accuracy: %d%%   WPM: %d"), {700, 95, 140}),
             QStringLiteral("Keys/Min: 700   Accuracy: 95%   WPM: 140"));
    QCOMPARE(formatText(QStringLiteral("'%s' is %x"), {QStringLiteral("a"), 255}),
             QStringLiteral("'a' is ff"));
    QCOMPARE(formatText(QStringLiteral("%d and %d"), {1}), QStringLiteral("1 and %d"));
    QCOMPARE(i18n("Untranslated text"), QStringLiteral("Untranslated text"));
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
