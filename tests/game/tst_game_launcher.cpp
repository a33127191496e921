#include "game/GameTestFiles.h"

#include "game/GameSettings.h"
#include "game/GameSpeedFile.h"
#include "game/ui/GameLauncher.h"
#include "platform/ScriptedDialogs.h"
#include "settings/FontValue.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>

// The main window's side of the game: settings file, first-game and every-game steps, the main
// window hidden while the game is open, and the sound hooks gated by the profile.
class TestGameLauncher : public QObject {
    Q_OBJECT
private slots:
    void init() { game::resetSettings(); }
    void speedFile_data();
    void speedFile();
    void firstAndLaterGames();
    void soundsFollowTheProfileOption_data();
    void soundsFollowTheProfileOption();
    void goingOnKeepsMainWindowHidden();
    void freeingTheGameEndsItsWorker();

private:
    struct Host {
        GameProfileValues profile;
        int gameFileRequests = 0;
        int hides = 0, shows = 0;
        QList<GameSound> played;
        QString gameFile;
        GameLauncherHost host() {
            return {[this] { return profile; },
                    [this] {
                        ++gameFileRequests;
                        return gameFile;
                    },
                    [this] { ++hides; }, [this] { ++shows; }, [this](GameSound s) { played << s; }};
        }
    };
};

void TestGameLauncher::speedFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<int>>("values");
    const QList<int> defaults{3500, 250, 250, 20};
    QTest::newRow("no file") << QByteArray() << defaults;
    QTest::newRow("all four") << QByteArray(
                                     "[General]\nNewWordSpeed=3000\nNewWordSpeedBy=100\nDropSpeed=200\n"
                                     "DropSpeedBy=10\n")
                              << QList<int>{3000, 100, 200, 10};
    QTest::newRow("names without case, hexadecimal, bad value")
        << QByteArray("[general]\r\nnewwordspeed=0x100\r\nDropSpeed=fast\r\n")
        << QList<int>{256, 250, 250, 20};
    QTest::newRow("other section only") << QByteArray("[Other]\nNewWordSpeed=1\n") << defaults;
    QTest::newRow("first of two keys")
        << QByteArray("[General]\nDropSpeedBy=5\nDropSpeedBy=6\n") << QList<int>{3500, 250, 250, 5};
}

void TestGameLauncher::speedFile() {
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, values);
    QTemporaryDir dir;
    if (!content.isEmpty()) {
        QFile file(dir.filePath("zqgame.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    game::NewWordSpeed = game::NewWordSpeedBy = game::DropSpeed = game::DropSpeedBy = -1;
    QWidget mainWindow;
    GameLauncher launcher(&mainWindow, dir.path(), {});
    QCOMPARE((QList<int>{game::NewWordSpeed, game::NewWordSpeedBy, game::DropSpeed, game::DropSpeedBy}),
             values);
    // The file is only read.
    QFile after(dir.filePath("zqgame.ini"));
    if (content.isEmpty()) {
        QVERIFY(!after.exists());
    } else {
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), content);
    }
}

