#include "keyboard/HandPosition.h"
#include "keyboard/InvertGlyph.h"
#include "keyboard/ui/ButtonType.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// A 20x16 picture: white face with a black mark in the middle.
QImage keyPicture() {
    QImage picture(20, 16, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 6; y < 10; ++y)
        for (int x = 8; x < 12; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    return picture;
}

ButtonType* makeKey(QWidget* parent, int group) {
    auto* key = new ButtonType(parent);
    key->setGeometry(0, 0, 20, 16);
    key->UpGlyph = key->DownGlyph = keyPicture();
    InvertGlyph(key->DownGlyph);
    key->SetGlyph(key->UpGlyph);
    key->SetAllowAllUp(true);
    key->SetGroupIndex(group);
    return key;
}

} // namespace

class TestKeyCaps : public QObject {
    Q_OBJECT
private slots:
    void invertGlyph_data();
    void invertGlyph();
    void fingerCodesToHands_data();
    void fingerCodesToHands();
    void groupRules_data();
    void groupRules();
    void setKeyDownLooks_data();
    void setKeyDownLooks();
    void mouseClicks();
    void pictureWithTransparentBottomLeftColour();
};

void TestKeyCaps::invertGlyph_data() {
    QTest::addColumn<QImage>("picture");
    QImage gradient(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            gradient.setPixel(x, y, qRgb(x * 6, y * 8, (x + y) & 0xFF));
    QImage palette(4, 3, QImage::Format_Indexed8); // entries shared by many pixels
    palette.setColorTable({qRgb(255, 255, 255), qRgb(10, 20, 30)});
    palette.fill(0);
    palette.setPixel(2, 1, 1);
    QTest::newRow("key picture") << gradient;
    QTest::newRow("palette picture") << palette;
    QTest::newRow("empty") << QImage();
}

void TestKeyCaps::invertGlyph() {
    QFETCH(QImage, picture);
    QImage inverted = picture;
    InvertGlyph(inverted);
    QCOMPARE(inverted.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool bottomLeft = x == 0 && y == picture.height() - 1;
            const QRgb expected = bottomLeft ? 0x808080u : ~picture.pixel(x, y) & 0xFFFFFFu;
            QCOMPARE(inverted.pixel(x, y) & 0xFFFFFFu, expected);
        }
}

void TestKeyCaps::fingerCodesToHands_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("position"); // 0: no finger
    QTest::addColumn<bool>("left");
    QTest::newRow("left little") << 0 << 1 << true;
    QTest::newRow("left thumb") << 4 << 5 << true;
    QTest::newRow("right thumb") << 5 << 5 << false;
    QTest::newRow("right middle") << 7 << 3 << false;
    QTest::newRow("right little") << 9 << 1 << false;
    QTest::newRow("no finger") << 10 << 0 << false;
    QTest::newRow("negative") << -1 << 0 << false;
}

void TestKeyCaps::fingerCodesToHands() {
    QFETCH(int, code);
    QFETCH(int, position);
    QFETCH(bool, left);
    const auto hand = handPositionForFinger(code);
    QCOMPARE(hand.has_value(), position != 0);
    if (hand) QCOMPARE(*hand, (HandPosition{left, position}));
}

void TestKeyCaps::groupRules_data() {
    QTest::addColumn<int>("groupA");
    QTest::addColumn<int>("groupB");
    QTest::addColumn<bool>("sameParent");
    QTest::addColumn<bool>("allowAllUp");
    QTest::addColumn<bool>("aDown"); // after A down, then B down
    QTest::newRow("same group releases") << 1 << 1 << true << true << false;
    QTest::newRow("other group keeps") << 1 << 20 << true << true << true;
    QTest::newRow("other parent keeps") << 1 << 1 << false << true << true;
    QTest::newRow("group 0 never stays down") << 0 << 20 << true << true << false;
    QTest::newRow("without all-up a down key stays down") << 1 << 20 << true << false << true;
}

void TestKeyCaps::groupRules() {
    QFETCH(int, groupA);
    QFETCH(int, groupB);
    QFETCH(bool, sameParent);
    QFETCH(bool, allowAllUp);
    QFETCH(bool, aDown);
    QWidget first, second;
    ButtonType* a = makeKey(&first, groupA);
    ButtonType* b = makeKey(sameParent ? &first : &second, groupB);
    a->SetAllowAllUp(allowAllUp);
    a->SetDown(true);
    b->SetDown(true);
    QVERIFY(b->Down());
    QCOMPARE(a->Down(), aDown);
    QCOMPARE(a->IsDown(), aDown);
    // Releasing needs AllowAllUp.
    a->SetDown(false);
    QCOMPARE(a->Down(), aDown && !allowAllUp);
}

