#include "game/PlayFixture.h"

#include "platform/Errors.h"
#include "platform/ScriptedDialogs.h"

#include <QtTest>

class TestPlayRules : public QObject {
    Q_OBJECT
private slots:
    void creationShowsEmptyStatus();
    void missingWordFileRaises();
    void newGameValues_data();
    void newGameValues();
    void firstStepTakesWordAtOnce();
    void dropsFollowTheInterval_data();
    void dropsFollowTheInterval();
    void bulletsMoveEverySecondStep();
    void scoring_data();
    void scoring();
    void twoKeysBetweenStepsOnlySecondCounts();
    void wrongKeyWithoutLockedWordDoesNothing();
    void bricksBrokenInOneRowOnly_data();
    void bricksBrokenInOneRowOnly();
    void twoWordsReachTheCityInOneStep();
    void wordFallsThroughGap();
    void wordLongerThanPlayfield();
    void levelBonus_data();
    void levelBonus();
    void levelUpPauseStopsTimedSpawns();
    void scoreAtZeroEndsGame();
    void resultFigures_data();
    void resultFigures();
    void redrawShowsCityAndWords();
};

void TestPlayRules::creationShowsEmptyStatus() {
    PlayFixture f("alpha beta");
    QCOMPARE(f.status, QStringList{" Difficulty: 0   Hit: 0   Lost: 0   Time: 0s  Score : 0"});
    QCOMPARE(f.thread->InitialBricks, f.thread->City->BrickCount());
    QCOMPARE(f.thread->City->BaseY, 200);
    QVERIFY(f.thread->Suspended());
    QVERIFY(!f.thread->Terminated());
}

void TestPlayRules::missingWordFileRaises() {
    WordFile file("x");
    GameCanvas canvas;
    canvas.resize(100, 100);
    QVERIFY_THROWS_EXCEPTION(EInOutError, threadType(file.missingPath(), &canvas, {}));
}

void TestPlayRules::newGameValues_data() {
    QTest::addColumn<int>("difficulty");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("totalWords");
    QTest::addColumn<int>("newWordInterval");
    QTest::addColumn<int>("dropInterval");
    QTest::newRow("1") << 1 << 1200 << 70 << 3250 << 230;
    QTest::newRow("5") << 5 << 2000 << 150 << 2250 << 150;
    QTest::newRow("10") << 10 << 3000 << 250 << 1000 << 50;
}

void TestPlayRules::newGameValues() {
    QFETCH(int, difficulty);
    PlayFixture f("a");
    f.thread->SetDifficulty(difficulty);
    QCOMPARE(f.thread->Score, f.thread->GetScore());
    QTEST(f.thread->Score, "score");
    QTEST(f.thread->TotalWords, "totalWords");
    QTEST(f.thread->NewWordInterval, "newWordInterval");
    QTEST(f.thread->DropInterval, "dropInterval");
    QCOMPARE(f.thread->BulletInterval, 25);
    QCOMPARE(f.thread->Level, difficulty);
    QCOMPARE(f.levelUps, 0); // setting the difficulty is no level change
    QCOMPARE(f.newGameTotal, f.thread->TotalWords);
    QCOMPARE(f.newGameBricks, f.thread->InitialBricks);
}

void TestPlayRules::firstStepTakesWordAtOnce() {
    PlayFixture f("alpha beta gamma");
    f.thread->SetDifficulty(10); // even at 70 percent, no timed spawn on the first step
    f.thread->beginPlay();
    const qsizetype statusBefore = f.status.size();
    QVERIFY(f.step());
    QCOMPARE(f.thread->Words.size(), size_t(1));
    QCOMPARE(f.thread->SpawnedCount, 1);
    QCOMPARE(f.status.size(), statusBefore); // the empty-screen rule updates no status
    QCOMPARE(f.word().Y, 0);
}

void TestPlayRules::dropsFollowTheInterval_data() {
    QTest::addColumn<int>("difficulty");
    QTest::addColumn<int>("stepsForFiveDrops");
    // 10 ms per step. At level 1 (230 ms) the first drop comes at the 22nd step (elapsed 25 +
    // 21 x 10 > 230), then every 22 steps; at level 12 (10 ms) and 13 (-10 ms) every step.
    QTest::newRow("level 1") << 1 << 22 + 4 * 22;
    QTest::newRow("level 12") << 12 << 5;
    QTest::newRow("level 13") << 13 << 5;
}

