#include "game/ui/TgameFrame.h"

#include "game/Difficulty.h"
#include "game/GameSettings.h"
#include "game/ui/GameProgressBar.h"
#include "game/ui/PlayfieldView.h"
#include "game/ui/THInputBox.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/KeyInput.h"
#include "platform/KeyTranslator.h"
#include "platform/Translation.h"
#include "settings/GradientColor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>

TgameFrame* gameFrame = nullptr;

namespace {
constexpr int kPanelHeight = 57;
}

TgameFrame::TgameFrame(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("gameFrame"));
    setWindowTitle(i18n("Game"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    // The panel keeps the button face of an ordinary window: the playfield colour that the
    // window takes on when shown must not reach it, or its labels turn unreadable. A role is only
    // kept from the parent when it is not set here explicitly.
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    face.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    Panel1->setPalette(face);
    Panel1->setAutoFillBackground(true);
    LbStatus = new QLabel(Panel1);
    LbStatus->setObjectName(QStringLiteral("LbStatus"));
    LbStatus->setFixedHeight(17);
    QPalette navy = LbStatus->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    LbStatus->setPalette(navy);
    Label2 = new QLabel(i18n("Progress"), Panel1);
    Label3 = new QLabel(i18n("Invader Life"), Panel1);
    Label1 = new QLabel(i18n("City Life"), Panel1);
    PbTotalLeft = new GameProgressBar(Panel1);
    PbTotalLeft->setObjectName(QStringLiteral("PbTotalLeft"));
    PbHitLost = new GameProgressBar(Panel1);
    PbHitLost->setObjectName(QStringLiteral("PbHitLost"));
    PbHitLost->setToolTip(i18n("How many words get hit correctly"));
    PbCityLife = new GameProgressBar(Panel1);
    PbCityLife->setObjectName(QStringLiteral("PbCityLife"));
    PbCityLife->setToolTip(i18n("How many city bricks get destroyed"));

    auto* grid = new QGridLayout(Panel1);
    grid->setContentsMargins(4, 0, 4, 2);
    grid->setVerticalSpacing(2);
    grid->addWidget(LbStatus, 0, 0, 1, 9);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(PbTotalLeft, 1, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(Label3, 1, 3);
    grid->addWidget(PbHitLost, 1, 4);
    grid->setColumnStretch(5, 1);
    grid->addWidget(Label1, 1, 6);
    grid->addWidget(PbCityLife, 1, 7);

    PaintBox1 = new PlayfieldView(&m_canvas, this);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));

    // The game starts with five empty scores.
    m_scores.ResetScores();
    ShowScores = false;
    OnClose = [this](QObject* sender, TCloseAction& action) { FormClose(sender, action); };

    GameTimer = new QTimer(this);
    GameTimer->setInterval(10);
    GameTimer->setTimerType(Qt::PreciseTimer);
    connect(GameTimer, &QTimer::timeout, this, &TgameFrame::TimerTick);
}

TgameFrame::~TgameFrame() {
    GameTimer->stop();
    m_playThread.reset(); // waits for the worker to end
    if (gameFrame == this) gameFrame = nullptr;
}

bool TgameFrame::timerActive() const {
    return GameTimer->isActive();
}

void TgameFrame::SetWordsFile(const QString& fileName) {
    WordsFileName = fileName;
}

void TgameFrame::AddScore(int Score) {
    m_scores.AddScore(Score);
}

void TgameFrame::SetGameFontName(const QString& name) {
    game::FontName = name;
    QFont f = PaintBox1->font();
    f.setFamily(name);
    PaintBox1->setFont(f);
    m_canvas.setFontName(name);
}

// ---- Showing ----

void TgameFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window system tells the window, not the widget, when it is uncovered.
    if (QWindow* window = windowHandle()) window->installEventFilter(this);
    if (!event->spontaneous()) FormShow();
}

bool TgameFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle() && windowHandle()->isExposed()) Paint();
    return QWidget::eventFilter(watched, event);
}

