#include "keyboard/ColorValue.h"
#include "keyboard/InvertGlyph.h"
#include "keyboard/ui/ButtonType.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// A 20x16 picture: white face with a black mark in the middle.
QImage keyPicture() {
    QImage picture(20, 16, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    for (int y = 6; y < 10; ++y)
        for (int x = 8; x < 12; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    return picture;
}

ButtonType* makeKey(QWidget* parent, int group, const QImage& picture = keyPicture()) {
    auto* key = new ButtonType(parent);
    key->setGeometry(0, 0, picture.width(), picture.height());
    key->SetGlyph(picture);
    key->UpGlyph = picture;
    key->DownGlyph = picture;
    InvertGlyph(key->DownGlyph);
    key->SetAllowAllUp(true);
    key->SetGroupIndex(group);
    return key;
}

} // namespace

class TestKeyCaps : public QObject {
    Q_OBJECT
private slots:
    void groupRules_data();
    void groupRules();
    void groupZeroNeverStaysDown();
    void withoutAllowAllUpADownKeyStaysDown();
    void setKeyDownSwapsPicture_data();
    void setKeyDownSwapsPicture();
    void mouseClickTogglesGroupedKey();
    void mouseClickOnUngroupedKey();
    void disabledParentTakesNoClicks();
    void hintIsToolTip();
    void pictureDrawnWithTransparentBottomLeftColour();
    void emptyPictureAndZeroSize();
};

void TestKeyCaps::groupRules_data() {
    QTest::addColumn<int>("groupA");
    QTest::addColumn<int>("groupB");
    QTest::addColumn<bool>("sameParent");
    QTest::addColumn<bool>("aStaysDown");
    QTest::newRow("same group releases") << 1 << 1 << true << false;
    QTest::newRow("other group keeps") << 1 << 20 << true << true;
    QTest::newRow("shift caps share 1002") << 1002 << 1002 << true << false;
    QTest::newRow("other parent keeps") << 1 << 1 << false << true;
}

void TestKeyCaps::groupRules() {
    QFETCH(int, groupA);
    QFETCH(int, groupB);
    QFETCH(bool, sameParent);
    QFETCH(bool, aStaysDown);
    QWidget first, second;
    ButtonType* a = makeKey(&first, groupA);
    ButtonType* b = makeKey(sameParent ? &first : &second, groupB);
    a->SetDown(true);
    QVERIFY(a->Down());
    b->SetDown(true);
    QVERIFY(b->Down());
    QCOMPARE(a->Down(), aStaysDown);
    QCOMPARE(a->IsDown(), aStaysDown);
}

void TestKeyCaps::groupZeroNeverStaysDown() {
    QWidget parent;
    ButtonType* backspace = makeKey(&parent, 0);
    backspace->SetDown(true);
    QVERIFY(!backspace->Down());
    // Pressed through SetKeyDown it shows the inverted picture but stays up.
    backspace->SetKeyDown(true);
    QVERIFY(!backspace->IsDown());
    QCOMPARE(backspace->Glyph(), backspace->DownGlyph);
    // A key that loses its group loses its down state.
    ButtonType* letter = makeKey(&parent, 1);
    letter->SetDown(true);
    letter->SetGroupIndex(0);
    QVERIFY(!letter->Down());
}

void TestKeyCaps::withoutAllowAllUpADownKeyStaysDown() {
    QWidget parent;
    ButtonType* key = makeKey(&parent, 1);
    key->SetAllowAllUp(false);
    key->SetDown(true);
    key->SetDown(false);
    QVERIFY(key->Down());
    // Another key of the group still takes over.
    ButtonType* other = makeKey(&parent, 1);
    other->SetDown(true);
    QVERIFY(!key->Down());
}

void TestKeyCaps::setKeyDownSwapsPicture_data() {
    QTest::addColumn<bool>("blink");
    QTest::newRow("steady") << false;
    QTest::newRow("blink") << true;
}

void TestKeyCaps::setKeyDownSwapsPicture() {
    QFETCH(bool, blink);
    QWidget parent;
    ButtonType* key = makeKey(&parent, 1);
    key->Blink = blink;
    key->SetKeyDown(true);
    QVERIFY(key->IsDown());
    QCOMPARE(key->Glyph(), blink ? key->UpGlyph : key->DownGlyph);
    if (!blink) QCOMPARE(key->Glyph().pixel(0, key->Glyph().height() - 1) & 0xFFFFFFu, 0x808080u);
    key->SetKeyDown(false);
    QVERIFY(!key->IsDown());
    QCOMPARE(key->Glyph(), key->UpGlyph);
}

void TestKeyCaps::mouseClickTogglesGroupedKey() {
    QWidget parent;
    parent.resize(100, 50);
    ButtonType* shift = makeKey(&parent, 1002);
    ButtonType* other = makeKey(&parent, 1002);
    other->move(30, 0);
    QSignalSpy spy(shift, &ButtonType::clicked);
    parent.show();
    other->SetDown(true);
    QTest::mouseClick(shift, Qt::LeftButton);
    QVERIFY(shift->Down());
    QVERIFY(!other->Down());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<ButtonType*>(), shift);
    // A second click releases it, since all keys of a group may be up.
    QTest::mouseClick(shift, Qt::LeftButton);
    QVERIFY(!shift->Down());
    QCOMPARE(spy.count(), 2);
    // The right button is no click.
    QTest::mouseClick(shift, Qt::RightButton);
    QCOMPARE(spy.count(), 2);
}