void TestPlayRules::dropsFollowTheInterval() {
    QFETCH(int, difficulty);
    QFETCH(int, stepsForFiveDrops);
    PlayFixture f("word");
    f.thread->SetDifficulty(difficulty);
    f.thread->beginPlay();
    for (int i = 0; i < stepsForFiveDrops - 1; ++i)
        QVERIFY(f.step());
    QCOMPARE(f.word().Y, 4);
    QVERIFY(f.step());
    QCOMPARE(f.word().Y, 5);
}

void TestPlayRules::bulletsMoveEverySecondStep() {
    PlayFixture f("ab");
    f.thread->SetDifficulty(1);
    f.thread->beginPlay();
    QVERIFY(f.step());
    QVERIFY(f.type('a'));
    QVERIFY(f.type('b'));
    QCOMPARE(f.thread->Bullets.size(), size_t(1));
    QList<int> ys;
    for (int i = 0; i < 6; ++i) {
        f.step();
        ys << f.thread->Bullets.at(0)->Y;
    }
    // Steps 1..3 took the bullet check's restart, a due check and a restart again.
    QCOMPARE(ys, (QList<int>{195, 195, 189, 189, 183, 183}));
}

void TestPlayRules::scoring_data() {
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("hit");
    QTest::addColumn<int>("shoots");
    QTest::addColumn<int>("misses");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("state");
    QTest::newRow("one letter scores 1") << QByteArray("x") << QByteArray("x") << 1 << 1 << 1 << 0 << 1 << 2;
    QTest::newRow("five letters score 25")
        << QByteArray("abcde") << QByteArray("abcde") << 25 << 1 << 1 << 0 << 5 << 2;
    QTest::newRow("half typed") << QByteArray("abcd") << QByteArray("ab") << 0 << 0 << 0 << 0 << 2 << 0;
    QTest::newRow("wrong letter unlocks")
        << QByteArray("abcd") << QByteArray("abx") << 0 << 0 << 0 << 1 << -1 << 0;
    QTest::newRow("backspace is a wrong letter")
        << QByteArray("abcd") << QByteArray("a\b") << 0 << 0 << 0 << 1 << -1 << 0;
    QTest::newRow("start again after a miss")
        << QByteArray("abc") << QByteArray("axabc") << 15 << 1 << 1 << 1 << 3 << 2;
    QTest::newRow("case matters") << QByteArray("Ab") << QByteArray("ab") << 0 << 0 << 0 << 0 << -1 << 0;
    QTest::newRow("Esc is never a letter")
        << QByteArray("ab") << QByteArray("a\x1b") << 0 << 0 << 0 << 0 << 1 << 0;
}

void TestPlayRules::scoring() {
    QFETCH(QByteArray, word);
    QFETCH(QByteArray, keys);
    PlayFixture f(word);
    f.thread->SetDifficulty(1);
    f.thread->beginPlay();
    QVERIFY(f.step());
    const int before = f.thread->Score;
    for (char key : keys)
        f.type(key);
    QCOMPARE(f.thread->Score - before, [&] {
        QFETCH(int, points);
        return points;
    }());
    QTEST(f.thread->Hit, "hit");
    QTEST(f.shoots, "shoots");
    QTEST(f.misses, "misses");
    QTEST(f.word().Typed, "typed");
    QTEST(f.word().State, "state");
    QCOMPARE(f.thread->Bullets.size(), size_t(f.shoots));
    QCOMPARE(f.thread->Locked, f.word().Typed > 0 && f.word().State == 0);
    if (f.shoots) QVERIFY(f.status.last().contains("Hit: 1"));
}

void TestPlayRules::twoKeysBetweenStepsOnlySecondCounts() {
    PlayFixture f("ab");
    f.thread->SetDifficulty(1);
    f.thread->beginPlay();
    QVERIFY(f.step());
    f.thread->KeyPressed('a');
    f.thread->KeyPressed('z');
    f.step();
    QCOMPARE(f.word().Typed, -1); // 'a' was overwritten before it was taken
    f.thread->KeyPressed('z');
    f.thread->KeyPressed('a');
    f.step();
    QCOMPARE(f.word().Typed, 1);
    QCOMPARE(f.misses, 0);
    QVERIFY(!f.thread->KeyPending);
}

