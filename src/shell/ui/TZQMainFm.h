#pragma once

#include "shell/MediaSettings.h"

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class GameLauncher;
class HandCompanion;
class KeyboardCompanion;
class OuterFrameFit;
class QAction;
class TFmLinePractice;
class TKeyboardLayoutAgent;
struct TFontValue;
class QFrame;
class QPushButton;
class SoundPlayer;
class TProfile;

// The menu of the run once a user has logged on: the four drills, the game, help, the profile
// and exit. It builds the on-screen keyboard and the hands for the profile, counts the
// practice time of the run, plays the drill and game sounds and, when it closes, saves the
// profile and the settings and ends the program.
class TZQMainFm : public QWidget {
    Q_OBJECT
public:
    explicit TZQMainFm(QWidget* parent = nullptr);
    ~TZQMainFm() override;

    void SetKeyboardAgent(TKeyboardLayoutAgent* Agent) { KeyboardAgent = Agent; }
    void SetProfile(TProfile* AProfile);
    // Loads the course's layout into the keyboard window and lays out both hands. When the
    // layout does not load, says so once and returns false: the run then has neither.
    bool LoadKeyboardAndHands();

    QString GetCourseFile();
    QString GetPracticeFile();
    QString GetGameFile();
    QString GetLayoutFile();

    void HideActions();
    void ShowActions();
    void FitToScreen();
    void ShowPracticeTime();

    // Drill launching: a drill window filled from the profile, then shown modally; its typing
    // time is added to the run's practice time and the window freed when it closes.
    template <typename Drill> std::unique_ptr<Drill> CreateDrill(const TFontValue& Font);
    void RunDrill(TFmLinePractice& Drill);
    void RunCourse();
    void RunSentenceDrill();
    void RunFreeDrill();
    void RunParagraphDrill();
    void RunGame();
    GameLauncher* gameLauncher() const { return m_game; }

    void PlayWave(const QString& FileName);
    void PlayWordOk();
    void PlayWordErr();

    TProfile* profile() const { return Profile; }
    int32_t runPracticeTime() const { return RunPracticeTime; }
    SoundPlayer* wavePlayer() const { return WavePlayer; }
    const MediaSettings& media() const { return Media; }

    QFrame* Bevel1 = nullptr;
    QPushButton* CourseBn = nullptr;
    QPushButton* SentenceBn = nullptr;
    QPushButton* FreeBn = nullptr;
    QPushButton* ParagraphBn = nullptr;
    QPushButton* GameBn = nullptr;
    QPushButton* HelpBn = nullptr;
    QPushButton* ExitBn = nullptr;
    QPushButton* ProfileBn = nullptr;

    QAction* A_Course = nullptr;
    QAction* A_Sentence = nullptr;
    QAction* A_Free = nullptr;
    QAction* A_Paragraph = nullptr;
    QAction* A_Game = nullptr;
    QAction* A_Help = nullptr;
    QAction* A_Profile = nullptr;
    QAction* A_Options = nullptr;
    QAction* A_Exit = nullptr;

public slots:
    // Drill events.
    void DrillLineDone();
    void DrillTypingError();
    void DrillReturnDue();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void A_CourseExecute();
    void A_SentenceExecute();
    void A_FreeExecute();
    void A_ParagraphExecute();
    void A_GameExecute();
    void A_HelpExecute();
    void A_ProfileExecute();
    void A_OptionsExecute();
    void A_ExitExecute();

private:
    void FormCreate();
    void FormShow();
    // Saves the profile and the settings; false when the user chose to stay after a failure.
    bool FormClose();
    void ShowHelp();
    void ShowOptions();
    void EditProfile();
    void LoadMediaSettings();
    void CourseBnEnter(QPushButton* button);
    void CourseBnExit(QPushButton* button);

    QPushButton* makeButton(const char* name, QAction* action, int top);
    QAction* makeAction(const char* name, const char* caption, void (TZQMainFm::*handler)());
    QString cachedPath(QString& cache, const char* fileName);

    QString CourseFile;
    QString PracticeFile;
    QString GameFile;
    QString LayoutFile;
    QString AppDir;
    TKeyboardLayoutAgent* KeyboardAgent = nullptr; // lent by the starter
    SoundPlayer* WavePlayer = nullptr;
    GameLauncher* m_game = nullptr; // the game window from its first use to shutdown
    TProfile* Profile = nullptr;
    int32_t RunPracticeTime = 0;
    MediaSettings Media;

    OuterFrameFit* m_frameFit = nullptr; // holds the window on the screen in full screen
    std::unique_ptr<KeyboardCompanion> m_keyboard;
    std::unique_ptr<HandCompanion> m_leftHand;
    std::unique_ptr<HandCompanion> m_rightHand;
    std::vector<QAction*> m_actions; // in the order hiding and showing walk them
    // Practice time of this run already added to the profile's total, so that a close that
    // failed to save and is tried again does not add it twice.
    int32_t m_runTimeInTotal = 0;
    bool m_closed = false;
    bool m_placed = false;           // placed on screen once already
    bool m_placedFullScreen = false; // ... and then filling the screen
};
