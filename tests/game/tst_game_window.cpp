#include "game/GameTestFiles.h"

#include "game/GameScores.h"
#include "game/GameSettings.h"
#include "game/bulletType.h"
#include "game/ui/GameProgressBar.h"
#include "game/ui/PlayfieldView.h"
#include "game/ui/THInputBox.h"
#include "game/ui/TgameFrame.h"
#include "platform/KeyInput.h"
#include "platform/KeyTranslator.h"
#include "platform/ScriptedDialogs.h"
#include "platform/ui/QtDialogs.h"
#include "settings/GradientColor.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

// The game window driven as a player would: difficulty prompt, keys, Esc, closing; the worker
// runs for real, paced by the window's timer.
class TestGameWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void difficultyEntry_data();
    void difficultyEntry();
    void scoreListSequence();
    void columnsFollowScreenAndCellSize_data();
    void columnsFollowScreenAndCellSize();
    void barsFollowTheGame();
    void typedKeysShootWords();
    void activatedLayoutTypesTheGameKeys();
    void ctrlKeysAndForeignLettersMiss();
    void ctrlWithAKeyTypesItsControlCharacter_data();
    void ctrlWithAKeyTypesItsControlCharacter();
    void escThenNoGoesOnThenYesLeaves();
    void closingAfterTheEndAsksNothing();
    void unreadableWordFileStartsNoGame();
    void paintShowsCity();
    void bulletOverBricksStaysThroughTheTicks();
    void uncoveredOrResizedRedrawsCityNotBullets();
    void panelKeepsButtonFaceOverDarkPlayfield();
    void cityStaysInSightWhenTheWindowShrinks();
    void playfieldMeasuredAfterTheWindowFitsTheScreen();
    void inputBoxTakesDigitsOnly();
    void difficultyBoxStandsInFrontOfTheGame();
    void wordFileErrorStandsInFrontOfTheGame();
    void closedWhileComingUpStartsNoGame();

private:
    std::unique_ptr<TgameFrame> startedGame(ScriptedDialogs& dialogs, const WordFile& file,
                                            const QString& difficulty = QStringLiteral("3"));
};

void TestGameWindow::init() {
    game::resetSettings();
    game::CellSize = 16;
}

std::unique_ptr<TgameFrame> TestGameWindow::startedGame(ScriptedDialogs& dialogs, const WordFile& file,
                                                        const QString& difficulty) {
    auto frame = std::make_unique<TgameFrame>();
    frame->SetWordsFile(file.path());
    frame->show();
    dialogs.answerText(difficulty);
    frame->StartGame();
    return frame;
}

// Reads a value of the play under its lock.
template <typename F> static auto underLock(threadType* t, F f) {
    std::lock_guard<std::mutex> locker(t->lock());
    return f();
}

void TestGameWindow::difficultyEntry_data() {
    QTest::addColumn<QVariant>("entry"); // a text, or nothing for a cancelled box
    QTest::addColumn<int>("difficulty");
    QTest::newRow("0") << QVariant("0") << 3;
    QTest::newRow("11") << QVariant("11") << 3;
    QTest::newRow("10") << QVariant("10") << 10;
    QTest::newRow("007") << QVariant("007") << 7;
    QTest::newRow("1") << QVariant("1") << 1;
    QTest::newRow("untouched default") << QVariant() << 3;
    QTest::newRow("empty") << QVariant("") << 3;
    QTest::newRow("too long to convert") << QVariant("99999999999") << 3;
}

void TestGameWindow::difficultyEntry() {
    QFETCH(QVariant, entry);
    QFETCH(int, difficulty);
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha beta");
    TgameFrame frame;
    frame.SetWordsFile(file.path());
    frame.show();
    if (entry.isValid())
        dialogs->answerText(entry.toString());
    else
        dialogs->cancelText();
    frame.StartGame();
    QVERIFY(frame.PlayThread());
    QCOMPARE(underLock(frame.PlayThread(), [&] { return frame.PlayThread()->Difficulty; }), difficulty);
    QVERIFY(frame.timerActive());
    const auto& shown = dialogs->shown();
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0].kind, ScriptedDialogs::Kind::InputBox);
    QCOMPARE(shown[0].caption, QStringLiteral("Input Box"));
    QCOMPARE(shown[0].text, QStringLiteral("Set difficulty (1-10)."));
    QCOMPARE(frame.TotalWords, 50 + 20 * difficulty);
    dialogs->answerYes();
}

