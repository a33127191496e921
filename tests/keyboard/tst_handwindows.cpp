#include "keyboard/ColorValue.h"
#include "keyboard/HandPosition.h"
#include "keyboard/ui/TPalmForm.h"

#include <QImage>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

// Lengths and colours in the layout's order: left little .. left thumb, right little .. right thumb.
const std::array<int32_t, 10> lengths = {40, 50, 60, 55, 20, 42, 52, 70, 57, 22};
const std::array<int32_t, 10> colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF,
                                        0xFFFF00, 0x0080FF, 0x80FF00, 0xFF0080, 0x8080FF};

std::unique_ptr<TPalmForm> makeHand(bool left, bool blink, const std::array<int32_t, 10>& lens = lengths) {
    auto form = std::make_unique<TPalmForm>();
    form->Blink = blink;
    form->SetHand(left);
    form->LayoutFingers(lens, colors);
    return form;
}

QColor pixelAt(TPalmForm& form, int x, int y) {
    return form.grab().toImage().pixelColor(x, y);
}

void tick(TPalmForm& form) {
    QVERIFY(QMetaObject::invokeMethod(&form, "TimerOfPalmTimer"));
}

// The layout index of a position on a hand.
int layoutIndex(bool left, int pos) {
    return (left ? 0 : 5) + pos - 1;
}

} // namespace

class TestHandWindows : public QObject {
    Q_OBJECT
private slots:
    void captionsAndWindow();
    void heightFromLongerMiddleFinger();
    void barPositions_data();
    void barPositions();
    void barsArePaintedWhereTheyStand();
    void tipDotAboveLitBar();
    void relightingTheLitPosition();
    void onlyOnePositionLit();
    void unlightCurrentStopsTimerKeepsTag();
    void positionsOutsideRangeDoNothing();
    void blinkTicksToggleLitBar();
    void blinkPhaseContinuesAcrossLightings();
    void ticksDoNothingOutsideBlinkModeOrBeforeLighting();
    void emptyHandIsNotShown();
    void zeroLengthFingerDotSitsAboveFoot();
};