void TestKeyCaps::setKeyDownLooks_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("blink");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("inverted");
    QTest::newRow("steady") << 1 << false << true << true;
    QTest::newRow("blink: only down") << 1 << true << true << false;
    QTest::newRow("group 0: inverted but up") << 0 << false << false << true;
}

void TestKeyCaps::setKeyDownLooks() {
    QFETCH(int, group);
    QFETCH(bool, blink);
    QFETCH(bool, down);
    QFETCH(bool, inverted);
    QWidget parent;
    ButtonType* key = makeKey(&parent, group);
    key->Blink = blink;
    key->SetKeyDown(true);
    QCOMPARE(key->IsDown(), down);
    QCOMPARE(key->Glyph(), inverted ? key->DownGlyph : key->UpGlyph);
    key->SetKeyDown(false);
    QVERIFY(!key->IsDown());
    QCOMPARE(key->Glyph(), key->UpGlyph);
}

void TestKeyCaps::mouseClicks() {
    QWidget parent;
    ButtonType* shift = makeKey(&parent, 1002);
    ButtonType* other = makeKey(&parent, 1002);
    ButtonType* del = makeKey(&parent, 0);
    other->move(30, 0);
    del->move(60, 0);
    QSignalSpy spy(shift, &ButtonType::clicked);
    QSignalSpy delSpy(del, &ButtonType::clicked);
    parent.show();
    other->SetDown(true);
    // A click puts a grouped key down, releasing its group; a second click releases it.
    QTest::mouseClick(shift, Qt::LeftButton);
    QVERIFY(shift->Down() && !other->Down());
    QTest::mouseClick(shift, Qt::LeftButton);
    QVERIFY(!shift->Down());
    QTest::mouseClick(shift, Qt::RightButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).value<ButtonType*>(), shift);
    QTest::mouseClick(del, Qt::LeftButton);
    QCOMPARE(delSpy.count(), 1);
    QVERIFY(!del->Down());
    // A disabled keyboard takes no clicks.
    parent.setEnabled(false);
    QTest::mouseClick(shift, Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QVERIFY(!shift->Down());
}

void TestKeyCaps::pictureWithTransparentBottomLeftColour() {
    QWidget parent;
    ButtonType* key = makeKey(&parent, 1);
    key->SetColor(0x0000FF); // red face
    key->SetHint(QStringLiteral("Enter"));
    QCOMPARE(key->toolTip(), QStringLiteral("Enter"));
    // White is the picture's bottom-left colour, so the face shows through; the mark is drawn.
    const QImage up = key->grab().toImage();
    QCOMPARE(up.pixelColor(4, 4), QColor(255, 0, 0));
    QCOMPARE(up.pixelColor(9, 7), QColor(0, 0, 0));
    // In blink mode only the sunken edge shows that the key is down, over the picture.
    key->Blink = true;
    key->SetKeyDown(true);
    QCOMPARE(key->grab().toImage().pixelColor(1, 1), QColor(0x69, 0x69, 0x69));
    QCOMPARE(key->grab().toImage().pixelColor(9, 7), QColor(0, 0, 0));
    key->SetKeyDown(false);
    QCOMPARE(key->grab().toImage().pixelColor(1, 1), QColor(255, 0, 0));
    key->Blink = false;
    // Pressed: the white became black, the mark white, one pixel lower and to the right.
    key->SetKeyDown(true);
    const QImage down = key->grab().toImage();
    QCOMPARE(down.pixelColor(4, 4), QColor(0, 0, 0));
    QCOMPARE(down.pixelColor(10, 8), QColor(255, 255, 255));
    // Without a picture the cap is a plain button face; zero size paints nothing.
    auto* blank = new ButtonType(&parent);
    blank->resize(10, 10);
    blank->SetKeyDown(true);
    QCOMPARE(blank->grab().toImage().pixelColor(5, 5), QColor(0xF0, 0xF0, 0xF0));
    blank->resize(0, 0);
    QVERIFY(blank->grab().isNull());
}

QTEST_MAIN(TestKeyCaps)
#include "tst_keycaps.moc"
