#include "shell/ui/FramePlacement.h"

#include <QWidget>
#include <QtTest>

class TestFramePlacement : public QObject {
    Q_OBJECT

private slots:
    void hiddenWindowUsesTheLastFrameSeen_data();
    void hiddenWindowUsesTheLastFrameSeen();
    void shownWindowKeepsItsOwnFrame();
    void frameLandsWhereAsked_data();
    void frameLandsWhereAsked();
};

void TestFramePlacement::hiddenWindowUsesTheLastFrameSeen_data() {
    QTest::addColumn<QMargins>("lastFrame");
    QTest::addColumn<QRect>("expected");
    // Client area 61 x 94 at (300, 400).
    QTest::newRow("never framed") << QMargins() << QRect(300, 400, 61, 94);
    QTest::newRow("title bar and borders") << QMargins(1, 21, 1, 5) << QRect(299, 379, 63, 120);
    QTest::newRow("borders only") << QMargins(2, 2, 2, 2) << QRect(298, 398, 65, 98);
}

void TestFramePlacement::hiddenWindowUsesTheLastFrameSeen() {
    QFETCH(QMargins, lastFrame);
    QFETCH(QRect, expected);
    QWidget window;
    window.setGeometry(300, 400, 61, 94);
    QMargins remembered = lastFrame;
    QCOMPARE(framedGeometry(&window, remembered), expected);
    QCOMPARE(remembered, lastFrame);
}

void TestFramePlacement::shownWindowKeepsItsOwnFrame() {
    QWidget window;
    window.setGeometry(300, 400, 61, 94);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect outer = window.frameGeometry();
    QVERIFY(outer != window.geometry()); // this platform frames its windows too
    // Shown, the window's own frame counts and replaces a stale one remembered; hidden, the frame
    // seen last is still added although Qt may have forgotten it.
    QMargins remembered(1, 21, 1, 5);
    QCOMPARE(framedGeometry(&window, remembered), outer);
    QCOMPARE(window.geometry().marginsAdded(remembered), outer);
    window.hide();
    QCOMPARE(framedGeometry(&window, remembered), outer);
    QCOMPARE(framedGeometry(nullptr, remembered), QRect());
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
    QMargins remembered;
    if (shownFirst) {
        window.move(10, 10);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        rememberFrame(&window, remembered);
        QVERIFY(!remembered.isNull());
        window.hide();
    }
    placeFrameAt(&window, 250, 389, remembered);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.frameGeometry().topLeft(), QPoint(250, 389));
    QCOMPARE(window.size(), QSize(61, 94));

    QWidget child(&window);
    placeFrameAt(&child, 5, 7, QMargins(1, 21, 1, 5));
    QCOMPARE(child.pos(), QPoint(5, 7));
}

QTEST_MAIN(TestFramePlacement)
#include "tst_frame_placement.moc"