void TestGameWindow::scoreListSequence() {
    GameScores scores;
    for (int s : {0, 1500, 0, 300, 0})
        scores.AddScore(s);
    QCOMPARE(scores.list().count("000000"), 3);
    QVERIFY(scores.list().contains("001500"));
    QVERIFY(scores.list().contains("000300"));
    scores.AddScore(700);
    QCOMPARE(scores.list().count("000000"), 2);
    const QStringList before = scores.list();
    scores.AddScore(0);
    scores.AddScore(-5);
    QCOMPARE(scores.list(), before);
    scores.sortDescending();
    QCOMPARE(scores.list(), (QStringList{"001500", "000700", "000300", "000000", "000000"}));
    QCOMPARE(scores.text(), QStringLiteral("001500\r\n000700\r\n000300\r\n000000\r\n000000\r\n"));
    scores.AddScore(1500); // equal scores may both stand
    scores.AddScore(1000000);
    scores.sortDescending();
    QCOMPARE(scores.list(), (QStringList{"1000000", "001500", "001500", "000700", "000300"}));

    // Shown when the window closes with ShowScores, after the game's own score was offered.
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha");
    auto frame = startedGame(*dialogs, file);
    for (int s : {0, 1500, 0, 300, 0})
        frame->AddScore(s);
    frame->ShowScores = true;
    const int score = frame->PlayThread()->GetScore();
    dialogs->answerYes();
    frame->close();
    const QStringList info = dialogs->texts(ScriptedDialogs::Kind::Information);
    QCOMPARE(info.size(), 1);
    QCOMPARE(info[0], QStringLiteral("Your game scores:\r\n%1\r\n001500\r\n000300\r\n000000\r\n000000\r\n")
                          .arg(score, 6, 10, QLatin1Char('0')));
}

void TestGameWindow::columnsFollowScreenAndCellSize_data() {
    QTest::addColumn<int>("cellSize");
    QTest::newRow("14") << 14;
    QTest::newRow("16") << 16;
    QTest::newRow("5") << 5;
}

void TestGameWindow::columnsFollowScreenAndCellSize() {
    QFETCH(int, cellSize);
    game::CellSize = cellSize;
    game::Rows = 5;
    TgameFrame frame;
    frame.show();
    const int screenWidth = frame.screen()->geometry().width();
    QCOMPARE(game::Columns, screenWidth / cellSize);
    QCOMPARE(game::Rows, 3);
    QCOMPARE(frame.PaintBox1->width(), game::Columns * cellSize);
    QVERIFY(frame.PaintBox1->width() <= screenWidth);
    QVERIFY(screenWidth - frame.PaintBox1->width() < cellSize);
    QCOMPARE(frame.width(), screenWidth);
}

void TestGameWindow::barsFollowTheGame() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha beta");
    auto frame = startedGame(*dialogs, file, "3");
    QCOMPARE(frame->PbTotalLeft->value(), 0);
    QCOMPARE(frame->PbHitLost->value(), 100);
    QCOMPARE(frame->PbCityLife->value(), 100);
    QCOMPARE(frame->TotalWords, 110);
    const int bricks = frame->InitialBricks;
    QVERIFY(bricks > 0);
    // 11 of 110 hit, none lost, the whole city standing.
    frame->PlayThread()->OnStatus(bricks, 11, 0);
    QCOMPARE(frame->PbTotalLeft->value(), 10);
    QCOMPARE(frame->PbHitLost->value(), 90);
    QCOMPARE(frame->PbCityLife->value(), 100);
    QCOMPARE(frame->PbCityLife->fillColor(), 51255);   // red 55, green 200: not quite lime
    QCOMPARE(frame->PbHitLost->fillColor(), 11842635); // red 75, green 180, blue 180
    frame->PlayThread()->OnStatus(bricks / 2, 11, 11);
    QCOMPARE(frame->PbTotalLeft->value(), 20);
    QCOMPARE(frame->PbCityLife->value(), (bricks / 2) * 100 / bricks);
    // A city built without bricks keeps a full bar instead of dividing by zero.
    frame->InitialBricks = 0;
    frame->PlayThread()->OnStatus(0, 0, 0);
    QCOMPARE(frame->PbCityLife->value(), 100);
    dialogs->answerYes();
}

