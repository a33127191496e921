#include "shell/ui/TZQMainFm.h"

#include "drills/DrillCompanions.h"
#include "drills/ui/TFmCoursePrac.h"
#include "drills/ui/TFmLetterPrac.h"
#include "drills/ui/TFmLinePractice.h"
#include "drills/ui/TFmLongText.h"
#include "drills/ui/TFmSentencePrac.h"
#include "game/ui/GameLauncher.h"
#include "keyboard/ui/TKbFm.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Translation.h"
#include "platform/ui/OuterFrameFit.h"
#include "platform/ui/SoundPlayer.h"
#include "settings/DataMod.h"
#include "settings/FontValue.h"
#include "settings/KeyboardLayoutAgent.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ApplicationOwner.h"
#include "shell/CourseFolders.h"
#include "shell/PracticeTime.h"
#include "shell/ui/HandCompanion.h"
#include "shell/ui/KeyboardCompanion.h"
#include "shell/ui/ProfileFm.h"
#include "shell/ui/TAboutBox.h"
#include "shell/ui/TFmLogon.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {
const QColor kMoneyGreen(192, 220, 192);
}

TZQMainFm::TZQMainFm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ZQMainFm"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kMoneyGreen);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(describedFont(QStringLiteral("Arial"), 19));
    resize(739, 488);
    m_frameFit = new OuterFrameFit(this);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(0, 0, 217, 345);

    A_Course = makeAction("A_Course", I18N_NOOP("&Course"), &TZQMainFm::A_CourseExecute);
    A_Sentence = makeAction("A_Sentence", I18N_NOOP("&Sentence Drills"), &TZQMainFm::A_SentenceExecute);
    A_Free = makeAction("A_Free", I18N_NOOP("&Free Drills"), &TZQMainFm::A_FreeExecute);
    A_Paragraph = makeAction("A_Paragraph", I18N_NOOP("&Paragraph Drills"), &TZQMainFm::A_ParagraphExecute);
    A_Game = makeAction("A_Game", I18N_NOOP("&Game"), &TZQMainFm::A_GameExecute);
    A_Help = makeAction("A_Help", I18N_NOOP("&Help"), &TZQMainFm::A_HelpExecute);
    A_Profile = makeAction("A_Profile", I18N_NOOP("P&rofile"), &TZQMainFm::A_ProfileExecute);
    A_Options = makeAction("A_Options", I18N_NOOP("&Options"), &TZQMainFm::A_OptionsExecute);
    A_Exit = makeAction("A_Exit", I18N_NOOP("E&xit"), &TZQMainFm::A_ExitExecute);

    CourseBn = makeButton("CourseBn", A_Course, 29);
    SentenceBn = makeButton("SentenceBn", A_Sentence, 66);
    FreeBn = makeButton("FreeBn", A_Free, 103);
    ParagraphBn = makeButton("ParagraphBn", A_Paragraph, 140);
    GameBn = makeButton("GameBn", A_Game, 177);
    HelpBn = makeButton("HelpBn", A_Help, 214);
    ExitBn = makeButton("ExitBn", A_Exit, 251);
    ProfileBn = makeButton("ProfileBn", A_Profile, 288);

    FormCreate();
}

TZQMainFm::~TZQMainFm() {
    // The drills must not reach adapters that go with this window.
    DrillCompanions& companions = drillCompanions();
    if (companions.keyboard == m_keyboard.get()) companions.keyboard = nullptr;
    if (companions.leftHand == m_leftHand.get()) companions.leftHand = nullptr;
    if (companions.rightHand == m_rightHand.get()) companions.rightHand = nullptr;
}

QAction* TZQMainFm::makeAction(const char* name, const char* caption, void (TZQMainFm::*handler)()) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    m_actions.push_back(action);
    return action;
}

QPushButton* TZQMainFm::makeButton(const char* name, QAction* action, int top) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(8, top, 200, 32);
    // The button shows its action: caption, enabled and visible state.
    const auto follow = [button, action] {
        button->setText(action->text());
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow();
    connect(action, &QAction::changed, button, follow);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    button->installEventFilter(this);
    return button;
}

