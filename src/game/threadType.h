#pragma once

#include "game/GuiCallPort.h"
#include "game/bulletType.h"
#include "game/cityType.h"
#include "game/strikerSourceType.h"
#include "game/strikerType.h"
#include "settings/Stopwatch.h"

#include <QSemaphore>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class GameCanvas;

// One game of falling words and the worker thread that plays it. The thread is created
// suspended; each Resume runs one play step, after which the thread waits again. Drops, bullet
// moves, the status line and the result run on the GUI thread (the thread that created this
// object) through a blocking queued call while the worker waits.
//
// Every field below is guarded by lock(): the GUI thread paints, takes keys and reads the score
// while the worker spawns and handles keys. No lock is held while the worker waits for the GUI
// thread or while an event handler runs.
class threadType : public QThread {
public:
    using NotifyEvent = std::function<void(QObject* sender)>;
    using StatusLabel = std::function<void(const QString& caption)>;

    // Builds the game and loads the words; raises EInOutError when the word file cannot be read.
    // The city stands on the canvas's bottom edge. clock drives the game's four stopwatches.
    threadType(const QString& wordFile, GameCanvas* canvas, StatusLabel statusLabel,
               stopwatch::Clock clock = &stopwatch::localTimeOfDay);
    ~threadType() override;

    void SetDifficulty(int difficulty);
    // Stores one pending key; a key not yet taken is overwritten.
    void KeyPressed(char key);
    int GetScore() const;
    void RedrawAll();

    // The thread's own control, called on the GUI thread.
    void Resume();
    bool Suspended() const { return m_suspended.load(); }
    void Terminate() { m_terminated.store(true); }
    bool Terminated() const { return m_terminated.load(); }
    // Ends the worker between steps (a step under way finishes its GUI part without effect) and
    // waits for it. Called for a replaced or abandoned game and by the destructor.
    void release();
    // Waits up to ms for the worker to end; true when it has.
    bool join(int ms);

    // Starts the game clock; then playStep until it says the game is over, then endPlay.
    // Exposed so that benchmarks and tests can play steps on one thread.
    void beginPlay();
    // One play step; false when the game is over.
    bool playStep();
    // Shows the result and marks the game terminated.
    void endPlay();

    std::mutex& lock() const { return m_lock; }

    NotifyEvent OnMiss, OnShoot, OnCityHurt, OnLevelUp;
    std::function<void(int totalWords, int initialBricks)> OnNewGame;
    std::function<void(int bricksLeft, int hit, int lost)> OnStatus;

    // Play state, under lock().
    std::vector<std::unique_ptr<strikerType>> Words;
    std::vector<std::unique_ptr<bulletType>> Bullets;
    std::unique_ptr<strikerSourceType> Source;
    std::unique_ptr<cityType> City;
    stopwatch GameClock;
    GameCanvas* Canvas;
    int Difficulty = 0;
    int Level = 0;
    int Hit = 0;
    int Lost = 0;
    int TotalWords = 0;
    int NewWordInterval = 0, DropInterval = 0, BulletInterval = 0;
    int Score = 0;
    bool Locked = false;
    strikerType* Target = nullptr;
    bool KeyPending = false;
    char PendingKey = 0;
    int InitialBricks = 0;
    bool LevelUpPending = false;
    int SpeedPhase = 2;
    bool NewWordRestart = true, DropRestart = true, BulletRestart = true;
    stopwatch NewWordClock, DropClock, BulletClock;
    int Bonus = 0;
    int SpawnedCount = 0;

protected:
    void run() override;

private:
    using Locker = std::unique_lock<std::mutex>;
    struct Abandoned {};

    void NewGame(Locker& locker);
    void SetLevel(int level, Locker& locker);
    void ComputeBonus(Locker& locker);
    bool LevelUpPause();
    bool NewWordDue(int interval);
    bool DropDue(int interval);
    bool BulletDue(int interval);
    bool due(stopwatch& clock, bool& restart, int interval);
    bool takeWord(Locker& locker);
    void DropStrikers();
    void MoveBullets();
    void HandleKey(char key, Locker& locker);
    void wordTypedOut(strikerType* word, int points, Locker& locker);
    void Fire(strikerType* word);
    void UpdateStatus();
    void ShowStatus();
    void ShowResult();
    void DrawCity();
    void removeWord(size_t index);
    void raise(const NotifyEvent& event, Locker& locker);
    void showInformation(const QString& text);
    // Runs f on the GUI thread and waits for it; at once when called there.
    void synchronize(const std::function<void()>& f);

    mutable std::mutex m_lock;
    GuiCallPort m_gui; // lives on the creating (GUI) thread
    StatusLabel m_statusLabel;
    QSemaphore m_resume;
    std::atomic<bool> m_suspended{true};
    std::atomic<bool> m_terminated{false};
    std::atomic<bool> m_abandon{false};
    bool m_started = false;
    int m_syncDepth = 0; // GUI thread only: calls of the worker running on it now
    std::vector<QString> m_supplyErrors;
    char m_ended = 0; // marks the worker's end for the ordering of ThreadOrder
};
