#include "keyboard/ColorValue.h"
#include "keyboard/HandPosition.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"

#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

// Layout order: left little .. left thumb, right little .. right thumb. Left middle 60, right 70.
const std::array<int32_t, 10> lengths = {40, 50, 60, 55, 0, 42, 52, 70, 57, 22};
const std::array<int32_t, 10> colors = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF,
                                        0xFFFF00, 0x0080FF, 0x80FF00, 0xFF0080, 0x8080FF};
const QColor black(Qt::black);

std::unique_ptr<TPalmForm> makeHand(bool left, bool blink, const std::array<int32_t, 10>& lens = lengths) {
    auto form = std::make_unique<TPalmForm>();
    form->Blink = blink;
    form->SetHand(left);
    form->LayoutFingers(lens, colors);
    return form;
}

QColor own(const finger& f) {
    return colorFromValue(f.Color);
}
void tick(TPalmForm& form) {
    QVERIFY(QMetaObject::invokeMethod(&form, "TimerOfPalmTimer"));
}

} // namespace

class TestHandWindows : public QObject {
    Q_OBJECT
private slots:
    void window();
    void geometry_data();
    void geometry();
    void lightingMarksOneFinger();
    void blinking();
    void emptyHand();
    void lightingKeepsTheTimersBeat();
    void fingersTallerThanTheScreen();
    void keyboardWindowNeverTakesTheKeyboard();
};

