#include "game/threadType.h"

#include "game/GameCanvas.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "game/ThreadOrder.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Translation.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

threadType::threadType(const QString& wordFile, GameCanvas* canvas, StatusLabel statusLabel,
                       stopwatch::Clock clock)
    : GameClock(clock), Canvas(canvas), NewWordClock(clock), DropClock(clock), BulletClock(clock),
      m_statusLabel(std::move(statusLabel)) {
    Source = std::make_unique<strikerSourceType>(wordFile);
    // Failures inside the supply are shown after the lock is let go.
    Source->reportError = [this](const QString& message) { m_supplyErrors.push_back(message); };
    City = std::make_unique<cityType>(canvas->height());
    InitialBricks = City->BrickCount();
    Source->LoadFromFile();
    UpdateStatus();
    Bonus = 0;
}

threadType::~threadType() {
    release();
    try {
        Locker locker(m_lock);
        Source.reset();
        Target = nullptr;
        Words.clear();
        Bullets.clear();
        City.reset();
    } catch (const std::exception& e) {
        dialogs().information(QString::fromLocal8Bit(e.what()) + QStringLiteral(" thread Destroy"));
    }
}

void threadType::Resume() {
    if (!m_suspended.load() || m_abandon.load()) return;
    m_suspended.store(false);
    if (!m_started) {
        m_started = true;
        start();
    } else {
        ThreadOrder::release(&m_resume);
        m_resume.release();
    }
}

void threadType::release() {
    m_abandon.store(true);
    if (!m_started) return;
    ThreadOrder::release(&m_resume);
    m_resume.release();
    // Inside one of the worker's own calls (a dialog or the status update let the window close
    // the game) the worker cannot end before that call returns: it ends by itself afterwards,
    // and the destructor waits for it.
    if (m_syncDepth > 0) return;
    // The worker may be waiting for a call to this thread: run those calls (they do nothing now)
    // until it has ended.
    while (!wait(QDeadlineTimer(5)))
        m_gui.runWaiting();
    ThreadOrder::acquire(&m_ended);
}

bool threadType::join(int ms) {
    if (!wait(QDeadlineTimer(ms))) return false;
    ThreadOrder::acquire(&m_ended);
    return true;
}

void threadType::synchronize(const std::function<void()>& f) {
    if (QThread::currentThread() == thread()) {
        f();
        return;
    }
    if (m_abandon.load()) throw Abandoned{};
    m_gui.call([this, &f] {
        if (m_abandon.load()) return;
        ++m_syncDepth;
        struct Depth {
            int& depth;
            ~Depth() { --depth; }
        } depth{m_syncDepth};
        f();
    });
    if (m_abandon.load()) throw Abandoned{};
}

void threadType::run() {
    try {
        beginPlay();
        while (playStep()) {
            m_suspended.store(true);
            m_resume.acquire();
            ThreadOrder::acquire(&m_resume);
            if (m_abandon.load()) break;
        }
        if (!m_abandon.load()) endPlay();
    } catch (const Abandoned&) {
    }
    ThreadOrder::release(&m_ended);
}

void threadType::beginPlay() {
    Locker locker(m_lock);
    GameClock.Start();
    SpawnedCount = 0;
}

void threadType::endPlay() {
    synchronize([this] { ShowResult(); });
    Terminate();
}

// ---- Game values ----

void threadType::SetDifficulty(int difficulty) {
    Locker locker(m_lock);
    Difficulty = difficulty;
    Level = difficulty;
    NewGame(locker);
}

void threadType::NewGame(Locker& locker) {
    Score = 1000 + 200 * Difficulty;
    Hit = 0;
    Lost = 0;
    SetLevel(Difficulty, locker);
    BulletInterval = 25;
    TotalWords = 50 + 20 * Difficulty;
    if (OnNewGame) {
        const int total = TotalWords, bricks = InitialBricks;
        locker.unlock();
        OnNewGame(total, bricks);
        locker.lock();
    }
}

void threadType::SetLevel(int level, Locker& locker) {
    NewWordInterval = game::NewWordSpeed - level * game::NewWordSpeedBy;
    DropInterval = game::DropSpeed - level * game::DropSpeedBy;
    if (level != Level && OnLevelUp) {
        raise(OnLevelUp, locker);
        Score += 300;
        LevelUpPending = true;
    }
    Level = level;
}