void TestGameWindow::typedKeysShootWords() {
    ScriptedDialogsGuard dialogs;
    WordFile file("\xe9t\xe9");
    auto frame = startedGame(*dialogs, file, "1");
    threadType* t = frame->PlayThread();
    QTRY_COMPARE(underLock(t, [&] { return t->Words.size(); }), size_t(1));
    // A character beyond ASCII, as an input method or a layout delivers it.
    QTest::sendKeyEvent(QTest::Click, frame.get(), Qt::Key_unknown, QStringLiteral("\u00e9"), Qt::NoModifier);
    QTRY_COMPARE(underLock(t, [&] { return t->Words.front()->Typed; }), 1);
    QTest::keyClick(frame.get(), Qt::Key_T);
    QTRY_COMPARE(underLock(t, [&] { return t->Words.front()->Typed; }), 2);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("\u00e9"));
    QApplication::sendEvent(frame.get(), &commit);
    QTRY_COMPARE(underLock(t, [&] { return t->Hit; }), 1);
    QCOMPARE(underLock(t, [&] { return t->Score; }), 1000 + 200 + 15);
    // The supply is empty and the word is shot: the game ends and shows its result.
    QTRY_VERIFY(t->Terminated());
    QTRY_VERIFY(!frame->timerActive());
    QTRY_COMPARE(dialogs->texts(ScriptedDialogs::Kind::Information).size(), 1);
    QVERIFY(dialogs->texts(ScriptedDialogs::Kind::Information)[0].startsWith("   Accuracy: 100%"));
    QVERIFY(frame->LbStatus->text().contains("Hit: 1"));
}

// A layout of the program's own that types every key as "\u00b4" (a dead key then the space bar).
class AcuteTranslator : public KeyTranslator {
public:
    std::optional<QString> translate(const QKeyEvent&) override { return QStringLiteral("\u00b4"); }
};

void TestGameWindow::activatedLayoutTypesTheGameKeys() {
    ScriptedDialogsGuard dialogs;
    WordFile file("\xb4x");
    auto frame = startedGame(*dialogs, file, "1");
    threadType* t = frame->PlayThread();
    QTRY_COMPARE(underLock(t, [&] { return t->Words.size(); }), size_t(1));
    QVERIFY(static_cast<QWidget*>(frame.get())->inputMethodQuery(Qt::ImEnabled).toBool());
    AcuteTranslator acute;
    setActiveKeyTranslator(&acute);
    // The desktop's input method must not compose in its place: the layout sees the plain keys.
    const bool imEnabled = static_cast<QWidget*>(frame.get())->inputMethodQuery(Qt::ImEnabled).toBool();
    QTest::keyClick(frame.get(), Qt::Key_Space);
    setActiveKeyTranslator(nullptr);
    QVERIFY(!imEnabled);
    QTRY_COMPARE(underLock(t, [&] { return t->Words.front()->Typed; }), 1);
}

void TestGameWindow::ctrlKeysAndForeignLettersMiss() {
    ScriptedDialogsGuard dialogs;
    WordFile file("Rat");
    auto frame = startedGame(*dialogs, file, "1");
    threadType* t = frame->PlayThread();
    std::atomic<int> misses{0}; // counted on the worker
    underLock(t, [&] { return t->OnMiss = [&misses](QObject*) { ++misses; }, 0; });
    QTRY_COMPARE(underLock(t, [&] { return t->Words.size(); }), size_t(1));
    const auto keyTaken = [&] { return !underLock(t, [&] { return t->KeyPending; }); };
    QTest::keyClick(frame.get(), 'R');
    QTRY_COMPARE(underLock(t, [&] { return t->Words.front()->Typed; }), 1);
    // Ctrl+B types its control character, which is no letter of the locked word.
    QTest::keyClick(frame.get(), Qt::Key_B, Qt::ControlModifier);
    QTRY_COMPARE(misses.load(), 1);
    QCOMPARE(underLock(t, [&] { return t->Words.front()->Typed; }), -1);
    QVERIFY(!underLock(t, [&] { return t->Locked; }));
    QTest::keyClick(frame.get(), 'a');
    QTRY_VERIFY(keyTaken());
    QTest::keyClick(frame.get(), 't');
    QTRY_VERIFY(keyTaken());
    QCOMPARE(underLock(t, [&] { return t->Hit; }), 0);
    QCOMPARE(underLock(t, [&] { return t->Words.front()->State; }), int(strikerType::Falling));

    // A letter the code page does not hold matches no letter of a word.
    QTest::keyClick(frame.get(), 'R');
    QTRY_COMPARE(underLock(t, [&] { return t->Words.front()->Typed; }), 1);
    QTest::sendKeyEvent(QTest::Click, frame.get(), Qt::Key_unknown, QStringLiteral("\u0436"), Qt::NoModifier);
    QTRY_COMPARE(misses.load(), 2);
    QCOMPARE(underLock(t, [&] { return t->Words.front()->Typed; }), -1);
    dialogs->answerYes();
}

