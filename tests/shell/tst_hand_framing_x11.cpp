// A hand window placed by its frame on a real X server with a window manager. The window manager
// frames a window after it is mapped, and the program may learn the frame (which it reads from
// the server on demand) before it has handled the news of where the framed window now stands.
// The test holds that moment open: it places and shows the hand, lets the window manager frame
// it while the program handles no events, and only then lets the window see the new frame.
#include "keyboard/ui/TPalmForm.h"
#include "shell/ui/HandCompanion.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>
#include <QtTest>

namespace {

// How long the X server and the window manager may take to answer, on a busy machine.
constexpr int AnswerBoundMs = 30000;

// Xvfb and openbox for the whole test; the display stays empty when either is missing.
struct XServer {
    QTemporaryDir dir;
    QProcess xvfb;
    QProcess wm;
    QByteArray display;

    static bool run(const QString& program, const QStringList& args) {
        return QProcess::execute(program, args) == 0;
    }
    static QByteArray output(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        p.waitForFinished(AnswerBoundMs);
        return p.readAllStandardOutput();
    }

    bool start() {
        for (const char* tool : {"Xvfb", "openbox", "xprop", "xwininfo"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
        // Xvfb names the free display it took once it accepts connections.
        const QString file = dir.filePath(QStringLiteral("display"));
        xvfb.start(
            QStringLiteral("bash"),
            {QStringLiteral("-c"),
             QStringLiteral("exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>'%1'").arg(file)});
        for (QDeadlineTimer bound(AnswerBoundMs); display.isEmpty() && !bound.hasExpired();) {
            QThread::msleep(100);
            QFile f(file);
            if (f.open(QIODevice::ReadOnly)) display = f.readLine().trimmed();
        }
        if (display.isEmpty()) return false;
        display.prepend(':');
        qputenv("DISPLAY", display);
        wm.start(QStringLiteral("openbox"), {});
        // The window manager names its check window on the root window once it has taken charge of
        // the screen; the test's first window then waits until it is framed (see Probe).
        for (QDeadlineTimer bound(AnswerBoundMs); !bound.hasExpired();) {
            if (output(QStringLiteral("xprop"),
                       {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                    .contains("window id"))
                return true;
            QThread::msleep(100);
        }
        return false;
    }
    ~XServer() {
        for (QProcess* p : {&wm, &xvfb}) {
            p->terminate();
            p->waitForFinished(3000);
        }
    }
};

// Waits, handling no events, until the window manager has framed window `wid`.
bool waitFramedBehindTheProgramsBack(WId wid) {
    for (QDeadlineTimer bound(AnswerBoundMs); !bound.hasExpired();) {
        const QByteArray extents =
            XServer::output(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(wid),
                                                      QStringLiteral("_NET_FRAME_EXTENTS")});
        if (extents.contains('=')) return true;
        QThread::msleep(50);
    }
    return false;
}

// The outer geometry of window `wid` as the X server has it: its client area grown by the frame
// the window manager reports.
QRect outerOnServer(WId wid) {
    const QString id = QString::number(wid);
    const QByteArray info = XServer::output(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    const auto field = [&info](const char* name) {
        const int at = info.indexOf(name);
        return at < 0 ? -1 : info.mid(at + int(qstrlen(name))).trimmed().split('\n').first().toInt();
    };
    const QRect client(field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"),
                       field("Height:"));
    const QByteArray extents = XServer::output(
        QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
    const QList<QByteArray> lrtb = extents.mid(extents.indexOf('=') + 1).split(',');
    if (lrtb.size() != 4) return QRect();
    return client.marginsAdded(QMargins(lrtb[0].trimmed().toInt(), lrtb[2].trimmed().toInt(),
                                        lrtb[1].trimmed().toInt(), lrtb[3].trimmed().toInt()));
}

// The window as the X server and the program have it: where it stands, its frame, and whether
// it is shown.
QString windowState(QWidget& window) {
    const QString id = QString::number(window.winId());
    const QRect frame = window.frameGeometry();
    return QString::fromLatin1(XServer::output(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}) +
                               XServer::output(QStringLiteral("xprop"),
                                               {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")})) +
           QStringLiteral("program: %1 %2 %3 %4 %5")
               .arg(frame.x())
               .arg(frame.y())
               .arg(frame.width())
               .arg(frame.height())
               .arg(window.isVisible());
}

// A framed window of the test's own, moved to learn when the window manager has caught up: the
// window manager takes the requests of the program in the order they were made, so once it has
// moved this window it has answered every request the program made before.
class Probe {
public:
    bool show() {
        m_window.setWindowTitle(QStringLiteral("probe"));
        m_window.resize(100, 40);
        m_window.move(0, 900);
        m_window.show();
        return waitFramedBehindTheProgramsBack(m_window.winId());
    }
    // Returns once the window manager has answered every request the program has made so far
    // and the program has handled those answers.
    bool caughtUp() {
        const QRect before = outerOnServer(m_window.winId());
        m_shift = 40 - m_shift;
        m_window.windowHandle()->setFramePosition(QPoint(m_shift, 900));
        QGuiApplication::sync();
        for (QDeadlineTimer bound(AnswerBoundMs); !bound.hasExpired();) {
            if (outerOnServer(m_window.winId()) != before) {
                QGuiApplication::sync(); // the answers sent before this one, handled
                return true;
            }
            QTest::qWait(20);
        }
        return false;
    }
    // Waits until `window` stands still: the same before and after the window manager has caught
    // up once more, so that neither side has anything left to say about it.
    bool settled(QWidget& window) {
        QString last = windowState(window);
        for (int round = 0; round < 20; ++round) {
            if (!caughtUp()) return false;
            const QString now = windowState(window);
            if (now == last) return true;
            last = now;
        }
        return false;
    }

private:
    QWidget m_window;
    int m_shift = 0;
};

// Ten fingers of one length: a hand of its usual size.
void layOutEqualFingers(TPalmForm& hand) {
    std::array<int32_t, 10> lengths;
    lengths.fill(50);
    hand.LayoutFingers(lengths, std::array<int32_t, 10>{});
}

} // namespace

class TestHandFramingX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void frameStaysWherePlacedWhenFramedLate_data();
    void frameStaysWherePlacedWhenFramedLate();
    void reopenedHandKeepsItsWidthAndCorner_data();
    void reopenedHandKeepsItsWidthAndCorner();

private:
    std::unique_ptr<Probe> m_probe;
};

void TestHandFramingX11::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs Xvfb, openbox, xprop and xwininfo");
    // Framed once the window manager takes charge of new windows.
    m_probe = std::make_unique<Probe>();
    QVERIFY(m_probe->show());
}

void TestHandFramingX11::frameStaysWherePlacedWhenFramedLate_data() {
    QTest::addColumn<bool>("shownBefore");
    QTest::newRow("first showing") << false;
    QTest::newRow("shown, hidden and placed again") << true;
}

void TestHandFramingX11::frameStaysWherePlacedWhenFramedLate() {
    QFETCH(bool, shownBefore);
    TPalmForm hand;
    layOutEqualFingers(hand);
    HandCompanion companion(&hand);
    if (shownBefore) {
        companion.moveTo(600, 100);
        companion.ShowIfUsed();
        QVERIFY(waitFramedBehindTheProgramsBack(hand.winId()));
        QVERIFY(m_probe->settled(hand));
        companion.Hide();
        QVERIFY(m_probe->settled(hand));
    }
    const QPoint corner(250, 389);
    companion.moveTo(corner.x(), corner.y());
    companion.ShowIfUsed();
    QVERIFY(waitFramedBehindTheProgramsBack(hand.winId()));
    // Any look at the window's frame now (its activation, a move, a show) reads the new frame.
    QEvent activation(QEvent::ActivationChange);
    QCoreApplication::sendEvent(&hand, &activation);

    QTRY_COMPARE(hand.frameGeometry().width(), TPalmForm::OuterWidth);
    QVERIFY(m_probe->settled(hand)); // the window manager's answers to every request made meanwhile
    QCOMPARE(hand.frameGeometry().topLeft(), corner);
    QVERIFY(hand.geometry().top() > corner.y()); // under a title bar
}

void TestHandFramingX11::reopenedHandKeepsItsWidthAndCorner_data() {
    QTest::addColumn<int>("placedAgainAfterMs");
    QTest::newRow("placed again at once") << 0;
    QTest::newRow("placed again 5 ms later") << 5;
    QTest::newRow("placed again while being framed") << 10;
}

void TestHandFramingX11::reopenedHandKeepsItsWidthAndCorner() {
    // As a drill does it each time it opens: the hand is placed and shown, and placed again once
    // the drill's own frame is known; when the drill closes it is hidden.
    QFETCH(int, placedAgainAfterMs);
    TPalmForm hand;
    layOutEqualFingers(hand);
    HandCompanion companion(&hand);
    const QPoint early(968, 368);
    const QPoint corner(968, 389);
    for (int opening = 1; opening <= 8; ++opening) {
        companion.moveTo(early.x(), early.y());
        companion.ShowIfUsed();
        QTest::qWait(placedAgainAfterMs);
        companion.moveTo(corner.x(), corner.y());
        QVERIFY(m_probe->settled(hand)); // the window manager's answers to every request made meanwhile
        const QRect outer = outerOnServer(hand.winId());
        QVERIFY2(outer.width() == TPalmForm::OuterWidth && outer.topLeft() == corner,
                 qPrintable(QStringLiteral("opening %1: the frame is %2 x %3 at (%4, %5)")
                                .arg(opening)
                                .arg(outer.width())
                                .arg(outer.height())
                                .arg(outer.x())
                                .arg(outer.y())));
        companion.Hide();
        QVERIFY(m_probe->settled(hand));
    }
}

int main(int argc, char** argv) {
    XServer x;
    if (x.start()) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestHandFramingX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hand_framing_x11.moc"
