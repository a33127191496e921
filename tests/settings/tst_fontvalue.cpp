#include "settings/FontValue.h"

#include <QGuiApplication>
#include <QPalette>
#include <QtTest>

class TestFontValue : public QObject {
    Q_OBJECT
private slots:
    void plainColours_data();
    void plainColours();
    void systemColours();
    void toQFont();
    void fromQFont();
};

void TestFontValue::plainColours_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("red is the low byte") << 0x0000FF << QColor(255, 0, 0);
    QTest::newRow("green") << 0x00FF00 << QColor(0, 255, 0);
    QTest::newRow("blue is the third byte") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("grey default") << 8421504 << QColor(128, 128, 128);
    QTest::newRow("mixed") << 0x123456 << QColor(0x56, 0x34, 0x12);
}

void TestFontValue::plainColours() {
    QFETCH(int, value);
    QFETCH(QColor, color);
    QCOMPARE(WinColor::toQColor(value), color);
    QCOMPARE(WinColor::fromQColor(color), value);
    QCOMPARE(WinColor::rgb(color.red(), color.green(), color.blue()), value);
    QVERIFY(!WinColor::isSystemColor(value));
}

void TestFontValue::systemColours() {
    const QPalette palette = QGuiApplication::palette();
    QCOMPARE(WinColor::clWindowText, -2147483640);
    QVERIFY(WinColor::isSystemColor(WinColor::clWindowText));
    QCOMPARE(WinColor::toQColor(WinColor::clWindowText), palette.color(QPalette::Active, QPalette::Text));
    QCOMPARE(WinColor::toQColor(WinColor::clBtnFace), palette.color(QPalette::Active, QPalette::Button));
    QCOMPARE(WinColor::toQColor(WinColor::clWindow), palette.color(QPalette::Active, QPalette::Base));
    QCOMPARE(WinColor::toQColor(WinColor::clNone).alpha(), 0);
    // Indices the table lacks give a usable colour, never an invalid one.
    QVERIFY(WinColor::toQColor(WinColor::SystemColorFlag | 200).isValid());
    QVERIFY(WinColor::toQColor(-1).isValid());
}

void TestFontValue::toQFont() {
    const TFontValue value{"DejaVu Sans Mono", 14, 0, true, true, true, true, 0};
    const QFont font = value.toQFont();
    QCOMPARE(font.family(), QString("DejaVu Sans Mono"));
    QCOMPARE(font.pointSize(), 14);
    QVERIFY(font.bold() && font.italic() && font.underline() && font.strikeOut());
    TFontValue plain;
    QVERIFY(!plain.toQFont().bold() && !plain.toQFont().underline());
    // Damaged sizes still give a usable font.
    plain.Size = 0;
    QCOMPARE(plain.toQFont().pointSize(), 1);
    plain.Size = -12;
    QCOMPARE(plain.toQFont().pointSize(), 1);
    plain.Size = 2000000;
    QCOMPARE(plain.toQFont().pointSize(), 1000);
    plain.Color = 0x0000FF;
    QCOMPARE(plain.toQColor(), QColor(Qt::red));
}

void TestFontValue::fromQFont() {
    TFontValue value;
    value.Color = 0x00FF00;
    value.Charset = 204;
    value.Bold = true;
    QFont font("Liberation Serif", 17);
    font.setItalic(true);
    font.setStrikeOut(true);
    value.assignQFont(font);
    QCOMPARE(value.Name, QString("Liberation Serif"));
    QCOMPARE(value.Size, 17);
    QVERIFY(!value.Bold && value.Italic && !value.Underline && value.StrikeOut);
    QCOMPARE(value.Color, 0x00FF00);
    QCOMPARE(value.Charset, uint8_t(204));
    QFont pixels("X");
    pixels.setPixelSize(20);
    value.assignQFont(pixels);
    QCOMPARE(value.Size, 17); // a font without a point size keeps the old size
}

QTEST_MAIN(TestFontValue)
#include "tst_fontvalue.moc"
