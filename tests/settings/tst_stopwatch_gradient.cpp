#include "platform/Errors.h"
#include "settings/GradientColor.h"
#include "settings/Stopwatch.h"

#include <QtTest>

class TestStopwatchGradient : public QObject {
    Q_OBJECT
    int32_t m_now = 0;
    stopwatch make() {
        return stopwatch([this] { return m_now; });
    }
private slots:
    void init() { m_now = 0; }
    void newReadsFloorAndStoresIt();
    void stopFreezesReading();
    void resetStoppedReadsFloor();
    void stopWhenStoppedChangesNothing();
    void floorIsStoredWhileRunning();
    void acrossMidnight();
    void startDoesNotReset();
    void gradient_data();
    void gradient();
    void gradientZeroMax();
};

void TestStopwatchGradient::newReadsFloorAndStoresIt() {
    auto sw = make();
    QCOMPARE(sw.GetElapsed(), 25);
    sw.Start();
    m_now = 10;
    QCOMPARE(sw.GetElapsed(), 35); // 25 stored, plus 10
}

void TestStopwatchGradient::stopFreezesReading() {
    auto sw = make();
    sw.SetElapsed(700);
    m_now = 5000;
    sw.Start();
    m_now = 6000;
    sw.Stop(); // the stretch since the start replaces what was stored
    QCOMPARE(sw.GetElapsed(), 1000);
    m_now = 9000;
    QCOMPARE(sw.GetElapsed(), 1000);
    // After a running reading, Stop keeps only the stretch since that reading.
    sw.Start();
    m_now = 9100;
    QCOMPARE(sw.GetElapsed(), 1100);
    m_now = 9300;
    sw.Stop();
    QCOMPARE(sw.GetElapsed(), 200);
}

void TestStopwatchGradient::resetStoppedReadsFloor() {
    auto sw = make();
    sw.Start();
    m_now = 4000;
    sw.Stop();
    sw.SetElapsed(0);
    QCOMPARE(sw.GetElapsed(), 25);
}

void TestStopwatchGradient::stopWhenStoppedChangesNothing() {
    auto sw = make();
    sw.Start();
    m_now = 300;
    sw.Stop();
    m_now = 900;
    sw.Stop();
    QCOMPARE(sw.GetElapsed(), 300);
    QVERIFY(sw.IsStopped());
}

void TestStopwatchGradient::floorIsStoredWhileRunning() {
    auto sw = make();
    sw.SetElapsed(0);
    sw.Start();
    QList<int> readings;
    for (int i = 1; i <= 4; ++i) {
        m_now = i * 10;
        readings << sw.GetElapsed();
    }
    QCOMPARE(readings, (QList<int>{25, 35, 45, 55}));
}

void TestStopwatchGradient::acrossMidnight() {
    auto sw = make();
    sw.SetElapsed(0);
    m_now = 86399900;
    sw.Start();
    m_now = 100;
    sw.Stop();
    QCOMPARE(sw.GetElapsed(), 25);
}

void TestStopwatchGradient::startDoesNotReset() {
    auto sw = make();
    sw.Start();
    m_now = 1000;
    sw.Stop();
    m_now = 2000;
    sw.Start();
    m_now = 2500;
    QCOMPARE(sw.GetElapsed(), 1500);
    // Start while running only moves the start: the time before it is not counted.
    m_now = 3000;
    sw.Start();
    m_now = 3100;
    QCOMPARE(sw.GetElapsed(), 1600);
}

void TestStopwatchGradient::gradient_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("result");
    QTest::newRow("half way") << 255 << 65280 << 0 << 100 << 50 << 25755;
    QTest::newRow("end is not lime") << 255 << 65280 << 0 << 100 << 100 << 51255;
    QTest::newRow("min ignored") << 255 << 65280 << 77 << 100 << 50 << 25755;
    QTest::newRow("start drops top byte") << int(0x7F0000FF) << 65280 << 0 << 100 << 0 << 255;
    QTest::newRow("max one") << 255 << int(0x12FFFF00) << 0 << 1 << 1 << 0xFFFF00;
    QTest::newRow("outside wraps") << 0 << 255 << 0 << 1 << 2 << 0xFE;
}

void TestStopwatchGradient::gradient() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(int, result);
    QCOMPARE(GradientColor(from, to, min, max, position), result);
}

void TestStopwatchGradient::gradientZeroMax() {
    QVERIFY_THROWS_EXCEPTION(EZeroDivide, GradientColor(0, 255, 0, 0, 0));
}

QTEST_GUILESS_MAIN(TestStopwatchGradient)
#include "tst_stopwatch_gradient.moc"
