#include "keyboard/ui/TVKeyboard.h"
#include "shell/ui/FramePlacement.h"
#include "shell/ui/KeyboardCompanion.h"

#include <QDialog>
#include <QWidget>
#include <QtTest>

namespace {
// Whether a modal window blocks a window, as Qt tells the window.
class BlockedState : public QObject {
public:
    explicit BlockedState(QWidget* window) { window->installEventFilter(this); }
    bool blocked = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked) blocked = true;
        if (event->type() == QEvent::WindowUnblocked) blocked = false;
        return false;
    }
};
} // namespace

class TestFramePlacement : public QObject {
    Q_OBJECT

private slots:
    void hiddenWindowUsesTheLastFrameSeen_data();
    void hiddenWindowUsesTheLastFrameSeen();
    void shownWindowKeepsItsOwnFrame();
    void frameLandsWhereAsked_data();
    void frameLandsWhereAsked();
    void keyboardIsNotBlockedByTheModalDrill();
};

void TestFramePlacement::hiddenWindowUsesTheLastFrameSeen_data() {
    QTest::addColumn<bool>("framedBefore");
    QTest::newRow("never framed") << false;
    QTest::newRow("framed, then hidden") << true;
}

void TestFramePlacement::hiddenWindowUsesTheLastFrameSeen() {
    QFETCH(bool, framedBefore);
    QWidget window;
    window.setGeometry(300, 400, 61, 94);
    QMargins frame;
    if (framedBefore) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        frame = window.windowHandle()->frameMargins();
        QVERIFY(!frame.isNull()); // this platform frames its windows too
        QCOMPARE(framedGeometry(&window), QRect(300, 400, 61, 94).marginsAdded(frame));
        window.hide();
    }
    // Client area 61 x 94 at (300, 400), with the frame last seen around it, even where the
    // window moved while hidden.
    QCOMPARE(framedGeometry(&window), QRect(300, 400, 61, 94).marginsAdded(frame));
    window.setGeometry(200, 150, 61, 94);
    QCOMPARE(framedGeometry(&window), QRect(200, 150, 61, 94).marginsAdded(frame));
}

void TestFramePlacement::shownWindowKeepsItsOwnFrame() {
    QWidget window;
    window.setGeometry(300, 400, 61, 94);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect outer = window.frameGeometry();
    QVERIFY(outer != window.geometry()); // this platform frames its windows too
    QCOMPARE(framedGeometry(&window), outer);
    window.hide();
    QCOMPARE(framedGeometry(&window), outer);
    QCOMPARE(framedGeometry(nullptr), QRect());
}

void TestFramePlacement::frameLandsWhereAsked_data() {
    QTest::addColumn<bool>("shownFirst");
    QTest::newRow("never shown") << false;
    QTest::newRow("shown, hidden and placed again") << true;
}

void TestFramePlacement::frameLandsWhereAsked() {
    QFETCH(bool, shownFirst);
    QWidget window;
    window.resize(61, 94);
    if (shownFirst) {
        window.move(10, 10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(framedGeometry(&window) != window.geometry());
        window.hide();
    }
    placeFrameAt(&window, 250, 389);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.frameGeometry().topLeft(), QPoint(250, 389));
    QCOMPARE(framedGeometry(&window).topLeft(), QPoint(250, 389));
    QCOMPARE(window.size(), QSize(61, 94));

    QWidget child(&window);
    placeFrameAt(&child, 5, 7);
    QCOMPARE(child.pos(), QPoint(5, 7));
    QCOMPARE(framedGeometry(&child), child.geometry());
}

// Qt hands no close request to a window that a modal one blocks: the keyboard, shown by a modal
// drill, must not be blocked by it, or its close box would do nothing.
void TestFramePlacement::keyboardIsNotBlockedByTheModalDrill() {
    QWidget main;
    main.show();
    TVKeyboard keyboard;
    KeyboardCompanion companion(&keyboard, &main);
    QDialog drill(&main);
    drill.setWindowModality(Qt::ApplicationModal);
    BlockedState mainState(&main);
    BlockedState keyboardState(&keyboard);
    companion.Show(&drill); // as the drill does while it is being shown
    drill.show();
    QVERIFY(QTest::qWaitForWindowExposed(&drill));
    companion.BringToFront(); // as the drill does once it is in front
    QTRY_VERIFY_WITH_TIMEOUT(mainState.blocked, 30000);
    QVERIFY(!keyboardState.blocked);
    QVERIFY(keyboard.isVisible());
    QVERIFY(keyboard.close()); // what the close box asks for
    QVERIFY(!keyboard.isVisible());
    QVERIFY(drill.isVisible());
}

QTEST_MAIN(TestFramePlacement)
#include "tst_frame_placement.moc"