void TZQMainFm::FormCreate() {
    for (QAction* action : m_actions)
        action->setText(i18n(action->text().toUtf8().constData()));
    // The program folder, where "zqgame.ini" and "media/media.ini" lie: the settings hold the
    // same folder (and tests point both at a temporary copy).
    AppDir = Settings ? Settings->AppDir : QApplication::applicationDirPath() + u'/';
    RunPracticeTime = 0;
    // Reads "zqgame.ini" once; the game window itself comes with the first game.
    GameLauncherHost host;
    host.profile = [this] {
        GameProfileValues values;
        const TFontValue& font = Profile->GameFont;
        values.FunSpeed = Profile->FunSpeed;
        values.GameFontName = font.Name;
        values.GameFontSize = font.Size;
        values.GameFontColor = font.Color;
        values.GameFontStyle = game::FontStyleSet(
            (font.Bold ? game::fsBold : 0) | (font.Italic ? game::fsItalic : 0) |
            (font.Underline ? game::fsUnderline : 0) | (font.StrikeOut ? game::fsStrikeOut : 0));
        values.GameBgColor = Profile->GameBgColor;
        values.GameSoundEnabled = Profile->GameSoundEnabled;
        values.GScore = {Profile->GScore1, Profile->GScore2, Profile->GScore3, Profile->GScore4,
                         Profile->GScore5};
        return values;
    };
    host.gameFile = [this] { return GetGameFile(); };
    host.hideActions = [this] { HideActions(); };
    host.showActions = [this] { ShowActions(); };
    host.playWave = [this](GameSound sound) {
        switch (sound) {
        case GameSound::CityMissShoot:
            PlayWave(Media.CityMissShootFile);
            break;
        case GameSound::CityShoot:
            PlayWave(Media.CityShootFile);
            break;
        case GameSound::CityHurt:
            PlayWave(Media.CityHurtFile);
            break;
        case GameSound::DifficultyIncrease:
            PlayWave(Media.DifficultyIncreaseFile);
            break;
        }
    };
    m_game = new GameLauncher(this, AppDir, std::move(host));
    WavePlayer = new SoundPlayer(this);
    LoadMediaSettings();
}

void TZQMainFm::LoadMediaSettings() {
    Media = MediaSettings::load(AppDir);
}

void TZQMainFm::SetProfile(TProfile* AProfile) {
    Profile = AProfile;
    // The keyboard and the hands are the application's once the logon has succeeded; until
    // then a failure frees them with this attempt, so that the next logon starts afresh.
    auto keyboard = std::make_unique<TVKeyboard>();
    auto left = std::make_unique<TPalmForm>();
    auto right = std::make_unique<TPalmForm>();
    keyboard->Blink = Profile->Blinking;
    left->Blink = Profile->Blinking;
    right->Blink = Profile->Blinking;
    VKeyboard = keyboard.get();
    PalmForm = left.get();
    RightPalmForm = right.get();
    bool shown = false;
    try {
        shown = LoadKeyboardAndHands();
    } catch (...) {
        VKeyboard = nullptr;
        PalmForm = nullptr;
        RightPalmForm = nullptr;
        throw;
    }
    if (shown) {
        applicationOwner().adopt(keyboard.release(), &VKeyboard);
        applicationOwner().adopt(left.release(), &PalmForm);
        applicationOwner().adopt(right.release(), &RightPalmForm);
        m_keyboard = std::make_unique<KeyboardCompanion>(VKeyboard, this);
        m_leftHand = std::make_unique<HandCompanion>(PalmForm, this);
        m_rightHand = std::make_unique<HandCompanion>(RightPalmForm, this);
        drillCompanions() = DrillCompanions{m_keyboard.get(), m_leftHand.get(), m_rightHand.get()};
    } else {
        // Without a layout the run goes on without the three windows (freed here): the drills
        // and the game need none of them, and the user can still choose another course.
        VKeyboard = nullptr;
        PalmForm = nullptr;
        RightPalmForm = nullptr;
        drillCompanions() = DrillCompanions{};
    }

    if (KeyboardAgent && !KeyboardAgent->ActivateLayout(Profile->KeyboardLayout.toLatin1()))
        dialogs().messageBox(Profile->KeyboardLayout + i18n(" layout could not be activated."), QString());
    // The on-screen keys only show the highlighted key; they take no clicks in this program.
    if (VKeyboard) VKeyboard->KbFrame->setEnabled(false);
}

