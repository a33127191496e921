#pragma once

#include "game/GameCanvas.h"
#include "game/GameScores.h"
#include "game/threadType.h"

#include <QWidget>
#include <functional>
#include <memory>

class GameProgressBar;
class PlayfieldView;
class QLabel;
class QTimer;

// What a close request ends in: the window hides, or stays open (the player went on playing).
enum class TCloseAction { caNone, caHide };

// The window of the falling-words game: the status panel with the status line and three bars,
// the playfield, the difficulty prompt, the 10 ms timer that paces the play thread, the keys,
// the question before a running game is left, and the list of the five best scores.
class TgameFrame : public QWidget {
    Q_OBJECT
public:
    using NotifyEvent = threadType::NotifyEvent;
    using CloseEvent = std::function<void(QObject* sender, TCloseAction& action)>;

    explicit TgameFrame(QWidget* parent = nullptr);
    ~TgameFrame() override;

    void SetWordsFile(const QString& fileName);
    void AddScore(int Score);
    void SetGameFontName(const QString& name);
    void StartGame();

    NotifyEvent OnMiss, OnShoot, OnCityHurt, OnLevelUp;
    bool ShowScores = false;
    // The window's close event; the window's own handler (FormClose) until someone replaces it.
    CloseEvent OnClose;
    void FormClose(QObject* sender, TCloseAction& action);

    // Read access for the launcher and for tests.
    threadType* PlayThread() const { return m_playThread.get(); }
    const GameScores& Scores() const { return m_scores; }
    GameCanvas& canvas() { return m_canvas; }
    bool timerActive() const;
    int TotalWords = 0;
    int InitialBricks = 0;

    QWidget* Panel1;
    QLabel* LbStatus;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    GameProgressBar* PbTotalLeft;
    GameProgressBar* PbHitLost;
    GameProgressBar* PbCityLife;
    PlayfieldView* PaintBox1;

    // The play clock for new games (tests make it controllable).
    stopwatch::Clock gameClock = &stopwatch::localTimeOfDay;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void TimerTick();
    void ThreadTerminated();

private:
    void FormShow();
    void FormKeyPress(char Key);
    void AskDifficulty();
    void GameReset(int totalWords, int initialBricks);
    void GameStatus(int bricksLeft, int hit, int lost);
    bool ConfirmExit();
    bool QueryEnd();
    void Paint();
    bool gameEnded() const;
    void layoutPlayfield();
    void settleOnScreen();

    GameCanvas m_canvas;
    std::unique_ptr<threadType> m_playThread;
    QString WordsFileName;
    GameScores m_scores;
    QTimer* GameTimer;
};

// The game window of the run: none until the first game.
extern TgameFrame* gameFrame;