void TestGameWindow::ctrlWithAKeyTypesItsControlCharacter_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("game");
    const int ctrl = int(Qt::ControlModifier);
    QTest::newRow("Ctrl+B as tests send it") << int(Qt::Key_B) << ctrl << "b" << QByteArray("\x02");
    QTest::newRow("Ctrl+B as X11 sends it") << int(Qt::Key_B) << ctrl << "\x02" << QByteArray("\x02");
    QTest::newRow("Ctrl+Shift+Z") << int(Qt::Key_Z) << (ctrl | int(Qt::ShiftModifier)) << "Z"
                                  << QByteArray("\x1a");
    QTest::newRow("Ctrl+[ is Esc") << int(Qt::Key_BracketLeft) << ctrl << "[" << QByteArray("\x1b");
    QTest::newRow("Ctrl+_") << int(Qt::Key_Underscore) << ctrl << "_" << QByteArray("\x1f");
    QTest::newRow("Ctrl+1 types nothing") << int(Qt::Key_1) << ctrl << "1" << QByteArray();
    QTest::newRow("Ctrl alone types nothing") << int(Qt::Key_Control) << ctrl << "" << QByteArray();
    QTest::newRow("AltGr as Ctrl+Alt types its character")
        << int(Qt::Key_At) << (ctrl | int(Qt::AltModifier)) << "@" << QByteArray("@");
}

void TestGameWindow::ctrlWithAKeyTypesItsControlCharacter() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QByteArray game;
    for (const KeyInput::KeyChar& c : KeyInput::keyPressChars(event, KeyInput::CtrlKeys::ControlCharacters))
        game += c.code;
    QTEST(game, "game");
    // The drills keep taking Ctrl with a key for a shortcut.
    QByteArray drill;
    for (const KeyInput::KeyChar& c : KeyInput::keyPressChars(event))
        drill += c.code;
    QCOMPARE(drill, (modifiers & Qt::AltModifier) ? game : QByteArray());
}

void TestGameWindow::escThenNoGoesOnThenYesLeaves() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha beta gamma");
    auto frame = startedGame(*dialogs, file);
    threadType* t = frame->PlayThread();
    QTRY_COMPARE(underLock(t, [&] { return t->Words.size(); }), size_t(1));
    const int score = t->GetScore();
    dialogs->answerNo();
    QTest::keyClick(frame.get(), Qt::Key_Escape);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Confirm), QStringList{"Do you want to exit?"});
    QVERIFY(frame->isVisible());
    QVERIFY(frame->timerActive());
    QVERIFY(!t->Terminated());
    QCOMPARE(t->GetScore(), score);
    QVERIFY(!frame->Scores().list().contains(QString::number(score).rightJustified(6, '0')));

    dialogs->answerYes();
    QTest::keyClick(frame.get(), Qt::Key_Escape);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Confirm).size(), 2);
    QVERIFY(!frame->isVisible());
    QVERIFY(!frame->timerActive());
    QVERIFY(t->Terminated());
    QVERIFY(t->isFinished()); // the abandoned game's worker has ended
    QVERIFY(frame->Scores().list().contains(QString::number(t->GetScore()).rightJustified(6, '0')));
    QVERIFY(dialogs->texts(ScriptedDialogs::Kind::Information).isEmpty()); // ShowScores is off
}

void TestGameWindow::closingAfterTheEndAsksNothing() {
    ScriptedDialogsGuard dialogs;
    WordFile file("   \n\n");
    auto frame = startedGame(*dialogs, file);
    threadType* t = frame->PlayThread();
    QTRY_VERIFY(t->Terminated());
    QTRY_VERIFY(!frame->timerActive());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information),
             QStringList{"   Accuracy: 0%   WPM: 0   Expected WPM: 0"});
    frame->close();
    QVERIFY(!frame->isVisible());
    QVERIFY(dialogs->texts(ScriptedDialogs::Kind::Confirm).isEmpty());
    QVERIFY(frame->Scores().list().contains("001600"));
    // A second game replaces the ended one.
    frame->show();
    dialogs->answerText("2");
    frame->StartGame();
    QVERIFY(frame->PlayThread() != nullptr);
    QCOMPARE(frame->TotalWords, 90);
}