void TestGameLauncher::firstAndLaterGames() {
    ScriptedDialogsGuard dialogs;
    WordFile words("alpha beta gamma");
    WordFile otherCourse("delta");
    Host h;
    h.gameFile = words.path();
    h.profile.GameFontSize = 16;
    h.profile.GameFontName = "DejaVu Sans Mono";
    h.profile.GameFontColor = 0x00FFFF;
    h.profile.GameFontStyle = game::fsBold | game::fsItalic;
    h.profile.GameBgColor = 0x404040;
    h.profile.FunSpeed = true;
    h.profile.GScore = {0, 1500, 0, 300, 0};
    QWidget mainWindow;
    mainWindow.show();
    GameLauncher launcher(&mainWindow, QDir::tempPath(), h.host());
    QCOMPARE(launcher.frame(), nullptr);

    dialogs->answerText("4");
    launcher.RunGame();
    TgameFrame* frame = launcher.frame();
    QVERIFY(frame);
    QCOMPARE(gameFrame, frame);
    QVERIFY(!mainWindow.isVisible());
    QVERIFY(frame->isVisible());
    QCOMPARE(h.hides, 1);
    QCOMPARE(h.gameFileRequests, 1);
    QCOMPARE(game::CellSize, 16);
    QCOMPARE(game::PlayfieldColor, 0x404040);
    QCOMPARE(game::FontColor, 0x00FFFF);
    QCOMPARE(game::FontName, QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(game::FontStyle, game::fsBold | game::fsItalic);
    QCOMPARE(game::TypedFontStyle, game::FontStyle);
    QVERIFY(game::FunSpeed);
    QCOMPARE(frame->Scores().list().count("000000"), 3);
    QVERIFY(frame->Scores().list().contains("001500"));
    QVERIFY(!frame->ShowScores);
    QCOMPARE(frame->PlayThread()->Difficulty, 4);

    dialogs->answerYes();
    frame->close();
    QVERIFY(mainWindow.isVisible());
    QCOMPARE(h.shows, 1);
    QVERIFY(dialogs->texts(ScriptedDialogs::Kind::Information).isEmpty()); // no score list shown

    // The second game takes the profile's display values as they are now, but keeps the word
    // file and the window of the first.
    h.gameFile = otherCourse.path();
    h.profile.GameFontSize = 12;
    h.profile.GameBgColor = 0x000080;
    h.profile.FunSpeed = false;
    h.profile.GameFontColor = WinColor::clWindowText;
    dialogs->answerText("2");
    launcher.RunGame();
    QCOMPARE(launcher.frame(), frame);
    QCOMPARE(h.gameFileRequests, 1);
    QCOMPARE(game::CellSize, 12);
    QCOMPARE(game::PlayfieldColor, 0x000080);
    QVERIFY(!game::FunSpeed);
    QVERIFY(game::FontColor >= 0); // the profile's system colour became a plain one
    QCOMPARE(game::Columns, frame->screen()->geometry().width() / 12);
    threadType* t = frame->PlayThread();
    QTRY_VERIFY([t] {
        std::lock_guard<std::mutex> locker(t->lock());
        return !t->Words.empty();
    }());
    {
        std::lock_guard<std::mutex> locker(t->lock());
        QVERIFY(t->Words.front()->Text != "delta");
    }
    dialogs->answerYes();
    frame->close();
    QCOMPARE(h.shows, 2);
}

void TestGameLauncher::soundsFollowTheProfileOption_data() {
    QTest::addColumn<bool>("enabled");
    QTest::newRow("sound on") << true;
    QTest::newRow("sound off") << false;
}

void TestGameLauncher::soundsFollowTheProfileOption() {
    QFETCH(bool, enabled);
    ScriptedDialogsGuard dialogs;
    WordFile words("alpha");
    Host h;
    h.gameFile = words.path();
    h.profile.GameSoundEnabled = enabled;
    QWidget mainWindow;
    GameLauncher launcher(&mainWindow, QDir::tempPath(), h.host());
    launcher.RunGame();
    TgameFrame* frame = launcher.frame();
    // The four events stay wired whatever the option; it is read when the sound comes.
    QVERIFY(frame->OnMiss && frame->OnShoot && frame->OnCityHurt && frame->OnLevelUp);
    threadType* t = frame->PlayThread();
    QVERIFY(t->OnMiss && t->OnShoot && t->OnCityHurt && t->OnLevelUp);
    // Raised from another thread, as the worker does.
    std::thread worker([t] {
        t->OnMiss(t);
        t->OnShoot(t);
        t->OnLevelUp(t);
    });
    worker.join();
    t->OnCityHurt(t);
    QCoreApplication::processEvents();
    const QList<GameSound> all{GameSound::CityMissShoot, GameSound::CityShoot, GameSound::DifficultyIncrease,
                               GameSound::CityHurt};
    QCOMPARE(h.played, enabled ? all : QList<GameSound>{});
    // Switched on mid-game: the next sound plays.
    h.profile.GameSoundEnabled = true;
    t->OnShoot(t);
    QCoreApplication::processEvents();
    QCOMPARE(h.played.last(), GameSound::CityShoot);
    dialogs->answerYes();
}

void TestGameLauncher::goingOnKeepsMainWindowHidden() {
    ScriptedDialogsGuard dialogs;
    WordFile words("alpha");
    Host h;
    h.gameFile = words.path();
    QWidget mainWindow;
    mainWindow.show();
    GameLauncher launcher(&mainWindow, QDir::tempPath(), h.host());
    launcher.RunGame();
    dialogs->answerNo();
    launcher.frame()->close();
    QVERIFY(launcher.frame()->isVisible());
    QVERIFY(!mainWindow.isVisible());
    QCOMPARE(h.shows, 0);
    dialogs->answerYes();
    launcher.frame()->close();
    QVERIFY(mainWindow.isVisible());
    QCOMPARE(h.shows, 1);
}

void TestGameLauncher::freeingTheGameEndsItsWorker() {
    ScriptedDialogsGuard dialogs;
    WordFile words("alpha beta");
    Host h;
    h.gameFile = words.path();
    QWidget mainWindow;
    GameLauncher launcher(&mainWindow, QDir::tempPath(), h.host());
    launcher.RunGame();
    threadType* t = launcher.frame()->PlayThread();
    QTRY_VERIFY(t->isRunning());
    QPointer<QThread> watch(t);
    launcher.freeGame(); // the main window closes while a game runs
    QVERIFY(watch.isNull());
    QCOMPARE(launcher.frame(), nullptr);
    QCOMPARE(gameFrame, nullptr);
}

QTEST_MAIN(TestGameLauncher)
#include "tst_game_launcher.moc"