void TestPlayRules::wrongKeyWithoutLockedWordDoesNothing() {
    PlayFixture f("ab");
    f.thread->SetDifficulty(1);
    f.thread->beginPlay();
    QVERIFY(f.step());
    const int score = f.thread->Score;
    f.type('q');
    QCOMPARE(f.misses, 0);
    QCOMPARE(f.thread->Score, score);
    QVERIFY(!f.thread->Locked);
}

void TestPlayRules::bricksBrokenInOneRowOnly_data() {
    QTest::addColumn<int>("lowestBrickRow"); // bricks from this row down, under columns 4..9
    QTest::addColumn<int>("brokenRow");
    QTest::newRow("full stacks lose the top row") << 1 << 1;
    QTest::newRow("stacks of two") << 2 << 2;
    QTest::newRow("stacks of one") << 3 << 3;
}

void TestPlayRules::bricksBrokenInOneRowOnly() {
    QFETCH(int, lowestBrickRow);
    QFETCH(int, brokenRow);
    PlayFixture f("abcd");
    f.thread->SetDifficulty(1);
    f.thread->DropInterval = 0;
    f.thread->beginPlay();
    QVERIFY(f.step());
    f.clearCity();
    for (int c = 4; c <= 9; ++c)
        for (int r = lowestBrickRow; r <= 3; ++r)
            f.thread->City->setBrick(r, c, 1);
    f.placeAboveCity(f.word(), 5); // letters over columns 5..8
    f.thread->KeyPressed('a');     // locked: breaking bricks unlocks it
    const int score = f.thread->Score;
    const int bricks = f.thread->City->BrickCount();
    f.step();
    QVERIFY(f.thread->Words.empty());
    QCOMPARE(f.thread->Score, score - 12);
    QCOMPARE(f.thread->Lost, 1);
    QCOMPARE(f.hurts, 1);
    QVERIFY(!f.thread->Locked);
    QCOMPARE(f.thread->City->BrickCount(), bricks - 4);
    for (int c = 4; c <= 9; ++c)
        for (int r = lowestBrickRow; r <= 3; ++r)
            QCOMPARE(f.thread->City->brick(r, c), (r == brokenRow && c >= 5 && c <= 8) ? 0 : 1);
    QCOMPARE(f.lastStatus, (QList<int>{bricks - 4, 0, 1}));
    QVERIFY(f.status.last().contains("Lost: 1"));
    // The broken cells are painted over; the neighbours stand.
    const int y = f.thread->City->rowTop(brokenRow) + 5;
    QCOMPARE(f.canvas.pixel(45, y), game::PlayfieldColor);
    QCOMPARE(f.canvas.pixel(79, y), game::PlayfieldColor);
}

void TestPlayRules::twoWordsReachTheCityInOneStep() {
    PlayFixture f("ab cd");
    f.thread->SetDifficulty(1);
    f.thread->DropInterval = 0;
    f.thread->beginPlay();
    QVERIFY(f.step());
    auto second = std::make_unique<strikerType>();
    second->Text = "cd";
    second->Length = 2;
    f.thread->Words.push_back(std::move(second));
    f.clearCity();
    for (int c = 1; c <= 20; ++c)
        f.thread->City->setBrick(3, c, 1);
    f.placeAboveCity(f.word(0), 2);
    f.placeAboveCity(f.word(1), 10);
    f.step();
    QVERIFY(f.thread->Words.empty());
    QCOMPARE(f.thread->Lost, 2);
    QCOMPARE(f.hurts, 2);
    QCOMPARE(f.thread->City->BrickCount(), 16);
}