void TestGameWindow::unreadableWordFileStartsNoGame() {
    ScriptedDialogsGuard dialogs;
    WordFile file("x");
    TgameFrame frame;
    frame.SetWordsFile(file.missingPath());
    frame.show();
    frame.StartGame();
    QCOMPARE(frame.PlayThread(), nullptr);
    QVERIFY(!frame.timerActive());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error).size(), 1);
    QVERIFY(dialogs->texts(ScriptedDialogs::Kind::InputBox).isEmpty());
    QVERIFY(frame.isVisible());
    QTest::keyClick(&frame, Qt::Key_A); // reaches no game
    frame.close();
    QVERIFY(!frame.isVisible());
    QVERIFY(dialogs->texts(ScriptedDialogs::Kind::Confirm).isEmpty());
}

void TestGameWindow::paintShowsCity() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha");
    game::PlayfieldColor = 0x000000;
    auto frame = startedGame(*dialogs, file);
    const QImage shot = frame->PaintBox1->grab().toImage();
    int city = 0;
    for (int x = 0; x < shot.width(); ++x)
        city += shot.pixel(x, shot.height() - 2) == GameCanvas::toRgb(game::CityColor);
    QVERIFY(city > 0);
    QCOMPARE(QColor(shot.pixel(shot.width() / 2, 5)), QColor(Qt::black));
    dialogs->answerYes();
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    std::atomic<int> paints{0};

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// A bullet fired at a word high above, one step up from below the playfield into the bottom row
// of the city, over a brick; the play's own bullet step, under the play's lock.
struct BulletOverBrick {
    // The brick's colour with the bullet's pen over it in XOR.
    static constexpr int32_t Inverted = game::CityColor ^ game::BulletColor ^ 0xAAAAAA;
    strikerType target;
    std::unique_ptr<bulletType> bullet;
    QPoint inside; // a pixel of the bullet's box

    explicit BulletOverBrick(threadType* t) {
        int column = 1;
        {
            std::lock_guard<std::mutex> locker(t->lock());
            column = t->City->columns() / 2;
            t->City->setBrick(t->City->rows(), column, 1);
        }
        t->RedrawAll(); // the brick stands on the playfield
        std::lock_guard<std::mutex> locker(t->lock());
        target.Text = "a";
        target.Length = 1;
        target.X = (column - 1) * game::CellSize;
        target.Y = 0;
        bullet = std::make_unique<bulletType>(t->Canvas, &target, t->City->BaseY + 1);
        bullet->Step();
        inside = QPoint(bullet->X + 1, t->City->BaseY - 3);
    }
    int32_t onCanvas(TgameFrame& frame) const { return frame.canvas().pixel(inside.x(), inside.y()); }
};

void TestGameWindow::bulletOverBricksStaysThroughTheTicks() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha");
    game::PlayfieldColor = 0x000000;
    auto frame = startedGame(*dialogs, file, "1");
    threadType* t = frame->PlayThread();
    QTRY_COMPARE(underLock(t, [&] { return t->Words.size(); }), size_t(1));
    PaintCounter counter(frame->PaintBox1);
    const BulletOverBrick shot(t);
    QCOMPARE(shot.onCanvas(*frame), BulletOverBrick::Inverted);
    // The window's timer ticks on and the playfield repaints what changed: the bullet stays.
    const int before = counter.paints;
    QTRY_VERIFY(counter.paints > before + 2);
    QVERIFY(frame->timerActive());
    QCOMPARE(shot.onCanvas(*frame), BulletOverBrick::Inverted);
    const QImage view = frame->PaintBox1->grab().toImage();
    const QPoint onView = shot.inside + QPoint(0, frame->PaintBox1->imageTop());
    QCOMPARE(view.pixel(onView), GameCanvas::toRgb(BulletOverBrick::Inverted));
    dialogs->answerYes();
}