void TestHandWindows::captionsAndWindow() {
    auto left = makeHand(true, false);
    auto right = makeHand(false, false);
    QCOMPARE(left->windowTitle(), QStringLiteral("Left"));
    QCOMPARE(right->windowTitle(), QStringLiteral("Right"));
    QVERIFY(left->IsLeft());
    QVERIFY(!right->IsLeft());
    QCOMPARE(left->width(), TPalmForm::OuterWidth);
    QVERIFY(left->windowFlags() & Qt::Tool);
    QVERIFY(!(left->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(left->TimerOfPalm->interval(), 250);
    QVERIFY(!left->TimerOfPalm->isActive());
    QCOMPARE(left->TimerOfPalmTag(), 0);
    // Black where no bar stands.
    QCOMPARE(pixelAt(*left, 2, 2), QColor(Qt::black));
}

void TestHandWindows::heightFromLongerMiddleFinger() {
    auto lens = lengths;
    lens[2] = 60; // left middle
    lens[7] = 70; // right middle
    for (bool left : {true, false}) {
        auto form = makeHand(left, false, lens);
        QCOMPARE(form->height(), 94);
        for (int pos = 1; pos <= 5; ++pos)
            QCOMPARE(form->Fingers(pos).BaseY, 84);
    }
    // The right middle bar runs from y 84 up to y 14 at x 28; its dot is centred at y 7.
    auto right = makeHand(false, false, lens);
    const finger& middle = right->Fingers(3);
    QCOMPARE(middle.X, 28);
    QCOMPARE(middle.Length, 70);
    QCOMPARE(middle.BaseY - middle.Length, 14);
    QCOMPARE(middle.tipY(), 7);
}

void TestHandWindows::barPositions_data() {
    QTest::addColumn<int>("fingerCode");
    QTest::addColumn<int>("x");
    QTest::newRow("left little") << 0 << 10;
    QTest::newRow("left ring") << 1 << 19;
    QTest::newRow("left middle") << 2 << 28;
    QTest::newRow("left index") << 3 << 37;
    QTest::newRow("left thumb") << 4 << 46;
    QTest::newRow("right thumb") << 5 << 10;
    QTest::newRow("right index") << 6 << 19;
    QTest::newRow("right middle") << 7 << 28;
    QTest::newRow("right ring") << 8 << 37;
    QTest::newRow("right little") << 9 << 46;
}

void TestHandWindows::barPositions() {
    QFETCH(int, fingerCode);
    QFETCH(int, x);
    const auto hand = handPositionForFinger(fingerCode);
    QVERIFY(hand);
    auto form = makeHand(hand->left, false);
    const finger& f = form->Fingers(hand->position);
    QCOMPARE(f.X, x);
    QCOMPARE(f.Length, lengths[layoutIndex(hand->left, hand->position)]);
    QCOMPARE(f.Color, colors[layoutIndex(hand->left, hand->position)]);

    // Lighting the position marks that bar, not a neighbour.
    form->LightFinger(hand->position);
    QCOMPARE(pixelAt(*form, x, f.tipY()), colorFromValue(f.Color));
    for (int pos = 1; pos <= 5; ++pos)
        if (pos != hand->position)
            QCOMPARE(pixelAt(*form, form->Fingers(pos).X, form->Fingers(pos).tipY()), QColor(Qt::black));
}

void TestHandWindows::barsArePaintedWhereTheyStand() {
    auto form = makeHand(true, false);
    const QImage image = form->grab().toImage();
    for (int pos = 1; pos <= 5; ++pos) {
        const finger& f = form->Fingers(pos);
        const QColor own = colorFromValue(f.Color);
        QCOMPARE(image.pixelColor(f.X, f.BaseY), own);
        QCOMPARE(image.pixelColor(f.X, f.BaseY - f.Length / 2), own);
        QCOMPARE(image.pixelColor(f.X, f.BaseY - f.Length), own);
        // The 6-pixel pen: two pixels either side of the centre line are covered, not the gap.
        QCOMPARE(image.pixelColor(f.X - 2, f.BaseY - f.Length / 2), own);
        QCOMPARE(image.pixelColor(f.X + 2, f.BaseY - f.Length / 2), own);
        QCOMPARE(image.pixelColor(f.X + 5, f.BaseY - f.Length / 2), QColor(Qt::black));
        // Nothing between the bar's top and the place of its dot.
        QCOMPARE(image.pixelColor(f.X, f.tipY()), QColor(Qt::black));
    }
}

void TestHandWindows::tipDotAboveLitBar() {
    auto form = makeHand(true, false);
    form->LightFinger(3);
    const finger& f = form->Fingers(3);
    QCOMPARE(form->CurrentFinger(), 3);
    QVERIFY(form->Lit(3));
    QVERIFY(form->TimerOfPalm->isActive());
    QCOMPARE(form->TimerOfPalmTag(), 1);
    const QImage lit = form->grab().toImage();
    QCOMPARE(lit.pixelColor(f.X, f.tipY()), colorFromValue(f.Color));
    // The dot is a dot: the gap between it and the bar's rounded top stays black.
    QCOMPARE(lit.pixelColor(f.X, f.tipY() - 5), QColor(Qt::black));

    form->UnlightCurrent();
    const QImage unlit = form->grab().toImage();
    QCOMPARE(unlit.pixelColor(f.X, f.tipY()), QColor(Qt::black));
    QCOMPARE(unlit.pixelColor(f.X, f.BaseY - 1), colorFromValue(f.Color));
    // A full repaint after unlighting shows every bar and no dot.
    form->show();
    const QImage repainted = form->grab().toImage();
    for (int pos = 1; pos <= 5; ++pos) {
        QCOMPARE(repainted.pixelColor(form->Fingers(pos).X, form->Fingers(pos).BaseY - 1),
                 colorFromValue(form->Fingers(pos).Color));
        QCOMPARE(repainted.pixelColor(form->Fingers(pos).X, form->Fingers(pos).tipY()), QColor(Qt::black));
    }
}

void TestHandWindows::relightingTheLitPosition() {
    auto form = makeHand(false, false);
    form->LightFinger(2);
    form->LightFinger(2);
    QVERIFY(form->Lit(2));
    QCOMPARE(form->Fingers(2).tipInk(), finger::Ink::Colour);
    QCOMPARE(form->Fingers(2).barInk(), finger::Ink::Colour);
    QCOMPARE(pixelAt(*form, form->Fingers(2).X, form->Fingers(2).tipY()),
             colorFromValue(form->Fingers(2).Color));
}

void TestHandWindows::onlyOnePositionLit() {
    auto form = makeHand(true, false);
    form->LightFinger(1);
    form->LightFinger(5);
    QVERIFY(!form->Lit(1));
    QVERIFY(form->Lit(5));
    QCOMPARE(form->CurrentFinger(), 5);
    const QImage image = form->grab().toImage();
    QCOMPARE(image.pixelColor(form->Fingers(1).X, form->Fingers(1).tipY()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(form->Fingers(5).X, form->Fingers(5).tipY()),
             colorFromValue(form->Fingers(5).Color));
}

void TestHandWindows::unlightCurrentStopsTimerKeepsTag() {
    auto form = makeHand(true, true);
    form->LightFinger(4);
    QVERIFY(form->TimerOfPalm->isActive());
    form->UnlightCurrent();
    QVERIFY(!form->TimerOfPalm->isActive());
    QCOMPARE(form->TimerOfPalmTag(), 1);
    QCOMPARE(form->CurrentFinger(), 4);
    QVERIFY(!form->Lit(4));
    // Unlighting again is harmless.
    form->UnlightCurrent();
    QVERIFY(!form->Lit(4));
}

void TestHandWindows::positionsOutsideRangeDoNothing() {
    auto form = makeHand(true, false);
    form->UnlightCurrent(); // before any lighting
    QCOMPARE(form->CurrentFinger(), 0);
    for (int pos : {0, 6, -1, 10}) {
        form->LightFinger(pos);
        form->UnlightFinger(pos);
    }
    QCOMPARE(form->CurrentFinger(), 0);
    QVERIFY(!form->TimerOfPalm->isActive());
    QCOMPARE(form->TimerOfPalmTag(), 0);
    form->LightFinger(2);
    form->LightFinger(7);
    QCOMPARE(form->CurrentFinger(), 2);
    QVERIFY(form->Lit(2));
}

void TestHandWindows::blinkTicksToggleLitBar() {
    auto form = makeHand(true, true);
    form->LightFinger(2);
    const finger& f = form->Fingers(2);
    const QPoint mid(f.X, f.BaseY - f.Length / 2);
    const QColor own = colorFromValue(f.Color);
    // Blink mode draws no dot.
    QCOMPARE(pixelAt(*form, f.X, f.tipY()), QColor(Qt::black));
    QCOMPARE(pixelAt(*form, mid.x(), mid.y()), own);
    // The window's phase starts false: the first tick erases the lit bar, the next draws it.
    tick(*form);
    QCOMPARE(pixelAt(*form, mid.x(), mid.y()), QColor(Qt::black));
    QCOMPARE(pixelAt(*form, form->Fingers(1).X, mid.y()), colorFromValue(form->Fingers(1).Color));
    tick(*form);
    QCOMPARE(pixelAt(*form, mid.x(), mid.y()), own);
    tick(*form);
    QCOMPARE(pixelAt(*form, mid.x(), mid.y()), QColor(Qt::black));
    // Unlighting draws the bar back and stops the blinking.
    form->UnlightCurrent();
    QCOMPARE(pixelAt(*form, mid.x(), mid.y()), own);
}

void TestHandWindows::blinkPhaseContinuesAcrossLightings() {
    auto form = makeHand(false, true);
    form->LightFinger(1);
    tick(*form); // erases, phase becomes true
    QVERIFY(form->BlinkPhase());
    form->LightFinger(3); // unlights 1 (drawn back), lights 3
    QCOMPARE(form->Fingers(1).barInk(), finger::Ink::Colour);
    tick(*form); // phase true: draws the lit bar
    QCOMPARE(form->Fingers(3).barInk(), finger::Ink::Colour);
    QVERIFY(!form->BlinkPhase());
    tick(*form);
    QCOMPARE(form->Fingers(3).barInk(), finger::Ink::Black);
    QCOMPARE(pixelAt(*form, form->Fingers(3).X, form->Fingers(3).BaseY - 5), QColor(Qt::black));
}

void TestHandWindows::ticksDoNothingOutsideBlinkModeOrBeforeLighting() {
    auto steady = makeHand(true, false);
    steady->LightFinger(1);
    for (int i = 0; i < 3; ++i)
        tick(*steady);
    QCOMPARE(steady->Fingers(1).barInk(), finger::Ink::Colour);
    QCOMPARE(steady->Fingers(1).tipInk(), finger::Ink::Colour);
    QVERIFY(!steady->BlinkPhase());

    auto fresh = makeHand(true, true);
    tick(*fresh); // nothing lit yet: the tag is still 0
    QVERIFY(!fresh->BlinkPhase());
    for (int pos = 1; pos <= 5; ++pos)
        QCOMPARE(fresh->Fingers(pos).barInk(), finger::Ink::Colour);
}

void TestHandWindows::emptyHandIsNotShown() {
    auto lens = lengths;
    for (int i = 5; i < 10; ++i)
        lens[i] = 0;
    auto right = makeHand(false, false, lens);
    auto left = makeHand(true, false, lens);
    QVERIFY(right->HandEmpty());
    QVERIFY(!left->HandEmpty());
    right->ShowIfUsed();
    left->ShowIfUsed();
    QVERIFY(!right->isVisible());
    QVERIFY(left->isVisible());
    // The empty hand still lights and unlights unseen.
    right->LightFinger(2);
    QVERIFY(right->Lit(2));
    right->UnlightCurrent();
    QVERIFY(!right->Lit(2));
}

void TestHandWindows::zeroLengthFingerDotSitsAboveFoot() {
    auto lens = lengths;
    lens[0] = 0;
    auto form = makeHand(true, false, lens);
    const finger& f = form->Fingers(1);
    QCOMPARE(f.tipY(), f.BaseY - 7);
    form->LightFinger(1);
    QCOMPARE(pixelAt(*form, f.X, f.BaseY - 7), colorFromValue(f.Color));
}

QTEST_MAIN(TestHandWindows)
#include "tst_handwindows.moc"
