#include "game/PlayFixture.h"

#include "platform/ScriptedDialogs.h"

#include <QtTest>

// The play thread on a real worker: one step per resume, the GUI parts run on this (the GUI)
// thread through blocking queued calls, and threads that are left behind are released.
class TestPlayThread : public QObject {
    Q_OBJECT
private slots:
    void wholeGameWithScriptedTypist();
    void gameEndedByScoreRunsResultOnGuiThread();
    void abandonedWhileWaitingBetweenSteps();
    void abandonedWhileWaitingForGuiThread();

private:
    // Resumes one step and waits for it, painting and reading the score meanwhile as the window does.
    static void runOneStep(PlayFixture& f);
};

void TestPlayThread::runOneStep(PlayFixture& f) {
    f.now += 10;
    f.thread->Resume();
    QElapsedTimer guard;
    guard.start();
    while (!f.thread->Suspended() && !f.thread->isFinished()) {
        QCoreApplication::processEvents();
        f.thread->RedrawAll();
        (void)f.thread->GetScore();
        QVERIFY2(guard.elapsed() < 10000, "step did not end");
    }
}

// The typist presses the next letter of the word it is typing, or the first letter of the
// lowest falling word, once per step.
static char nextKey(threadType& t) {
    std::lock_guard<std::mutex> locker(t.lock());
    if (t.Locked && t.Target) return t.Target->Text.at(t.Target->Typed);
    const strikerType* lowest = nullptr;
    for (const auto& w : t.Words)
        if (w->State == 0 && (!lowest || w->Y > lowest->Y)) lowest = w.get();
    return lowest ? lowest->Text.at(0) : 0;
}

void TestPlayThread::wholeGameWithScriptedTypist() {
    ScriptedDialogsGuard dialogs;
    QByteArray words;
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < 8; ++i)
            words += "w" + QByteArray::number(g) + QByteArray(1, char('a' + i)) + "xy ";
        words += "\n\n";
    }
    PlayFixture f(words, 99);
    // The end notification is raised on the worker and handled on this thread, as the window does.
    int finished = 0;
    QObject receiver;
    connect(
        f.thread.get(), &QThread::finished, &receiver, [&finished] { ++finished; }, Qt::QueuedConnection);
    int levelUpsOnWorker = 0;
    const Qt::HANDLE gui = QThread::currentThreadId();
    f.thread->OnLevelUp = [&](QObject*) { levelUpsOnWorker += QThread::currentThreadId() != gui; };
    int statusOnGui = 0, statusEvents = 0;
    f.thread->OnStatus = [&](int, int, int) {
        ++statusEvents;
        statusOnGui += QThread::currentThreadId() == gui;
    };
    f.thread->SetDifficulty(1);
    int steps = 0;
    while (!f.thread->isFinished() && steps < 20000) {
        if (const char key = nextKey(*f.thread)) f.thread->KeyPressed(key);
        runOneStep(f);
        ++steps;
    }
    QVERIFY(f.thread->join(5000));
    QVERIFY(f.thread->Terminated());
    QCOMPARE(f.thread->Hit, 24);
    QCOMPARE(f.thread->Lost, 0);
    QCOMPARE(f.misses, 0);
    QCOMPARE(f.shoots, 24);
    QCOMPARE(levelUpsOnWorker, 1); // 21 hits of 70 at no loss: bonus 1, raised by the worker
    QVERIFY(statusEvents > 24);
    QCOMPARE(statusOnGui, statusEvents);
    const QStringList shown = dialogs->texts(ScriptedDialogs::Kind::Information);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith("   Accuracy: 100%   WPM: "), qPrintable(shown.first()));
    QTRY_COMPARE(finished, 1);
    QVERIFY(f.thread->Words.empty());
    QVERIFY(f.thread->Bullets.size() <= 1);
    QCOMPARE(f.thread->GetScore(), 1200 + 24 * 25 + 300);
}

void TestPlayThread::gameEndedByScoreRunsResultOnGuiThread() {
    ScriptedDialogsGuard dialogs;
    PlayFixture f("abcdefghij klmnopqrst");
    f.thread->SetDifficulty(1);
    f.clearCity();
    runOneStep(f);
    {
        std::lock_guard<std::mutex> locker(f.thread->lock());
        f.thread->Score = 1;
        f.thread->DropInterval = 0;
        f.thread->Words.front()->Y = 199;
    }
    runOneStep(f);
    QVERIFY(f.thread->join(5000));
    QVERIFY(f.thread->Terminated());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information).size(), 1);
    QCOMPARE(f.thread->Lost, 1);
}

void TestPlayThread::abandonedWhileWaitingBetweenSteps() {
    PlayFixture f("alpha beta");
    f.thread->SetDifficulty(1);
    runOneStep(f);
    runOneStep(f);
    QVERIFY(f.thread->Suspended());
    f.thread->Terminate();
    f.thread->Resume(); // an abandoned game is never resumed again
    f.thread->release();
    QVERIFY(f.thread->isFinished());
    QCOMPARE(f.thread->Words.size(), size_t(1));
}

void TestPlayThread::abandonedWhileWaitingForGuiThread() {
    PlayFixture f("alpha beta");
    f.thread->SetDifficulty(1);
    runOneStep(f);
    {
        std::lock_guard<std::mutex> locker(f.thread->lock());
        f.thread->DropInterval = -100; // the next step drops at once
    }
    const int y = f.word().Y;
    const int statusBefore = f.statusEvents;
    f.thread->Resume();
    // No events are processed here: the worker now waits for its drop to run on this thread.
    QThread::msleep(50);
    QVERIFY(!f.thread->Suspended());
    f.thread->release();
    QVERIFY(f.thread->isFinished());
    QCOMPARE(f.word().Y, y); // the waiting drop was dropped, not run
    QCOMPARE(f.statusEvents, statusBefore);
    f.thread.reset();
}

QTEST_MAIN(TestPlayThread)
#include "tst_play_thread.moc"