void TestGameWindow::uncoveredOrResizedRedrawsCityNotBullets() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha");
    game::PlayfieldColor = 0x000000;
    auto frame = startedGame(*dialogs, file, "1");
    threadType* t = frame->PlayThread();
    const BulletOverBrick covered(t);
    QCOMPARE(covered.onCanvas(*frame), BulletOverBrick::Inverted);
    // As the window system says when a window in front has gone.
    QExposeEvent uncovered(QRegion(QRect(QPoint(0, 0), frame->size())));
    QCoreApplication::sendEvent(frame->windowHandle(), &uncovered);
    QCOMPARE(covered.onCanvas(*frame), game::CityColor);

    const BulletOverBrick resized(t);
    QCOMPARE(resized.onCanvas(*frame), BulletOverBrick::Inverted);
    frame->setWindowState(Qt::WindowNoState);
    frame->resize(frame->width(), frame->height() - 20);
    QTRY_COMPARE(resized.onCanvas(*frame), game::CityColor);
    dialogs->answerYes();
}

void TestGameWindow::cityStaysInSightWhenTheWindowShrinks() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha");
    game::PlayfieldColor = 0x000000;
    auto frame = startedGame(*dialogs, file);
    // The window manager takes the title bar off the height after the game has begun.
    frame->setWindowState(Qt::WindowNoState);
    frame->resize(frame->width(), frame->height() - 100);
    QTRY_COMPARE(frame->PaintBox1->height(), frame->canvas().height() - 100);
    const QImage shot = frame->PaintBox1->grab().toImage();
    int city = 0;
    for (int x = 0; x < shot.width(); ++x)
        city += shot.pixel(x, shot.height() - 2) == GameCanvas::toRgb(game::CityColor);
    QVERIFY(city > 0);
    dialogs->answerYes();
}

void TestGameWindow::playfieldMeasuredAfterTheWindowFitsTheScreen() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha");
    TgameFrame frame;
    frame.SetWordsFile(file.path());
    frame.show();
    // As a window manager does it: the window stands taller than the screen for a moment after
    // it is shown, and is then fitted in.
    const QRect available = frame.screen()->availableGeometry();
    frame.setWindowState(Qt::WindowNoState);
    frame.setGeometry(available.x(), available.y(), available.width(), available.height() + 40);
    QTRY_COMPARE(frame.height(), available.height() + 40);
    QTimer::singleShot(150, &frame, [&frame, available] { frame.setGeometry(available); });
    dialogs->answerText(QStringLiteral("3"));
    frame.StartGame();
    QVERIFY(frame.PlayThread());
    QTRY_COMPARE(frame.height(), available.height());
    // The playfield's top row, where new words appear, is the view's top row.
    QCOMPARE(frame.canvas().height(), frame.PaintBox1->height());
    QCOMPARE(frame.PaintBox1->imageTop(), 0);
    dialogs->answerYes();
}

void TestGameWindow::panelKeepsButtonFaceOverDarkPlayfield() {
    game::PlayfieldColor = 0x400000; // navy, as the bundled profiles have it
    TgameFrame frame;
    frame.show();
    const QImage shot = frame.grab().toImage();
    const QRgb face = QApplication::palette().color(QPalette::Button).rgb();
    QVERIFY(face != GameCanvas::toRgb(game::PlayfieldColor));
    // The status line and the bar labels stand on the button face, not on the playfield colour.
    for (QLabel* w : {frame.LbStatus, frame.Label1, frame.Label2, frame.Label3}) {
        const QRect area(w->mapTo(&frame, QPoint(0, 0)), w->size());
        int onFace = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                onFace += shot.pixel(x, y) == face;
        QVERIFY2(onFace * 2 > area.width() * area.height(), qPrintable(w->objectName() + w->text()));
    }
    // The window beside the panel takes the playfield colour.
    QCOMPARE(shot.pixel(shot.width() - 1, shot.height() - 1), GameCanvas::toRgb(game::PlayfieldColor));
}