void TgameFrame::FormShow() {
    const QRect screen = (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->geometry();
    game::Columns = screen.width() / std::max(1, game::CellSize);
    game::Rows = 3;
    resize(screen.width(), screen.height());
    move(screen.topLeft());
    // The size above is that of the inside; with the title bar on top the bottom rows, where the
    // city stands, would lie below the screen. The window manager fits the whole window in.
    setWindowState((windowState() & ~Qt::WindowFullScreen) | Qt::WindowMaximized);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(GameCanvas::toRgb(game::PlayfieldColor)));
    setPalette(p);
    setAutoFillBackground(true);
    layoutPlayfield();
}

void TgameFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPlayfield();
    Paint();
}

void TgameFrame::layoutPlayfield() {
    Panel1->setGeometry(0, 0, width(), kPanelHeight);
    PaintBox1->setGeometry(0, kPanelHeight, game::Columns * game::CellSize,
                           std::max(0, height() - kPanelHeight));
}

// ---- A game ----

// A window just shown is fitted in and activated by the window manager a moment later. The game
// waits for that (a second at most): the playfield then has its final height, and the difficulty
// box or an error stands in front of this window, which stays on top of every other.
void TgameFrame::settleOnScreen() {
    if (!isVisible()) return;
    activateWindow();
    // Shown at the screen's size, the window with its title bar is taller than the screen until
    // the window manager has maximised it; the playfield measured before that would be taller
    // than the one shown, and its top rows (where new words appear) would lie out of sight.
    const auto fitsScreen = [this] {
        const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        return !s || frameGeometry().height() <= s->availableGeometry().height();
    };
    const auto settled = [this, fitsScreen] {
        return windowHandle() && windowHandle()->isExposed() && QApplication::activeWindow() == this &&
               fitsScreen();
    };
    if (settled()) return;
    const QDeadlineTimer deadline(1000);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (settled() || deadline.hasExpired()) loop.quit();
    });
    poll.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TgameFrame::StartGame() {
    GameTimer->stop();
    // The previous game's worker ends here; its object goes with it. Gone before the window
    // settles: a close that comes meanwhile finds no game to offer a score of again.
    m_playThread.reset();
    settleOnScreen();
    if (!isVisible()) return; // closed while it came up: no game
    m_canvas.setBrushColor(game::PlayfieldColor);
    m_canvas.setFontName(game::FontName);
    m_canvas.resize(PaintBox1->width(), PaintBox1->height());
    PaintBox1->update();
    try {
        m_playThread = std::make_unique<threadType>(
            WordsFileName, &m_canvas, [this](const QString& caption) { LbStatus->setText(caption); },
            gameClock);
    } catch (const QuorvelError& e) {
        // An unreadable word file: no game; the window stays with an empty playfield.
        dialogs().error(e.message());
        return;
    }
    threadType* t = m_playThread.get();
    if (OnMiss) t->OnMiss = OnMiss;
    if (OnShoot) t->OnShoot = OnShoot;
    if (OnCityHurt) t->OnCityHurt = OnCityHurt;
    if (OnLevelUp) t->OnLevelUp = OnLevelUp;
    connect(t, &QThread::finished, this, &TgameFrame::ThreadTerminated, Qt::QueuedConnection);
    t->OnNewGame = [this](int total, int bricks) { GameReset(total, bricks); };
    t->OnStatus = [this](int bricks, int hit, int lost) { GameStatus(bricks, hit, lost); };
    AskDifficulty();
    Paint(); // the difficulty box has gone from the window
    GameTimer->start();
}

void TgameFrame::AskDifficulty() {
    QString value = QStringLiteral("3");
    // Asked in front of this window: it stays on top, and right after showing it is not yet the
    // active window that the box would otherwise stand in front of.
    ExecuteHInputBox(i18n("Input Box"), i18n("Set difficulty (1-10)."), value, this);
    if (m_playThread) m_playThread->SetDifficulty(difficultyFromEntry(value));
}

void TgameFrame::GameReset(int totalWords, int initialBricks) {
    TotalWords = totalWords;
    InitialBricks = initialBricks;
    PbTotalLeft->setValue(0);
    PbCityLife->setValue(100);
    PbHitLost->setValue(100);
}

