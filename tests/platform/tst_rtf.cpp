#include "platform/RtfText.h"

#include <QtTest>

class TestRtf : public QObject {
    Q_OBJECT
private slots:
    void plainText_data();
    void plainText();
    void recognisesRtf_data();
    void recognisesRtf();
    void survivesDamagedDocuments_data();
    void survivesDamagedDocuments();
};

void TestRtf::plainText_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1\\ansi Hello\\par World\\par}")
                                << QStringLiteral("Hello\nWorld");
    QTest::newRow("line and tab") << QByteArray("{\\rtf1 a\\line b\\tab c}") << QStringLiteral("a\nb\tc");
    QTest::newRow("delimiting space eaten once")
        << QByteArray("{\\rtf1 \\b bold\\b0  plain}") << QStringLiteral("bold plain");
    QTest::newRow("hex escapes") << QByteArray("{\\rtf1 gr\\'fc\\'df \\'80}")
                                 << QString::fromUtf16(u"gr\u00fc\u00df \u20ac");
    QTest::newRow("unicode with fallback")
        << QByteArray("{\\rtf1 \\u8364?x}") << QString::fromUtf16(u"\u20acx");
    QTest::newRow("unicode negative") << QByteArray("{\\rtf1 \\u-4064?}") << QString(QChar(char16_t(61472)));
    QTest::newRow("uc2 skips two") << QByteArray("{\\rtf1\\uc2 \\u228\\'61\\'62c}")
                                   << QString::fromUtf16(u"\u00e4c");
    QTest::newRow("uc scoped to group")
        << QByteArray("{\\rtf1{\\uc0 \\u228}\\u246?}") << QString::fromUtf16(u"\u00e4\u00f6");
    QTest::newRow("escaped braces and backslash")
        << QByteArray("{\\rtf1 \\{x\\}\\\\}") << QStringLiteral("{x}\\");
    QTest::newRow("font table skipped")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier;}}\\f0 Text}")
        << QStringLiteral("Text");
    QTest::newRow("colour table and stylesheet skipped")
        << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}Body}")
        << QStringLiteral("Body");
    QTest::newRow("info skipped") << QByteArray("{\\rtf1{\\info{\\title T}{\\author A}}Body}")
                                  << QStringLiteral("Body");
    QTest::newRow("ignorable destination")
        << QByteArray("{\\rtf1{\\*\\generator Writer;}{\\*\\unknown x}Body}") << QStringLiteral("Body");
    QTest::newRow("picture skipped") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47}b}")
                                     << QStringLiteral("ab");
    QTest::newRow("binary data skipped")
        << QByteArray("{\\rtf1 a{\\pict\\bin4 {}\\}}b}") << QStringLiteral("ab");
    QTest::newRow("file line breaks ignored") << QByteArray("{\\rtf1 ab\r\ncd}") << QStringLiteral("abcd");
    QTest::newRow("field result kept")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}")
        << QStringLiteral("link");
    QTest::newRow("control symbols") << QByteArray("{\\rtf1 a\\~b\\-c\\_d}")
                                     << QString::fromUtf16(u"a\u00a0bc-d");
}

void TestRtf::plainText() {
    QFETCH(QByteArray, rtf);
    QTEST(RtfText::plainText(rtf), "text");
}

void TestRtf::recognisesRtf_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("rtf") << QByteArray("{\\rtf1 x}") << true;
    QTest::newRow("blanks first") << QByteArray("\r\n {\\rtf1 x}") << true;
    QTest::newRow("plain") << QByteArray("rtf text") << false;
    QTest::newRow("brace only") << QByteArray("{\\rt") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestRtf::recognisesRtf() {
    QFETCH(QByteArray, bytes);
    QTEST(RtfText::isRtf(bytes), "rtf");
}

void TestRtf::survivesDamagedDocuments_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("unclosed group") << QByteArray("{\\rtf1 {\\b abc") << QStringLiteral("abc");
    QTest::newRow("extra closing braces") << QByteArray("{\\rtf1 a}}}b") << QStringLiteral("ab");
    QTest::newRow("cut in control word") << QByteArray("{\\rtf1 ab\\") << QStringLiteral("ab");
    QTest::newRow("cut in hex escape") << QByteArray("{\\rtf1 ab\\'4") << QStringLiteral("ab");
    QTest::newRow("bad hex escape") << QByteArray("{\\rtf1 a\\'zzb}") << QStringLiteral("azzb");
    QTest::newRow("huge bin length") << QByteArray("{\\rtf1 a\\bin99999999999 xyz}") << QStringLiteral("a");
    QTest::newRow("deep nesting") << (QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "x" +
                                      QByteArray(100000, '}'))
                                  << QStringLiteral("x");
    QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b}", 11) << QString::fromUtf16(u"a\0b", 3);
}

void TestRtf::survivesDamagedDocuments() {
    QFETCH(QByteArray, rtf);
    QTEST(RtfText::plainText(rtf), "text");
}

QTEST_GUILESS_MAIN(TestRtf)
#include "tst_rtf.moc"
