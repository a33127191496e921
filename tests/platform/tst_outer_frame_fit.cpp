#include "platform/ui/OuterFrameFit.h"

#include <QWidget>
#include <QtTest>

Q_DECLARE_METATYPE(WindowExtent)

class TestOuterFrameFit : public QObject {
    Q_OBJECT
private slots:
    void clientSizeFromExtents_data();
    void clientSizeFromExtents();
    void outerGeometryHoldsOnceFramed_data();
    void outerGeometryHoldsOnceFramed();
    void shownAgainFitsAtOnce();
    void releasedWindowIsLeftAlone();
};

void TestOuterFrameFit::clientSizeFromExtents_data() {
    QTest::addColumn<WindowExtent>("width");
    QTest::addColumn<WindowExtent>("height");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QSize>("client");
    const QMargins titled(1, 20, 1, 1);
    QTest::newRow("outer both") << WindowExtent::outer(1280) << WindowExtent::outer(999) << titled << QSize(1278, 978);
    QTest::newRow("outer width, client height")
        << WindowExtent::outer(1152) << WindowExtent::client(230) << titled << QSize(1150, 230);
    QTest::newRow("client both") << WindowExtent::client(61) << WindowExtent::client(94) << titled << QSize(61, 94);
    QTest::newRow("no frame yet") << WindowExtent::outer(63) << WindowExtent::outer(94) << QMargins() << QSize(63, 94);
    QTest::newRow("frame wider than the window")
        << WindowExtent::outer(2) << WindowExtent::outer(10) << titled << QSize(1, 1);
}

void TestOuterFrameFit::clientSizeFromExtents() {
    QFETCH(WindowExtent, width);
    QFETCH(WindowExtent, height);
    QFETCH(QMargins, frame);
    QTEST(OuterFrameFit::clientSize(width, height, frame), "client");
}

void TestOuterFrameFit::outerGeometryHoldsOnceFramed_data() {
    QTest::addColumn<bool>("outerHeight");
    QTest::newRow("outer width and height") << true;
    QTest::newRow("outer width, client height") << false;
}

void TestOuterFrameFit::outerGeometryHoldsOnceFramed() {
    QFETCH(bool, outerHeight);
    QWidget window;
    auto* fit = new OuterFrameFit(&window);
    const WindowExtent height = outerHeight ? WindowExtent::outer(300) : WindowExtent::client(230);
    fit->fit(QPoint(30, 40), WindowExtent::outer(500), height);
    // Before it is framed the window has no frame to leave room for.
    QCOMPARE(window.size(), QSize(500, outerHeight ? 300 : 230));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Framed, the frame takes its part of the extents and its corner stays where it was asked.
    QTRY_COMPARE(window.frameGeometry().width(), 500);
    const QMargins frame = fit->frame();
    QVERIFY(!frame.isNull()); // this platform frames its windows too
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(30, 40));
    if (outerHeight)
        QCOMPARE(window.frameGeometry().height(), 300);
    else
        QCOMPARE(window.height(), 230);
    // Nobody can resize it.
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.minimumSize(), window.size());
}

void TestOuterFrameFit::shownAgainFitsAtOnce() {
    // Hidden, the window keeps the frame it was seen with: fitted again while hidden, it is the
    // right size before it is shown.
    QWidget window;
    OuterFrameFit fit(&window);
    fit.fit(WindowExtent::outer(63), WindowExtent::client(94));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.frameGeometry().width(), 63);
    const int client = window.width();
    QVERIFY(client < 63);
    window.hide();
    fit.fit(WindowExtent::outer(63), WindowExtent::client(120));
    QCOMPARE(window.size(), QSize(client, 120));
}

void TestOuterFrameFit::releasedWindowIsLeftAlone() {
    QWidget window;
    OuterFrameFit fit(&window);
    fit.fit(WindowExtent::outer(200), WindowExtent::outer(100));
    fit.release();
    window.setFixedSize(217, 345);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);
    QCOMPARE(window.size(), QSize(217, 345));
}

QTEST_MAIN(TestOuterFrameFit)
#include "tst_outer_frame_fit.moc"