void TgameFrame::GameStatus(int bricksLeft, int hit, int lost) {
    // A city built without bricks has nothing to lose: its bar stays full.
    PbCityLife->setValue(InitialBricks > 0 ? bricksLeft * 100 / InitialBricks : 100);
    if (TotalWords > 0) {
        PbTotalLeft->setValue((hit + lost) * 100 / TotalWords);
    }
    PbCityLife->setFillColor(
        GradientColor(0x0000FF, 0x00FF00, PbCityLife->minimum(), PbCityLife->maximum(), PbCityLife->value()));
    if (TotalWords > 0) PbHitLost->setValue((TotalWords - hit) * 100 / TotalWords);
    PbHitLost->setFillColor(
        GradientColor(0x0000FF, 0xFFFF00, PbHitLost->minimum(), PbHitLost->maximum(), PbHitLost->value()));
    // Bars and status line repaint during play; keys wait for the step to end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TgameFrame::TimerTick() {
    if (m_playThread && m_playThread->Suspended() && !m_playThread->Terminated()) m_playThread->Resume();
    PaintBox1->refresh();
}

void TgameFrame::ThreadTerminated() {
    if (sender() != m_playThread.get()) return; // a game replaced meanwhile
    GameTimer->stop();
    PaintBox1->refresh();
}

bool TgameFrame::gameEnded() const {
    return m_playThread && m_playThread->Terminated();
}

// ---- Keys ----

void TgameFrame::FormKeyPress(char Key) {
    if (Key == 27) {
        close();
        return;
    }
    if (m_playThread) m_playThread->KeyPressed(Key);
}

// The same road as the drills' keys: the activated layout first, then one key-press per
// character (Esc 27, Backspace 8); a character without a code page value can match no letter.
// Unlike the drills, the game takes Ctrl with a key for the control character it types.
static char gameKey(const KeyInput::KeyChar& c) {
    return c.unmappable ? char(0x1A) : c.code;
}

void TgameFrame::keyPressEvent(QKeyEvent* event) {
    for (const KeyInput::KeyChar& c : KeyInput::keyPressChars(*event, KeyInput::CtrlKeys::ControlCharacters))
        FormKeyPress(gameKey(c));
}

void TgameFrame::inputMethodEvent(QInputMethodEvent* event) {
    // A composed character (dead key and letter) arrives as a commit, typed like a key.
    for (const KeyInput::KeyChar& c : KeyInput::committedChars(*event))
        FormKeyPress(gameKey(c));
    event->accept();
}

QVariant TgameFrame::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The program's own keyboard layout composes dead keys itself from plain key events, as in
    // the drills; without one, the desktop's input method composes them.
    if (query == Qt::ImEnabled) return !activeKeyTranslator();
    return QWidget::inputMethodQuery(query);
}

// ---- Leaving ----

bool TgameFrame::ConfirmExit() {
    if (gameEnded()) return true;
    return dialogs().confirm(i18n("Do you want to exit?"));
}

bool TgameFrame::QueryEnd() {
    const bool ended = gameEnded();
    if (!ended) GameTimer->stop(); // no further step while the question is open
    if (ConfirmExit()) {
        AddScore(m_playThread->GetScore());
        m_playThread->Terminate();
        // An abandoned game is never resumed: its worker ends now, the object stays for reading.
        m_playThread->release();
        return true;
    }
    if (!ended) GameTimer->start();
    return false;
}

void TgameFrame::FormClose(QObject*, TCloseAction& action) {
    if (!m_playThread) return; // before the first game the window simply hides
    if (QueryEnd()) {
        if (ShowScores) {
            m_scores.sortDescending();
            dialogs().information(i18n("Your game scores:\r\n") + m_scores.text());
        }
        action = TCloseAction::caHide;
    } else {
        action = TCloseAction::caNone;
    }
}

void TgameFrame::closeEvent(QCloseEvent* event) {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone)
        event->ignore();
    else
        event->accept();
}

// The window is uncovered or resized: the city and the words are drawn again on the playfield
// (bullets are not), and the view shows what changed.
void TgameFrame::Paint() {
    if (!m_playThread) return;
    m_playThread->RedrawAll();
    PaintBox1->refresh();
}
