#include "game/ui/GameLauncher.h"

#include "game/GameSpeedFile.h"
#include "settings/FontValue.h"

#include <QDir>

namespace {
// The game draws plain colours: a system colour of the profile becomes its palette colour.
int32_t plainColor(int32_t color) {
    return WinColor::isSystemColor(color) ? WinColor::fromQColor(WinColor::toQColor(color)) : color;
}
} // namespace

GameLauncher::GameLauncher(QWidget* mainWindow, const QString& appDir, GameLauncherHost host)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_host(std::move(host)) {
    LoadGameSettings(QDir(appDir).filePath(QStringLiteral("zqgame.ini")));
}

GameLauncher::~GameLauncher() {
    freeGame();
}

void GameLauncher::freeGame() {
    if (!m_frame) return;
    m_frame->OnClose = nullptr;
    m_frame.reset();
}

void GameLauncher::RunGame() {
    if (!m_frame) {
        m_frame = std::make_unique<TgameFrame>();
        gameFrame = m_frame.get();
        m_frame->SetWordsFile(m_host.gameFile ? m_host.gameFile() : QString());
        const GameProfileValues first = m_host.profile ? m_host.profile() : GameProfileValues{};
        for (int score : first.GScore)
            m_frame->AddScore(score);
        m_frame->OnMiss = [this](QObject* sender) { GameMissShootSound(sender); };
        m_frame->OnShoot = [this](QObject* sender) { GameShootSound(sender); };
        m_frame->OnCityHurt = [this](QObject* sender) { GameCityHurtSound(sender); };
        m_frame->OnLevelUp = [this](QObject* sender) { GameDifficultySound(sender); };
        m_frame->ShowScores = false;
        SavedGameOnClose = m_frame->OnClose;
        m_frame->OnClose = [this](QObject* sender, TCloseAction& action) { GameFormClose(sender, action); };
    }
    const GameProfileValues p = m_host.profile ? m_host.profile() : GameProfileValues{};
    game::FunSpeed = p.FunSpeed;
    game::CellSize = std::max(1, p.GameFontSize);
    game::PlayfieldColor = plainColor(p.GameBgColor);
    game::FontColor = plainColor(p.GameFontColor);
    m_frame->SetGameFontName(p.GameFontName);
    game::FontStyle = p.GameFontStyle;
    game::TypedFontStyle = p.GameFontStyle;
    if (m_host.hideActions) m_host.hideActions();
    if (m_mainWindow) m_mainWindow->hide();
    m_frame->show();
    m_frame->activateWindow();
    m_frame->setFocus();
    m_frame->StartGame();
}

void GameLauncher::GameFormClose(QObject* sender, TCloseAction& action) {
    if (SavedGameOnClose) SavedGameOnClose(sender, action);
    if (action != TCloseAction::caNone) {
        if (m_mainWindow) m_mainWindow->show();
        if (m_host.showActions) m_host.showActions();
    }
}

void GameLauncher::playOnGuiThread(GameSound sound) {
    QMetaObject::invokeMethod(
        this,
        [this, sound] {
            if (m_host.playWave && m_host.profile && m_host.profile().GameSoundEnabled)
                m_host.playWave(sound);
        },
        Qt::QueuedConnection);
}

void GameLauncher::GameMissShootSound(QObject*) {
    playOnGuiThread(GameSound::CityMissShoot);
}
void GameLauncher::GameShootSound(QObject*) {
    playOnGuiThread(GameSound::CityShoot);
}
void GameLauncher::GameCityHurtSound(QObject*) {
    playOnGuiThread(GameSound::CityHurt);
}
void GameLauncher::GameDifficultySound(QObject*) {
    playOnGuiThread(GameSound::DifficultyIncrease);
}