void TestGameWindow::inputBoxTakesDigitsOnly() {
    THInputBox box;
    QString value = QStringLiteral("3");
    QTimer::singleShot(0, &box, [&box] {
        box.Edit->clear();
        QTest::keyClicks(box.Edit, "a0b7x");
        QVERIFY(box.BnCancel->isHidden());
        box.BnOK->click();
    });
    QVERIFY(box.Execute("Input Box", "Set difficulty (1-10).", value));
    QCOMPARE(value, QStringLiteral("07"));
    QCOMPARE(box.windowTitle(), QStringLiteral("Input Box"));
    QCOMPARE(box.Edit->alignment() & Qt::AlignRight, Qt::AlignRight);
    // The right-aligned entry keeps a gap to the field's right edge: frame, style margin and about
    // half a character more (the style's own margin alone leaves some 6 pixels).
    box.Edit->setText(QStringLiteral("3"));
    box.show();
    const QImage field = box.Edit->grab().toImage();
    const QRgb base = field.pixel(field.width() / 2, field.height() / 2);
    int rightmostInk = -1;
    for (int x = 0; x < field.width() - 3; ++x)
        for (int y = 3; y < field.height() - 3; ++y)
            if (field.pixel(x, y) != base) rightmostInk = std::max(rightmostInk, x);
    QVERIFY(rightmostInk > 0);
    QVERIFY2(field.width() - 1 - rightmostInk >= 9,
             qPrintable(QString::number(field.width() - 1 - rightmostInk)));
    box.hide();

    THInputBox cancelled;
    value = QStringLiteral("3");
    QTimer::singleShot(0, &cancelled, [&cancelled] {
        QTest::keyClicks(cancelled.Edit, "5");
        cancelled.reject();
    });
    QVERIFY(!cancelled.Execute("Input Box", "Set difficulty (1-10).", value));
    QCOMPARE(value, QStringLiteral("5")); // the entry counts even when not confirmed
}

// Runs answer on the first modal dialog of type Box that comes up (polled, as it comes up
// inside a later event loop).
template <typename Box> static void whenModal(QObject* context, std::function<void(Box*)> answer) {
    auto* poll = new QTimer(context);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, context, [poll, answer] {
        if (auto* box = qobject_cast<Box*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(box);
        }
    });
    poll->start();
}

void TestGameWindow::difficultyBoxStandsInFrontOfTheGame() {
    WordFile file("alpha");
    std::unique_ptr<Dialogs> previous = setDialogs(std::make_unique<QtDialogs>());
    TgameFrame frame;
    frame.SetWordsFile(file.path());
    frame.show();
    QWidget* owner = nullptr;
    whenModal<THInputBox>(&frame, [&owner](THInputBox* box) {
        owner = box->parentWidget();
        box->Edit->setText(QStringLiteral("4"));
        box->BnOK->click();
    });
    frame.StartGame();
    setDialogs(std::move(previous));
    // A box of the window that stays on top is shown in front of it, not behind it.
    QCOMPARE(owner, &frame);
    QCOMPARE(underLock(frame.PlayThread(), [&] { return frame.PlayThread()->Difficulty; }), 4);
    ScriptedDialogsGuard dialogs;
    dialogs->answerYes();
    frame.close();
}

void TestGameWindow::wordFileErrorStandsInFrontOfTheGame() {
    WordFile file("x");
    std::unique_ptr<Dialogs> previous = setDialogs(std::make_unique<QtDialogs>());
    QWidget other; // the main window, active until the game window comes up
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    TgameFrame frame;
    frame.SetWordsFile(file.missingPath());
    frame.show();
    QWidget* owner = nullptr;
    QString shown;
    whenModal<QMessageBox>(&frame, [&](QMessageBox* box) {
        owner = box->parentWidget();
        shown = box->text();
        box->accept();
    });
    frame.StartGame();
    setDialogs(std::move(previous));
    QVERIFY(!shown.isEmpty());
    QCOMPARE(owner, &frame);
    QCOMPARE(frame.PlayThread(), nullptr);
}

void TestGameWindow::closedWhileComingUpStartsNoGame() {
    ScriptedDialogsGuard dialogs;
    WordFile file("alpha");
    auto frame = startedGame(*dialogs, file);
    dialogs->answerYes();
    frame->close(); // the first game is left; its score is offered once
    const QStringList scores = frame->Scores().list();
    QCOMPARE(scores.count("000000"), 4);

    // The window comes up again but is closed before it has become the active window.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    frame->show();
    QCoreApplication::postEvent(frame->windowHandle(), new QCloseEvent);
    frame->StartGame();
    QVERIFY(!frame->isVisible());
    QCOMPARE(frame->Scores().list(), scores); // the ended game is not offered again
    QCOMPARE(frame->PlayThread(), nullptr);
    QVERIFY(!frame->timerActive());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::InputBox).size(), 1); // no game, no box
}

QTEST_MAIN(TestGameWindow)
#include "tst_game_window.moc"
