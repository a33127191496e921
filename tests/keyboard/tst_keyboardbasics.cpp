#include "keyboard/ColorValue.h"
#include "keyboard/HandPosition.h"
#include "keyboard/InvertGlyph.h"
#include "keyboard/KeyKinds.h"

#include <QImage>
#include <QtTest>

class TestKeyboardBasics : public QObject {
    Q_OBJECT
private slots:
    void invertGlyphInvertsEveryPixel_data();
    void invertGlyphInvertsEveryPixel();
    void invertGlyphOfPalettePicture();
    void invertGlyphOfEmptyPicture();
    void colorValues_data();
    void colorValues();
    void fingerCodesToHands_data();
    void fingerCodesToHands();
    void deadKeyNames();
};

void TestKeyboardBasics::invertGlyphInvertsEveryPixel_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("key 40x30") << QSize(40, 30);
    QTest::newRow("one pixel") << QSize(1, 1);
    QTest::newRow("one row") << QSize(7, 1);
    QTest::newRow("one column") << QSize(1, 5);
}

void TestKeyboardBasics::invertGlyphInvertsEveryPixel() {
    QFETCH(QSize, size);
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 37) & 0xFF, (y * 59) & 0xFF, (x + y) & 0xFF));
    const QImage original = picture;
    InvertGlyph(picture);
    QCOMPARE(picture.size(), size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            if (x == 0 && y == size.height() - 1) continue;
            const QRgb before = original.pixel(x, y);
            const QRgb after = picture.pixel(x, y);
            QCOMPARE(qRed(after), 255 - qRed(before));
            QCOMPARE(qGreen(after), 255 - qGreen(before));
            QCOMPARE(qBlue(after), 255 - qBlue(before));
        }
    // The bottom-left pixel is mid grey whatever it was.
    QCOMPARE(picture.pixel(0, size.height() - 1) & 0xFFFFFFu, 0x808080u);
}

void TestKeyboardBasics::invertGlyphOfPalettePicture() {
    // A two-colour picture whose palette entries are shared by many pixels.
    QImage picture(4, 4, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    picture.fill(0);
    picture.setPixel(2, 1, 1);
    InvertGlyph(picture);
    QCOMPARE(picture.pixel(0, 0) & 0xFFFFFFu, 0x000000u);
    QCOMPARE(picture.pixel(2, 1) & 0xFFFFFFu, 0xFFFFFFu);
    QCOMPARE(picture.pixel(0, 3) & 0xFFFFFFu, 0x808080u);
    QCOMPARE(picture.pixel(1, 3) & 0xFFFFFFu, 0x000000u);
}

void TestKeyboardBasics::invertGlyphOfEmptyPicture() {
    QImage empty;
    InvertGlyph(empty);
    QVERIFY(empty.isNull());
}

void TestKeyboardBasics::colorValues_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("color");
    QTest::newRow("red is the low byte") << 0x0000FF << QColor(255, 0, 0);
    QTest::newRow("blue is the high byte") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("olive") << 0x008080 << QColor(128, 128, 0);
    QTest::newRow("mixed") << 0x123456 << QColor(0x56, 0x34, 0x12);
    QTest::newRow("button face") << int(0x8000000F) << QColor(0xF0, 0xF0, 0xF0);
    QTest::newRow("window text") << int(0x80000008) << QColor(0, 0, 0);
    QTest::newRow("unknown system colour") << int(0x800000FE) << QColor(0, 0, 0);
}

void TestKeyboardBasics::colorValues() {
    QFETCH(int, value);
    QFETCH(QColor, color);
    QCOMPARE(colorFromValue(value), color);
    if (value >= 0) QCOMPARE(valueFromColor(color), value);
}

void TestKeyboardBasics::fingerCodesToHands_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("left");
    QTest::addColumn<int>("position");
    QTest::newRow("left little") << 0 << true << true << 1;
    QTest::newRow("left index") << 3 << true << true << 4;
    QTest::newRow("left thumb") << 4 << true << true << 5;
    QTest::newRow("right thumb") << 5 << true << false << 5;
    QTest::newRow("right middle") << 7 << true << false << 3;
    QTest::newRow("right little") << 9 << true << false << 1;
    QTest::newRow("no finger") << int(FingerCode::NoFinger) << false << false << 0;
    QTest::newRow("far above") << 255 << false << false << 0;
    QTest::newRow("negative") << -1 << false << false << 0;
}

void TestKeyboardBasics::fingerCodesToHands() {
    QFETCH(int, code);
    QFETCH(bool, found);
    QFETCH(bool, left);
    QFETCH(int, position);
    const auto hand = handPositionForFinger(code);
    QCOMPARE(hand.has_value(), found);
    if (found) QCOMPARE(*hand, (HandPosition{left, position}));
}

void TestKeyboardBasics::deadKeyNames() {
    const QStringList expected = {"Grave",  "Acute", "Circumflex", "Tilde",
                                  "Umlaut", "Ring",  "Ese",        "Cedilia"};
    for (int kind = KeyKind::FirstDeadKey; kind <= KeyKind::LastDeadKey; ++kind)
        QCOMPARE(QString::fromLatin1(KeyKind::deadKeyName(kind)), expected.at(kind - KeyKind::FirstDeadKey));
    QVERIFY(KeyKind::deadKeyName(2000) == nullptr);
    QVERIFY(KeyKind::deadKeyName(2009) == nullptr);
    QVERIFY(KeyKind::deadKeyName(0) == nullptr);
}

QTEST_GUILESS_MAIN(TestKeyboardBasics)
#include "tst_keyboardbasics.moc"
