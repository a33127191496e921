#pragma once

#include "game/GameSettings.h"
#include "game/ui/TgameFrame.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>

// The profile's game values as they are at the moment they are asked for.
struct GameProfileValues {
    bool FunSpeed = false;
    QString GameFontName = QStringLiteral("courier");
    int GameFontSize = 10;
    int32_t GameFontColor = 0;
    game::FontStyleSet GameFontStyle = 0;
    int32_t GameBgColor = 0;
    bool GameSoundEnabled = false;
    std::array<int, 5> GScore{}; // GScore1 .. GScore5
};

// The four sounds of the game, each played from its own file of the media settings.
enum class GameSound { CityMissShoot, CityShoot, CityHurt, DifficultyIncrease };

// What the game needs of the main window.
struct GameLauncherHost {
    std::function<GameProfileValues()> profile; // read at every game and every sound
    std::function<QString()> gameFile;          // GetGameFile
    std::function<void()> hideActions;          // HideActions
    std::function<void()> showActions;          // ShowActions
    std::function<void(GameSound)> playWave;    // PlayWave with the sound's file
};

// The main window's part in the game: reads "zqgame.ini" once, creates the game window at the
// first game and keeps it, fills the game's display values from the profile before every game,
// hides the main window while the game is open and brings it back when the game window closes.
class GameLauncher : public QObject {
    Q_OBJECT
public:
    // Reads appDir + "zqgame.ini" (LoadGameSettings).
    GameLauncher(QWidget* mainWindow, const QString& appDir, GameLauncherHost host);
    ~GameLauncher() override;

    // The game action.
    void RunGame();
    // The main window's close: frees the game window.
    void freeGame();

    TgameFrame* frame() const { return m_frame.get(); }

private:
    void GameFormClose(QObject* sender, TCloseAction& action);
    void GameMissShootSound(QObject* sender);
    void GameShootSound(QObject* sender);
    void GameCityHurtSound(QObject* sender);
    void GameDifficultySound(QObject* sender);
    // The game raises some events on its worker: the sound plays on the GUI thread, and the
    // profile's sound option is read there when it does.
    void playOnGuiThread(GameSound sound);

    QPointer<QWidget> m_mainWindow;
    GameLauncherHost m_host;
    std::unique_ptr<TgameFrame> m_frame;
    TgameFrame::CloseEvent SavedGameOnClose;
};