bool TZQMainFm::LoadKeyboardAndHands() {
    const QString layout = GetLayoutFile();
    bool loaded = false;
    try {
        loaded = VKeyboard->LoadLayout(layout);
    } catch (const QuorvelError&) {
        // Key records whose values do not convert: a damaged layout like any other.
        loaded = false;
    }
    if (!loaded) {
        // Said once, naming the archive, so that a mistyped, deleted or damaged course does not
        // go unnoticed; the logon still completes.
        dialogs().warning(
            formatText(i18n("The keyboard of the course \"%s\" cannot be shown: its layout archive %s "
                            "is missing or damaged. The drills and the game go on without the "
                            "keyboard and the hands."),
                       {Profile->Course, layout}));
        return false;
    }
    PalmForm->SetHand(true);
    RightPalmForm->SetHand(false);
    PalmForm->LayoutFingers();
    RightPalmForm->LayoutFingers();
    return true;
}

QString TZQMainFm::cachedPath(QString& cache, const char* fileName) {
    if (cache.isEmpty()) cache = coursePath(Settings->AppDir, Profile->Course, QString::fromLatin1(fileName));
    return cache;
}

QString TZQMainFm::GetCourseFile() {
    return cachedPath(CourseFile, "course.txt");
}
QString TZQMainFm::GetPracticeFile() {
    return cachedPath(PracticeFile, "Practice.txt");
}
QString TZQMainFm::GetGameFile() {
    return cachedPath(GameFile, "Game.txt");
}
QString TZQMainFm::GetLayoutFile() {
    return cachedPath(LayoutFile, "layout.zqt");
}

void TZQMainFm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

namespace {
// Centres a window by the one record of its frame: its outer size, its outer corner placed.
void centreOnScreen(QWidget& window, OuterFrameFit& frameFit) {
    if (QScreen* s = window.screen()) {
        QRect frame = frameFit.frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        frameFit.moveFrameTo(frame.topLeft());
    }
}
} // namespace

void TZQMainFm::FormShow() {
    m_frameFit->whenFrameChanges({}); // a centring still waiting for the frame
    const bool fullScreen = Profile && Profile->FullScreen;
    if (fullScreen) {
        FitToScreen();
    } else {
        // Shrinks to the spacer's extent, and a single border cannot be dragged.
        m_frameFit->release();
        setFixedSize(Bevel1->size());
    }
    if (Profile) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, WinColor::toQColor(Profile->BgColor));
        setPalette(pal);
    }
    // Centred when first shown (or on leaving full screen); shown again after the game it comes
    // back where it was: centring then would use the frame Qt forgot while the window was hidden.
    // In full screen the window covers the screen, placed by FitToScreen.
    const bool placeAgain = !m_placed || m_placedFullScreen;
    m_placed = true;
    m_placedFullScreen = fullScreen;
    if (fullScreen || !placeAgain) return;
    centreOnScreen(*this, *m_frameFit);
    // The frame is known once the window manager has framed the window: centred again by it then,
    // and after that the window stays where the user puts it.
    m_frameFit->whenFrameChanges([this] {
        m_frameFit->whenFrameChanges({});
        centreOnScreen(*this, *m_frameFit);
        m_frameFit->release();
    });
}

void TZQMainFm::FitToScreen() {
    // The whole window, frame included, covers the screen.
    if (QScreen* s = screen()) {
        const QRect area = s->geometry();
        m_frameFit->fit(area.topLeft(), WindowExtent::outer(area.width()), WindowExtent::outer(area.height()));
    }
}