void TestPlayRules::wordFallsThroughGap() {
    PlayFixture f("abc xyzzy");
    f.thread->SetDifficulty(1);
    f.thread->DropInterval = 0;
    f.thread->beginPlay();
    QVERIFY(f.step());
    f.clearCity();
    for (int c = 1; c <= 40; ++c)
        f.thread->City->setBrick(3, c, c < 5 || c > 10); // a gap over columns 5..10
    strikerType& w = f.word();
    f.placeAboveCity(w, 5);
    const int length = w.Length;
    const int score = f.thread->Score;
    int steps = 0;
    while (f.word().State == 0 && steps < 100) {
        f.step();
        ++steps;
    }
    QCOMPARE(steps, 200 - 159);
    QCOMPARE(f.thread->Score, score - 3 * length);
    QCOMPARE(f.thread->Lost, 1);
    QCOMPARE(f.hurts, 0);
    QCOMPARE(f.word().State, 3);
    f.step(); // removed at the next drop, after this step's spawn rules
    QVERIFY(f.thread->Words.empty());
    f.step(); // the empty screen brings the next word
    QCOMPARE(f.thread->Words.size(), size_t(1));
    QCOMPARE(f.word().Y, 1); // and drops in the same step
}

void TestPlayRules::wordLongerThanPlayfield() {
    PlayFixture f(QByteArray(60, 'w'));
    f.thread->SetDifficulty(1);
    f.thread->DropInterval = 0;
    f.thread->beginPlay();
    QVERIFY(f.step());
    QCOMPARE(f.word().Column, 1);
    f.clearCity();
    for (int c = 1; c <= 40; ++c)
        f.thread->City->setBrick(3, c, 1);
    f.placeAboveCity(f.word(), 1);
    f.step();
    QCOMPARE(f.hurts, 1);
    QCOMPARE(f.thread->City->brick(3, 40), 0); // the letters past the last column touch nothing
    QCOMPARE(f.thread->Score, 1200 - 180);
}

void TestPlayRules::levelBonus_data() {
    QTest::addColumn<int>("hitBefore");
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("bonus");
    // Difficulty 1: 70 words, thresholds above 17, 35 and 51 hits, with hits div (lost + 1) > 20.
    QTest::newRow("21 hits, none lost") << 20 << 0 << 1;
    QTest::newRow("17 hits: ratio too low") << 16 << 0 << 0;
    QTest::newRow("18 hits: ratio 18") << 17 << 0 << 0;
    QTest::newRow("42 hits, one lost") << 41 << 1 << 2;
    QTest::newRow("41 hits, one lost: ratio 20") << 40 << 1 << 0;
    QTest::newRow("36 hits") << 35 << 0 << 2;
    QTest::newRow("52 hits") << 51 << 0 << 3;
    QTest::newRow("51 hits") << 50 << 0 << 2;
}

void TestPlayRules::levelBonus() {
    QFETCH(int, hitBefore);
    QFETCH(int, lost);
    QFETCH(int, bonus);
    PlayFixture f("x y");
    f.thread->SetDifficulty(1);
    f.thread->beginPlay();
    QVERIFY(f.step());
    f.thread->Hit = hitBefore;
    f.thread->Lost = lost;
    const int score = f.thread->Score;
    f.type(f.word().Text.at(0));
    QCOMPARE(f.thread->Bonus, bonus);
    QCOMPARE(f.thread->Level, 1 + bonus);
    QCOMPARE(f.levelUps, bonus ? 1 : 0);
    QCOMPARE(f.thread->LevelUpPending, bonus != 0);
    QCOMPARE(f.thread->Score, score + 1 + (bonus ? 300 : 0));
    QCOMPARE(f.thread->DropInterval, 250 - (1 + bonus) * 20);
    // The bonus never falls back when the ratio drops.
    f.thread->Lost = 50;
    f.thread->DropInterval = 0;
    while (f.thread->Words.size() != 1 || f.word().State != 0)
        QVERIFY(f.step());
    f.type(f.word().Text.at(0));
    QCOMPARE(f.thread->Bonus, bonus);
    QCOMPARE(f.thread->Level, 1 + bonus);
}