void threadType::ComputeBonus(Locker& locker) {
    const int ratio = Hit / (Lost + 1);
    if (ratio > 20 && Hit > TotalWords / 4) Bonus = 1;
    if (ratio > 20 && Hit > TotalWords / 2) Bonus = 2;
    if (ratio > 20 && Hit > (TotalWords / 4) * 3) Bonus = 3;
    SetLevel(Difficulty + Bonus, locker);
}

bool threadType::LevelUpPause() {
    if (Words.size() > 1 && LevelUpPending) return true;
    LevelUpPending = false;
    return false;
}

bool threadType::due(stopwatch& clock, bool& restart, int interval) {
    if (restart) {
        clock.SetElapsed(0);
        clock.Start();
    }
    const int elapsed = clock.GetElapsed();
    restart = interval < elapsed;
    return restart;
}

bool threadType::NewWordDue(int interval) {
    return due(NewWordClock, NewWordRestart, interval);
}
bool threadType::DropDue(int interval) {
    return due(DropClock, DropRestart, interval);
}
bool threadType::BulletDue(int interval) {
    return due(BulletClock, BulletRestart, interval);
}

int threadType::GetScore() const {
    Locker locker(m_lock);
    return Score;
}

void threadType::KeyPressed(char key) {
    Locker locker(m_lock);
    PendingKey = key;
    KeyPending = true;
}

// ---- One step ----

// Takes the supply's next word onto the screen; a failure inside the supply is shown once the
// lock is let go.
bool threadType::takeWord(Locker& locker) {
    const bool taken = Source->NextStriker();
    if (taken) {
        Words.push_back(std::move(Source->Striker));
        ++SpawnedCount;
    }
    if (!m_supplyErrors.empty()) {
        std::vector<QString> errors;
        errors.swap(m_supplyErrors);
        locker.unlock();
        for (const QString& message : errors)
            showInformation(message);
        locker.lock();
    }
    return taken;
}

bool threadType::playStep() {
    Locker locker(m_lock);
    if (NewWordDue(NewWordInterval) && Chance(5 * Difficulty + 20) == 1 && SpawnedCount < TotalWords &&
        !LevelUpPause() && takeWord(locker)) {
        locker.unlock();
        UpdateStatus();
        locker.lock();
    }
    if (Words.empty() && SpawnedCount < TotalWords) takeWord(locker);
    if (Words.empty()) return false;

    if (DropDue(DropInterval)) {
        locker.unlock();
        synchronize([this] { DropStrikers(); });
        UpdateStatus();
        locker.lock();
    }
    if (BulletDue(BulletInterval)) {
        locker.unlock();
        synchronize([this] { MoveBullets(); });
        locker.lock();
    }
    if (KeyPending) {
        KeyPending = false;
        if (PendingKey != 27) HandleKey(PendingKey, locker);
    }
    return Score > 0;
}

void threadType::removeWord(size_t index) {
    if (Words[index].get() == Target) Target = nullptr;
    Words.erase(Words.begin() + std::ptrdiff_t(index));
}

void threadType::DropStrikers() {
    using namespace game;
    Locker locker(m_lock);
    size_t i = 0;
    while (i < Words.size()) {
        strikerType* w = Words[i].get();
        if (w->State == strikerType::ToRemove) {
            w->Erase(*Canvas);
            removeWord(i);
            continue;
        }
        if (w->State == strikerType::Falling && w->Speed >= SpeedPhase)
            w->MoveDown(*Canvas);
        else
            w->Draw(*Canvas);
        if (FunSpeed) SpeedPhase = SpeedPhase % 3 + 1;

        const int rows = City->rows();
        bool brokeBricks = false;
        if (w->Y + CellSize >= City->BaseY - rows * CellSize) {
            for (int r = 1; r <= rows && !brokeBricks; ++r) {
                if (w->Y + CellSize >= City->BaseY - (rows - r) * CellSize) continue;
                bool brick = false;
                for (int c = w->Column; c < w->Column + w->Length && !brick; ++c)
                    brick = City->brick(r, c) == 1;
                if (!brick) continue;
                Score -= 3 * w->Length;
                ++Lost;
                w->Erase(*Canvas);
                if (w->Typed >= 1) Locked = false;
                for (int c = w->Column; c < w->Column + w->Length; ++c)
                    City->setBrick(r, c, 0);
                City->EraseBricks(*Canvas, r, w->Column, w->Column + w->Length);
                removeWord(i);
                locker.unlock();
                ShowStatus();
                if (OnCityHurt) OnCityHurt(this);
                locker.lock();
                brokeBricks = true;
            }
        }
        if (brokeBricks) continue;
        if (w->Y >= City->BaseY) {
            w->State = strikerType::ToRemove;
            w->Erase(*Canvas);
            if (w->Typed >= 1) Locked = false;
            Score -= 3 * w->Length;
            ++Lost;
        }
        ++i;
    }
}