void TZQMainFm::HideActions() {
    if (!Profile || !Profile->FullScreen) return;
    for (QAction* action : m_actions) {
        action->setVisible(false);
        action->setEnabled(false);
    }
}

void TZQMainFm::ShowActions() {
    if (!Profile || !Profile->FullScreen) return;
    for (QAction* action : m_actions) {
        action->setVisible(true);
        action->setEnabled(true);
    }
}

bool TZQMainFm::eventFilter(QObject* watched, QEvent* event) {
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        if (event->type() == QEvent::FocusIn)
            CourseBnEnter(button);
        else if (event->type() == QEvent::FocusOut)
            CourseBnExit(button);
        else if (event->type() == QEvent::KeyPress) {
            // Enter presses the focused button, as the Space bar does: the keyboard user's
            // way through the menu.
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                button->click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TZQMainFm::CourseBnEnter(QPushButton* button) {
    QPalette pal = button->palette();
    pal.setColor(QPalette::ButtonText, WinColor::toQColor(0xFF0000)); // blue
    button->setPalette(pal);
}

void TZQMainFm::CourseBnExit(QPushButton* button) {
    QPalette pal = button->palette();
    pal.setColor(QPalette::ButtonText, WinColor::toQColor(0)); // black
    button->setPalette(pal);
}

void TZQMainFm::keyPressEvent(QKeyEvent* event) {
    // Exit is the window's cancel button: Esc presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (ExitBn->isVisible() && ExitBn->isEnabled()) ExitBn->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TZQMainFm::A_CourseExecute() {
    RunCourse();
}
void TZQMainFm::A_SentenceExecute() {
    RunSentenceDrill();
}
void TZQMainFm::A_FreeExecute() {
    RunFreeDrill();
}
void TZQMainFm::A_ParagraphExecute() {
    RunParagraphDrill();
}
void TZQMainFm::A_GameExecute() {
    RunGame();
}

void TZQMainFm::RunGame() {
    // As for the drills: the game's sounds are made ready while its window opens, not by the
    // first shot.
    if (Profile && Profile->GameSoundEnabled)
        WavePlayer->prepare({Media.CityMissShootFile, Media.CityShootFile, Media.CityHurtFile,
                             Media.DifficultyIncreaseFile});
    m_game->RunGame();
}
void TZQMainFm::A_HelpExecute() {
    ShowHelp();
}
void TZQMainFm::A_ProfileExecute() {
    EditProfile();
}
void TZQMainFm::A_OptionsExecute() {
    ShowOptions();
}
void TZQMainFm::A_ExitExecute() {
    close();
}

void TZQMainFm::ShowHelp() {
    const QString path = Settings->AppDir + Profile->HelpFile;
    // The desktop reports only whether it could hand the file on, so a missing file is
    // caught here first.
    const bool opened = QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened) dialogs().error(QStringLiteral("Can not open the help file: ") + Profile->HelpFile);
}

void TZQMainFm::ShowOptions() {}

void TZQMainFm::EditProfile() {
    auto editor = std::make_unique<TProfileFm>(this);
    editor->SetCourseList(courseFolderNames(Settings->AppDir));
    QFont font = editor->font();
    font.setFamily(Settings->FontName);
    editor->setFont(font);
    editor->SetKeyboardAgent(KeyboardAgent);
    editor->Edit(Profile);
}

void TZQMainFm::ShowPracticeTime() {
    Profile->TimeTotal = addPracticeTime(Profile->TimeTotal, RunPracticeTime - m_runTimeInTotal);
    m_runTimeInTotal = RunPracticeTime;
    dialogs().information(practiceTimeSummary(Profile->UserName, RunPracticeTime, Profile->TimeTotal));
}

void TZQMainFm::closeEvent(QCloseEvent* event) {
    if (m_closed || FormClose()) {
        event->accept();
        return;
    }
    event->ignore();
}

bool TZQMainFm::FormClose() {
    ShowPracticeTime();
    // Both are tried even when the first fails, so one bad file never costs the other.
    QStringList failures;
    try {
        Profile->Save();
    } catch (const QuorvelError& e) {
        failures << e.message();
    }
    try {
        Settings->Save();
    } catch (const QuorvelError& e) {
        failures << e.message();
    }
    if (!failures.isEmpty()) {
        dialogs().error(failures.join(u'\n'));
        if (!dialogs().confirm(i18n("The changes could not be saved. Quit without saving them?")))
            return false;
    }
    m_closed = true;
    m_game->freeGame();
    if (FmLogon) FmLogon->close();
    return true;
}

void TZQMainFm::PlayWave(const QString& FileName) {
    if (FileName != WavePlayer->fileName()) WavePlayer->setFileName(FileName);
    WavePlayer->play();
}

void TZQMainFm::PlayWordOk() {
    PlayWave(Media.WordOkFile);
}
void TZQMainFm::PlayWordErr() {
    PlayWave(Media.WordErrFile);
}

void TZQMainFm::DrillLineDone() {
    if (Profile->DrillSoundEnabled) PlayWordOk();
}

void TZQMainFm::DrillReturnDue() {
    if (Profile->DrillSoundEnabled) PlayWordOk();
}

void TZQMainFm::DrillTypingError() {
    if (Profile->DrillSoundEnabled) PlayWordErr();
}

template <typename Drill> std::unique_ptr<Drill> TZQMainFm::CreateDrill(const TFontValue& Font) {
    auto drill = std::make_unique<Drill>(this);
    // The drill's sounds are read and the audio output opened while the window opens: done at
    // the first line end or wrong key, that work would hold up the key under a loaded machine.
    if (Profile->DrillSoundEnabled) WavePlayer->prepare({Media.WordOkFile, Media.WordErrFile});
    drill->OnLineComplete = [this](QObject*) { DrillLineDone(); };
    drill->OnWrongKey = [this](QObject*) { DrillTypingError(); };
    drill->OnReturnExpected = [this](QObject*) { DrillReturnDue(); };
    drill->PopupStatistics = Profile->PopupAtEnd;
    drill->SetPracticeFont(DrillFont{Font.toQFont(), Font.toQColor()});
    drill->HighlightOn = Profile->HighLight;
    return drill;
}

namespace {

// The drill window's own font is the settings font; its sample and input boxes keep the
// practice font.
void applySettingsFont(QWidget& window) {
    QFont font = window.font();
    font.setFamily(Settings->FontName);
    window.setFont(font);
}

} // namespace

void TZQMainFm::RunDrill(TFmLinePractice& Drill) {
    HideActions();
    Drill.exec();
    RunPracticeTime = addPracticeTime(RunPracticeTime, Drill.GetTotalTime());
}

void TZQMainFm::RunCourse() {
    auto drill = CreateDrill<TFmCoursePrac>(Profile->PracticeFont);
    drill->SetBackgroundColor(Profile->BgColor);
    drill->SetFileName(GetCourseFile());
    drill->SetCurrentLine(Profile->Progress);
    drill->LoadFile();
    applySettingsFont(*drill);
    RunDrill(*drill);
    Profile->Progress = drill->GetCurrentLine();
    drill.reset();
    ShowActions();
}

void TZQMainFm::RunSentenceDrill() {
    auto drill = CreateDrill<TFmSentencePrac>(Profile->PracticeFont);
    drill->SetBackgroundColor(Profile->BgColor);
    drill->SetFileName(GetPracticeFile());
    drill->LoadFile();
    applySettingsFont(*drill);
    RunDrill(*drill);
    drill.reset();
    ShowActions();
}

void TZQMainFm::RunFreeDrill() {
    auto drill = CreateDrill<TFmLetterPrac>(Profile->PracticeFont);
    drill->SetBackgroundColor(Profile->BgColor);
    applySettingsFont(*drill);
    RunDrill(*drill);
    drill.reset();
    ShowActions();
}

void TZQMainFm::RunParagraphDrill() {
    auto drill = CreateDrill<TFmLongText>(Profile->TextFont);
    drill->SetBackgroundColor(Profile->BgColor);
    applySettingsFont(*drill);
    RunDrill(*drill);
    drill.reset();
    ShowActions();
}