void TestPlayRules::levelUpPauseStopsTimedSpawns() {
    PlayFixture f("a1 a2 a3 a4 a5 a6 a7 a8 a9");
    game::NewWordSpeed = 100;
    game::NewWordSpeedBy = 0;
    game::DropSpeed = 1000000;
    f.thread->SetDifficulty(16); // a timed spawn always wins its draw
    f.thread->beginPlay();
    QVERIFY(f.step());
    for (int i = 0; i < 2; ++i) {
        auto w = std::make_unique<strikerType>();
        w->Text = "zz";
        w->Length = 2;
        f.thread->Words.push_back(std::move(w));
    }
    f.thread->LevelUpPending = true;
    for (int i = 0; i < 10; ++i)
        f.step(200);
    QCOMPARE(f.thread->Words.size(), size_t(3));
    QVERIFY(f.thread->LevelUpPending);
    f.thread->Words.resize(1);
    f.step(200);
    f.step(200);
    QCOMPARE(f.thread->Words.size(), size_t(2));
    QVERIFY(!f.thread->LevelUpPending);
    // With the pause pending, an empty screen still gets its word.
    f.thread->Words.clear();
    f.thread->LevelUpPending = true;
    f.step(1);
    QCOMPARE(f.thread->Words.size(), size_t(1));
}

void TestPlayRules::scoreAtZeroEndsGame() {
    ScriptedDialogsGuard dialogs;
    PlayFixture f("abc def");
    f.thread->SetDifficulty(1);
    f.thread->DropInterval = 0;
    f.thread->beginPlay();
    QVERIFY(f.step());
    f.clearCity();
    f.thread->Score = 9;
    f.word().Y = 199;
    QVERIFY(!f.step()); // fell out: 9 - 9 = 0
    QCOMPARE(f.thread->Score, 0);
    f.thread->endPlay();
    QVERIFY(f.thread->Terminated());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information).size(), 1);
}

void TestPlayRules::resultFigures_data() {
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<int>("hit");
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("result");
    QTest::newRow("no word at all") << QByteArray("   \n\n  ") << 0 << 0 << 5000
                                    << "   Accuracy: 0%   WPM: 0   Expected WPM: 0";
    // The status line at creation read the stopped game clock, which stored its 25 ms floor.
    QTest::newRow("three of four in a minute")
        << QByteArray("w") << 3 << 1 << 60000 - 25 << "   Accuracy: 75%   WPM: 3   Expected WPM: 4";
    QTest::newRow("a minute and the floor")
        << QByteArray("w") << 3 << 1 << 60000 << "   Accuracy: 75%   WPM: 2   Expected WPM: 3";
    QTest::newRow("clock floor") << QByteArray("w") << 1 << 0 << 0
                                 << "   Accuracy: 100%   WPM: 2400   Expected WPM: 2400";
}

void TestPlayRules::resultFigures() {
    QFETCH(QByteArray, words);
    QFETCH(int, hit);
    QFETCH(int, lost);
    QFETCH(int, ms);
    QFETCH(QString, result);
    ScriptedDialogsGuard dialogs;
    PlayFixture f(words);
    f.thread->SetDifficulty(1);
    f.thread->beginPlay();
    if (words.trimmed().isEmpty()) QVERIFY(!f.step(0)); // nothing to show: the game ends at its first step
    f.thread->Hit = hit;
    f.thread->Lost = lost;
    f.now += ms;
    f.thread->endPlay();
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information), QStringList{result});
    QVERIFY(f.thread->Terminated());
}

void TestPlayRules::redrawShowsCityAndWords() {
    PlayFixture f("HHH");
    game::FontColor = 0x00FF00;
    f.thread->SetDifficulty(1);
    f.thread->beginPlay();
    QVERIFY(f.step());
    f.clearCity();
    f.thread->City->setBrick(3, 1, 1);
    f.canvas.resize(400, 200);
    f.thread->RedrawAll();
    QCOMPARE(f.canvas.pixel(5, 195), game::CityColor);
    QCOMPARE(f.canvas.pixel(15, 195), game::PlayfieldColor);
    int lime = 0;
    for (int x = 0; x < 400; ++x)
        for (int y = 0; y < 20; ++y)
            lime += (f.canvas.pixel(x, y) & 0xFF00) > 0xC000 && (f.canvas.pixel(x, y) & 0xFF) < 0x40;
    QVERIFY(lime > 0);
}

QTEST_MAIN(TestPlayRules)
#include "tst_play_rules.moc"
