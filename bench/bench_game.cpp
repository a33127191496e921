// One play step of the falling-words game with a full screen: 100 words falling and 20 bullets
// in flight, each step dropping every word and moving every bullet.
#include "game/GameCanvas.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "game/threadType.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <vector>

namespace {

struct FullScreen {
    QTemporaryDir dir;
    GameCanvas canvas;
    std::atomic<int32_t> now{0};
    std::unique_ptr<threadType> game;
    std::vector<std::unique_ptr<strikerType>> targets;

    FullScreen() {
        game::resetSettings();
        game::CellSize = 14;
        game::Columns = 1920 / 14;
        GameRandom::setSeedSource([] { return 1u; });
        const QString path = dir.filePath("Game.txt");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            for (int i = 0; i < 500; ++i)
                file.write("word" + QByteArray::number(i) + " ");
        file.close();
        canvas.resize(game::Columns * 14, 1000);
        game = std::make_unique<threadType>(path, &canvas, nullptr, [this] { return now.load(); });
        game->SetDifficulty(10);
        game->beginPlay();
        game->DropInterval = -1;         // a drop at every step
        game->BulletInterval = -1;       // a bullet move at every step
        game->NewWordInterval = 1 << 30; // no timed spawns: the screen stays as set up
        for (int i = 0; i < 100; ++i) {
            auto w = std::make_unique<strikerType>();
            w->Text = "falling" + QByteArray::number(i % 10);
            w->Length = int32_t(w->Text.size());
            w->Column = 1 + (i * 7) % (game::Columns - 10);
            w->X = (w->Column - 1) * 14;
            w->Y = (i * 9) % 700;
            game->Words.push_back(std::move(w));
        }
        // The bullets fly at words high above, so none arrives and the screen stays full.
        for (int i = 0; i < 20; ++i) {
            auto target = std::make_unique<strikerType>();
            target->Text = "target";
            target->Length = 6;
            target->X = i * 90;
            target->Y = -10000;
            game->Bullets.push_back(std::make_unique<bulletType>(&canvas, target.get(), 1000 + 1));
            targets.push_back(std::move(target));
        }
        game->SpawnedCount = 100;
    }
    ~FullScreen() { GameRandom::setSeedSource({}); }

    // Keeps words and bullets on screen: words climb back up, bullets start again from below.
    void refill() {
        for (auto& w : game->Words)
            if (w->Y > 700) w->Y = 0;
        for (auto& b : game->Bullets)
            if (b->Y < 300) {
                b->Y = 1001;
                b->Done = false;
            }
    }
};

void BM_PlayStep100Words20Bullets(benchmark::State& state) {
    FullScreen screen;
    int steps = 0;
    for (auto _ : state) {
        screen.now += 10;
        benchmark::DoNotOptimize(screen.game->playStep());
        if (++steps % 50 == 0) {
            state.PauseTiming();
            screen.refill();
            state.ResumeTiming();
        }
    }
    state.counters["words"] = double(screen.game->Words.size());
    state.counters["bullets"] = double(screen.game->Bullets.size());
}
BENCHMARK(BM_PlayStep100Words20Bullets)->Unit(benchmark::kMicrosecond);

void BM_RedrawAll100Words(benchmark::State& state) {
    FullScreen screen;
    for (auto _ : state)
        screen.game->RedrawAll();
}
BENCHMARK(BM_RedrawAll100Words)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the letters
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