void TestHandWindows::window() {
    auto left = makeHand(true, false);
    auto right = makeHand(false, false);
    QCOMPARE(left->windowTitle(), QStringLiteral("Left"));
    QCOMPARE(right->windowTitle(), QStringLiteral("Right"));
    QVERIFY(left->windowFlags() & Qt::Tool);
    QVERIFY(!(left->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(left->width(), 63);
    // 63 is the whole window's width once its frame is known; the bars stay where they are.
    left->show();
    QTRY_COMPARE(left->frameGeometry().width(), 63);
    QCOMPARE(left->Fingers(5).X, 46);
    // Nobody can stretch it: the bars would stay where they are.
    QCOMPARE(left->minimumSize(), left->maximumSize());
    QCOMPARE(left->minimumSize(), left->size());
    // Both hands take their height from the longer middle finger.
    QCOMPARE(left->height(), 94);
    QCOMPARE(right->height(), 94);
    QCOMPARE(left->TimerOfPalm->interval(), 250);
    QVERIFY(!left->TimerOfPalm->isActive());
    QCOMPARE(left->TimerOfPalmTag(), 0);
}

void TestHandWindows::geometry_data() {
    QTest::addColumn<int>("fingerCode");
    QTest::addColumn<int>("x");
    QTest::newRow("left little") << 0 << 10;
    QTest::newRow("left ring") << 1 << 19;
    QTest::newRow("left middle") << 2 << 28;
    QTest::newRow("left index") << 3 << 37;
    QTest::newRow("left thumb, no length") << 4 << 46;
    QTest::newRow("right thumb") << 5 << 10;
    QTest::newRow("right index") << 6 << 19;
    QTest::newRow("right middle") << 7 << 28;
    QTest::newRow("right ring") << 8 << 37;
    QTest::newRow("right little") << 9 << 46;
}

void TestHandWindows::geometry() {
    QFETCH(int, fingerCode);
    QFETCH(int, x);
    const auto hand = handPositionForFinger(fingerCode);
    auto form = makeHand(hand->left, false);
    const finger& f = form->Fingers(hand->position);
    const int value = (hand->left ? 0 : 5) + hand->position - 1;
    QCOMPARE(f.X, x);
    QCOMPARE(f.BaseY, 84);
    QCOMPARE(f.Length, lengths[value]);
    QCOMPARE(f.Color, colors[value]);
    QCOMPARE(f.tipY(), 84 - lengths[value] - 7); // the right middle finger's dot: y 7

    // The bar: 6 pixels wide from its foot up to its top, then black up to its dot.
    form->LightFinger(hand->position);
    const QImage image = form->grab().toImage();
    for (int y : {f.BaseY, f.BaseY - f.Length / 2, f.BaseY - f.Length}) {
        QCOMPARE(image.pixelColor(x, y), own(f));
        QCOMPARE(image.pixelColor(x - 2, y), own(f));
        QCOMPARE(image.pixelColor(x + 2, y), own(f));
        QCOMPARE(image.pixelColor(x + 5, y), black);
    }
    QCOMPARE(image.pixelColor(x, f.BaseY - f.Length - 4), black);
    QCOMPARE(image.pixelColor(x, f.tipY()), own(f));
    QCOMPARE(image.pixelColor(x, f.tipY() - 5), black);
}

void TestHandWindows::lightingMarksOneFinger() {
    auto form = makeHand(true, false);
    auto dotShown = [&form](int pos) {
        const finger& f = form->Fingers(pos);
        return form->grab().toImage().pixelColor(f.X, f.tipY()) == own(f);
    };
    // Nothing lit: bars only; unlighting or positions outside 1..5 change nothing.
    form->UnlightCurrent();
    for (int pos : {0, 6, -1})
        form->LightFinger(pos);
    QCOMPARE(form->CurrentFinger(), 0);
    QCOMPARE(form->TimerOfPalmTag(), 0);
    for (int pos = 1; pos <= 5; ++pos)
        QVERIFY(!dotShown(pos));

    form->LightFinger(1);
    form->LightFinger(4);
    QVERIFY(!form->Lit(1) && form->Lit(4));
    QVERIFY(!dotShown(1) && dotShown(4));
    QVERIFY(form->TimerOfPalm->isActive());
    QCOMPARE(form->TimerOfPalmTag(), 1);
    // Lighting the lit finger again unlights and relights it.
    form->LightFinger(4);
    QVERIFY(form->Lit(4) && dotShown(4));
    // Outside blink mode the ticks change nothing.
    tick(*form);
    tick(*form);
    QVERIFY(dotShown(4));
    QCOMPARE(form->Fingers(4).barInk(), finger::Ink::Colour);

    form->UnlightCurrent();
    QVERIFY(!form->Lit(4) && !dotShown(4));
    QVERIFY(!form->TimerOfPalm->isActive());
    QCOMPARE(form->TimerOfPalmTag(), 1);
    QCOMPARE(form->CurrentFinger(), 4);
    // A full repaint after that shows every bar and no dot.
    form->show();
    const QImage repainted = form->grab().toImage();
    for (int pos = 1; pos <= 5; ++pos) {
        const finger& f = form->Fingers(pos);
        QCOMPARE(repainted.pixelColor(f.X, f.BaseY - 1), own(f));
        QCOMPARE(repainted.pixelColor(f.X, f.tipY()), black);
    }
}

void TestHandWindows::blinking() {
    auto form = makeHand(false, true);
    auto barShown = [&form](int pos) {
        const finger& f = form->Fingers(pos);
        return form->grab().toImage().pixelColor(f.X, f.BaseY - f.Length / 2) == own(f);
    };
    tick(*form); // nothing lit yet: the timer's tag is 0
    QVERIFY(!form->BlinkPhase());
    form->LightFinger(2);
    // No dot in blink mode; the phase starts false, so the first tick erases the lit bar.
    QCOMPARE(form->grab().toImage().pixelColor(form->Fingers(2).X, form->Fingers(2).tipY()), black);
    tick(*form);
    QVERIFY(!barShown(2) && barShown(1));
    tick(*form);
    QVERIFY(barShown(2));
    tick(*form);
    QVERIFY(!barShown(2));
    // A new finger continues the window's phase: this tick draws.
    form->LightFinger(3);
    QVERIFY(barShown(2));
    tick(*form);
    QVERIFY(barShown(3));
    tick(*form);
    QVERIFY(!barShown(3));
    form->UnlightCurrent();
    QVERIFY(barShown(3));
}

void TestHandWindows::emptyHand() {
    auto lens = lengths;
    std::fill(lens.begin() + 5, lens.end(), 0);
    auto right = makeHand(false, false, lens);
    auto left = makeHand(true, false, lens);
    QVERIFY(right->HandEmpty() && !left->HandEmpty());
    right->ShowIfUsed();
    left->ShowIfUsed();
    QVERIFY(!right->isVisible() && left->isVisible());
    // Still lit and unlit, unseen.
    right->LightFinger(2);
    QVERIFY(right->Lit(2));
}

void TestHandWindows::lightingKeepsTheTimersBeat() {
    // Fingers lit faster than the interval must not hold the blinking back.
    auto form = makeHand(true, true);
    form->LightFinger(1);
    QTest::qSleep(120);
    form->LightFinger(2);
    QVERIFY(form->TimerOfPalm->isActive());
    QVERIFY2(form->TimerOfPalm->remainingTime() < 200, "the countdown started afresh");
}

void TestHandWindows::fingersTallerThanTheScreen() {
    // The window is as tall as the screen allows; the bars stand on the height it got.
    auto lens = lengths;
    lens[2] = INT32_MAX;
    lens[0] = INT32_MIN;
    auto form = makeHand(true, false, lens);
    const int height = form->screen()->availableGeometry().height();
    QCOMPARE(form->height(), height);
    const finger& middle = form->Fingers(3);
    QCOMPARE(middle.BaseY, height - 10);
    QCOMPARE(middle.tipY(), int64_t(height) - 10 - INT32_MAX - 7);
    form->LightFinger(1);
    const QImage image = form->grab().toImage();
    QCOMPARE(image.pixelColor(middle.X, 0), own(middle));
    QCOMPARE(image.pixelColor(middle.X, middle.BaseY), own(middle));
    // A negative length runs down from the foot.
    QCOMPARE(image.pixelColor(form->Fingers(1).X, height - 1), own(form->Fingers(1)));
}

void TestHandWindows::keyboardWindowNeverTakesTheKeyboard() {
    // The drill keeps the keyboard while the on-screen keyboard or a hand is shown, raised or
    // clicked: a key that reached such a window while the drill runs would be lost (the drill
    // blocks it).
    TVKeyboard keyboard;
    TPalmForm hand;
    for (QWidget* window : std::initializer_list<QWidget*>{&keyboard, &hand}) {
        QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
        window->show();
        // What the window system is told: the window takes no input focus.
        QVERIFY(window->windowHandle()->flags() & Qt::WindowDoesNotAcceptFocus);
    }
}

QTEST_MAIN(TestHandWindows)
#include "tst_handwindows.moc"
