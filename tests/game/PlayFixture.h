#pragma once

#include "game/GameTestFiles.h"

#include "game/GameCanvas.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "game/threadType.h"

#include <QStringList>
#include <atomic>
#include <memory>

// One game on a 400 x 200 playfield of 10-pixel cells (40 columns, city rows at y 170..199),
// with a clock that the test moves and counters for every event.
struct PlayFixture {
    explicit PlayFixture(const QByteArray& words, uint32_t seed = 7) : file(words) {
        game::resetSettings();
        game::CellSize = 10;
        game::Columns = 40;
        game::Rows = 3;
        GameRandom::setSeedSource([seed] { return seed; });
        canvas.resize(400, 200);
        thread = std::make_unique<threadType>(
            file.path(), &canvas, [this](const QString& caption) { status << caption; },
            [this] { return now.load(); });
        thread->OnMiss = [this](QObject*) { ++misses; };
        thread->OnShoot = [this](QObject*) { ++shoots; };
        thread->OnCityHurt = [this](QObject*) { ++hurts; };
        thread->OnLevelUp = [this](QObject*) { ++levelUps; };
        thread->OnNewGame = [this](int total, int bricks) {
            newGameTotal = total;
            newGameBricks = bricks;
        };
        thread->OnStatus = [this](int bricks, int hit, int lost) {
            lastStatus = {bricks, hit, lost};
            ++statusEvents;
        };
    }
    ~PlayFixture() { GameRandom::setSeedSource({}); }

    // One step after the clock moved on by ms.
    bool step(int ms = 10) {
        now += ms;
        return thread->playStep();
    }
    // Types one key and plays the step that takes it.
    bool type(char key, int ms = 10) {
        thread->KeyPressed(key);
        return step(ms);
    }
    strikerType& word(size_t i = 0) { return *thread->Words.at(i); }
    void clearCity() {
        for (int r = 1; r <= game::Rows; ++r)
            for (int c = 1; c <= game::Columns; ++c)
                thread->City->setBrick(r, c, 0);
    }
    // Places a word so that its next move reaches the top of the city.
    void placeAboveCity(strikerType& w, int column) {
        w.Column = column;
        w.X = (column - 1) * game::CellSize;
        w.Y = 159;
    }

    WordFile file;
    GameCanvas canvas;
    std::atomic<int32_t> now{1000};
    QStringList status;
    std::unique_ptr<threadType> thread;
    int misses = 0, shoots = 0, hurts = 0, levelUps = 0, statusEvents = 0;
    int newGameTotal = -1, newGameBricks = -1;
    QList<int> lastStatus;
};