void TestKeyCaps::mouseClickOnUngroupedKey() {
    QWidget parent;
    ButtonType* del = makeKey(&parent, 0);
    QSignalSpy spy(del, &ButtonType::clicked);
    parent.show();
    QTest::mouseClick(del, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QVERIFY(!del->Down());
}

void TestKeyCaps::disabledParentTakesNoClicks() {
    QWidget parent;
    ButtonType* key = makeKey(&parent, 1);
    QSignalSpy spy(key, &ButtonType::clicked);
    parent.show();
    parent.setEnabled(false);
    QTest::mouseClick(key, Qt::LeftButton);
    QCOMPARE(spy.count(), 0);
    QVERIFY(!key->Down());
}

void TestKeyCaps::hintIsToolTip() {
    QWidget parent;
    ButtonType* key = makeKey(&parent, 1);
    key->SetHint(QStringLiteral("Enter"));
    QCOMPARE(key->toolTip(), QStringLiteral("Enter"));
    QCOMPARE(key->Hint(), QStringLiteral("Enter"));
}

void TestKeyCaps::pictureDrawnWithTransparentBottomLeftColour() {
    QWidget parent;
    ButtonType* key = makeKey(&parent, 1);
    key->SetColor(0x0000FF); // red face
    QImage up = key->grab().toImage();
    // White is the picture's bottom-left colour, so the face shows through; the mark is drawn.
    QCOMPARE(up.pixelColor(4, 4), QColor(255, 0, 0));
    QCOMPARE(up.pixelColor(9, 7), QColor(0, 0, 0));
    key->SetKeyDown(true);
    const QImage down = key->grab().toImage();
    // Inverted: the white face became black, the mark white (one pixel lower and to the right).
    QCOMPARE(down.pixelColor(4, 4), QColor(0, 0, 0));
    QCOMPARE(down.pixelColor(10, 8), QColor(255, 255, 255));
}

void TestKeyCaps::emptyPictureAndZeroSize() {
    QWidget parent;
    auto* key = new ButtonType(&parent);
    key->resize(10, 10);
    QCOMPARE(colorFromValue(key->Color()), QColor(0xF0, 0xF0, 0xF0));
    key->SetKeyDown(true); // both pictures empty
    QVERIFY(key->Glyph().isNull());
    QCOMPARE(key->grab().toImage().pixelColor(5, 5), QColor(0xF0, 0xF0, 0xF0));
    key->resize(0, 0);
    parent.show();
    key->update();
    QVERIFY(key->grab().isNull());
}

QTEST_MAIN(TestKeyCaps)
#include "tst_keycaps.moc"