void threadType::MoveBullets() {
    Locker locker(m_lock);
    size_t i = 0;
    while (i < Bullets.size()) {
        if (Bullets[i]->Done) {
            Bullets.erase(Bullets.begin() + std::ptrdiff_t(i));
            continue;
        }
        Bullets[i]->Step();
        ++i;
    }
}

void threadType::Fire(strikerType* word) {
    Bullets.push_back(std::make_unique<bulletType>(Canvas, word, City->BaseY + 1));
}

void threadType::wordTypedOut(strikerType* word, int points, Locker& locker) {
    word->State = strikerType::TypedOut;
    Fire(word);
    Score += points;
    ++Hit;
    locker.unlock();
    UpdateStatus();
    locker.lock();
    Locked = false;
    raise(OnShoot, locker);
    ComputeBonus(locker);
}

void threadType::HandleKey(char key, Locker& locker) {
    try {
        if (!Locked || !Target) {
            strikerType* word = nullptr;
            for (const auto& w : Words)
                if (w->State == strikerType::Falling && !w->Text.isEmpty() && w->Text.at(0) == key) {
                    word = w.get();
                    break;
                }
            if (!word) return;
            Locked = true;
            Target = word;
            word->Typed = 1;
            word->Draw(*Canvas);
            if (word->Length == 1) wordTypedOut(word, 1, locker);
            return;
        }
        strikerType* word = Target;
        if (word->Typed < word->Length && key == word->Text.at(word->Typed)) {
            ++word->Typed;
            word->Draw(*Canvas);
            if (word->Typed == word->Length) wordTypedOut(word, 5 * word->Length, locker);
            return;
        }
        word->Typed = -1;
        word->Draw(*Canvas);
        word->State = strikerType::Falling;
        Locked = false;
        raise(OnMiss, locker);
    } catch (const QuorvelError& e) {
        locker.unlock();
        showInformation(QString::fromLatin1(e.className()) + QStringLiteral("--") + e.message() +
                        QStringLiteral(" threadType  strikers_go2"));
        locker.lock();
    } catch (const std::exception& e) {
        locker.unlock();
        showInformation(QStringLiteral("Exception--") + QString::fromLocal8Bit(e.what()) +
                        QStringLiteral(" threadType  strikers_go2"));
        locker.lock();
    }
}

void threadType::raise(const NotifyEvent& event, Locker& locker) {
    if (!event) return;
    locker.unlock();
    event(this);
    locker.lock();
}

void threadType::showInformation(const QString& text) {
    synchronize([&text] { dialogs().information(text); });
}

// ---- GUI side ----

void threadType::UpdateStatus() {
    synchronize([this] { ShowStatus(); });
}

void threadType::ShowStatus() {
    Locker locker(m_lock);
    const QString caption = formatText(i18n(" Difficulty: %d   Hit: %d   Lost: %d   Time: %ds  Score : %d"),
                                       {Level, Hit, Lost, GameClock.GetElapsed() / 1000, Score});
    const int bricks = City->BrickCount(), hit = Hit, lost = Lost;
    locker.unlock();
    if (m_statusLabel) m_statusLabel(caption);
    if (OnStatus) OnStatus(bricks, hit, lost);
}

void threadType::ShowResult() {
    Locker locker(m_lock);
    const int t = GameClock.GetElapsed();
    const int shown = Hit + Lost;
    // No word shown at all (a word file without words): nothing was missed either.
    const int accuracy = shown > 0 ? Hit * 100 / shown : 0;
    const int wpm = int(qint64(Hit) * 60000 / t);
    const int expected = int(qint64(shown) * 60000 / t);
    locker.unlock();
    dialogs().information(
        formatText(i18n("   Accuracy: %d%%   WPM: %d   Expected WPM: %d"), {accuracy, wpm, expected}));
}

void threadType::DrawCity() {
    City->Draw(*Canvas);
}

void threadType::RedrawAll() {
    Locker locker(m_lock);
    DrawCity();
    for (const auto& w : Words)
        w->Draw(*Canvas);
}
