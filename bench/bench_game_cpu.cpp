// Processor use of the game window while a game runs: the real window, its 10 ms timer and the
// play thread, with a typist pressing a key every 150 ms. Prints the process's CPU time as a
// share of one core over the run. Run it on a display (bench/game_cpu.sh uses Xvfb).
#include "game/GameSettings.h"
#include "game/ui/TgameFrame.h"
#include "platform/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

static double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    QTemporaryDir dir;
    const QString words = dir.filePath("Game.txt");
    QFile file(words);
    if (file.open(QIODevice::WriteOnly))
        for (int g = 0; g < 5; ++g) {
            for (int i = 0; i < 60; ++i)
                file.write("word" + QByteArray::number(g * 100 + i) + " ");
            file.write("\n\n");
        }
    file.close();

    ScriptedDialogsGuard dialogs;
    dialogs->answerText("5");
    game::CellSize = 14;
    TgameFrame frame;
    frame.SetWordsFile(words);
    frame.show();
    frame.StartGame();

    // The typist: every 150 ms the next letter of the word it types, or the first letter of the
    // lowest word on screen.
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&frame] {
        threadType* t = frame.PlayThread();
        if (!t) return;
        char key = 0;
        {
            std::lock_guard<std::mutex> locker(t->lock());
            if (t->Locked && t->Target)
                key = t->Target->Text.at(t->Target->Typed);
            else {
                const strikerType* lowest = nullptr;
                for (const auto& w : t->Words)
                    if (w->State == 0 && (!lowest || w->Y > lowest->Y)) lowest = w.get();
                if (lowest) key = lowest->Text.at(0);
            }
        }
        if (!key) return;
        const QString text(QChar::fromLatin1(key));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(&frame, &press);
    });
    typist.start(150);

    const double cpuStart = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, &app, [] { QCoreApplication::exit(0); });
    stop.start(seconds * 1000);
    app.exec();
    const double cpu = cpuSeconds() - cpuStart;
    const double elapsed = double(wall.elapsed()) / 1000.0;
    std::fprintf(stderr, "game ran %.1f s, CPU %.2f s: %.1f %% of one core; score %d\n", elapsed, cpu,
                 100.0 * cpu / elapsed, frame.PlayThread() ? frame.PlayThread()->GetScore() : -1);
    std::fprintf(stderr, "game ended by itself: %s\n",
                 frame.PlayThread() && frame.PlayThread()->Terminated() ? "yes" : "no");
    dialogs->answerYes();
    return 0;
}
