#include "game/GameTestFiles.h"

#include "game/GameCanvas.h"
#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "game/bulletType.h"
#include "game/cityType.h"
#include "game/strikerSourceType.h"
#include "game/strikerType.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/TextLines.h"
#include "support/UnusualFiles.h"

#include <QPainter>
#include <QtTest>

using Groups = QList<QList<QByteArray>>;

class TestGamePieces : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { GameRandom::setSeedSource({}); }
    void wordFileGroups_data();
    void wordFileGroups();
    void missingWordFileRaises();
    void wordFileThatIsNoTextIsRefused();
    void everyWordOnceThenExhausted_data();
    void everyWordOnceThenExhausted();
    void cursorCarriesOverAndSkipsToGroupTwo();
    void firstWordInLeftHalf();
    void placementAtRightEdge();
    void funSpeedGivesAllThreeSpeeds();
    void chanceBounds_data();
    void chanceBounds();
    void cityStacks_data();
    void cityStacks();
    void eraseBricksPaintsOnlyItsCells();
    void bulletHitsAtFirstStep();
    void bulletClimbsInXor();
    void typedLettersInTypedColor();
    void letterAtTopLeftKeepsAllItsInk_data();
    void letterAtTopLeftKeepsAllItsInk();
};

void TestGamePieces::init() {
    game::resetSettings();
    GameRandom::setSeedSource([] { return 4242u; });
    GameRandom::seed(4242u);
}

static Groups groupsOf(const strikerSourceType& source) {
    Groups groups;
    for (int i = 0; i < source.GroupCount; ++i) {
        const std::vector<QByteArray> g = source.groupWords(i);
        groups << QList<QByteArray>(g.begin(), g.end());
    }
    return groups;
}

void TestGamePieces::wordFileGroups_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Groups>("groups");
    QTest::newRow("runs of empty lines count once, trailing ones open a group")
        << QByteArray("a b\n\n\nc\n\n") << Groups{{"a", "b"}, {"c"}, {}};
    QTest::newRow("empty lines before the first word change nothing")
        << QByteArray("\n\n\na\nb c\n") << Groups{{"a", "b", "c"}};
    QTest::newRow("only the space separates") << QByteArray("x\ty  z\n") << Groups{{"x\ty", "z"}};
    QTest::newRow("line of spaces adds no word but is not empty")
        << QByteArray("a\n   \n\nb") << Groups{{"a"}, {"b"}};
    QTest::newRow("only spaces") << QByteArray("   \n  ") << Groups{{}};
    QTest::newRow("empty file") << QByteArray() << Groups{{}};
    QTest::newRow("CR LF line ends") << QByteArray("a\r\n\r\nb\r\n") << Groups{{"a"}, {"b"}};
    QTest::newRow("repeated word is two entries") << QByteArray("w w\n") << Groups{{"w", "w"}};
}

void TestGamePieces::wordFileGroups() {
    QFETCH(QByteArray, content);
    QFETCH(Groups, groups);
    WordFile file(content);
    strikerSourceType source(file.path());
    source.LoadFromFile();
    QCOMPARE(groupsOf(source), groups);
    QCOMPARE(source.GroupCount, groups.size());
}

void TestGamePieces::missingWordFileRaises() {
    WordFile file("a");
    strikerSourceType source(file.missingPath());
    QVERIFY_THROWS_EXCEPTION(EInOutError, source.LoadFromFile());
}

// A pipe, a link to an endless device or a file over the limit in the place of "Game.txt" is
// refused at once instead of blocking the game's set-up or filling the memory.
void TestGamePieces::wordFileThatIsNoTextIsRefused() {
    QTemporaryDir dir;
    const QString pipe = UnusualFiles::fifo(dir.path(), QStringLiteral("Game.txt"));
    const QString zero =
        UnusualFiles::link(dir.path(), QStringLiteral("zero.txt"), QStringLiteral("/dev/zero"));
    const QString huge = UnusualFiles::sparse(dir.path(), QStringLiteral("huge.txt"), MaxTextFileSize + 1);
    for (const QString& path : {pipe, zero, huge}) {
        QVERIFY(!path.isEmpty());
        strikerSourceType source(path);
        try {
            source.LoadFromFile();
            QFAIL("the word file was read");
        } catch (const EInOutError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("\"%1\"").arg(path)), qPrintable(e.message()));
            QVERIFY2(e.message().contains(path == huge
                                              ? QStringLiteral("67108865 bytes (at most 67108864 bytes)")
                                              : QStringLiteral("It is not a regular file.")),
                     qPrintable(e.message()));
        }
        QCOMPARE(source.GroupCount, 0);
    }
}

void TestGamePieces::everyWordOnceThenExhausted_data() {
    QTest::addColumn<int>("groupCount");
    QTest::addColumn<int>("wordsPerGroup");
    QTest::newRow("one group") << 1 << 7;
    QTest::newRow("three groups") << 3 << 4;
    QTest::newRow("low-chance groups 21..26") << 26 << 2;
    QTest::newRow("more than 60 groups") << 75 << 1;
}

void TestGamePieces::everyWordOnceThenExhausted() {
    QFETCH(int, groupCount);
    QFETCH(int, wordsPerGroup);
    QByteArray content;
    QSet<QByteArray> expected;
    for (int g = 0; g < groupCount; ++g) {
        for (int w = 0; w < wordsPerGroup; ++w) {
            const QByteArray word = "g" + QByteArray::number(g) + "w" + QByteArray::number(w);
            content += word + ' ';
            expected << word;
        }
        content += "\n\n";
    }
    WordFile file(content);
    strikerSourceType source(file.path());
    source.LoadFromFile();
    QSet<QByteArray> handed;
    int count = 0;
    while (source.NextStriker()) {
        QVERIFY(source.Striker);
        handed << source.Striker->Text;
        ++count;
        QVERIFY(count <= groupCount * wordsPerGroup);
    }
    QCOMPARE(count, groupCount * wordsPerGroup);
    QCOMPARE(handed, expected);
    QCOMPARE(source.ExhaustedCount, source.GroupCount);
    QVERIFY(!source.NextStriker()); // the supply never refills
}

void TestGamePieces::cursorCarriesOverAndSkipsToGroupTwo() {
    // From program start the first word is sought in group 2; the cursor stays on the group
    // that gave the word, and a new supply does not move it.
    WordFile file("one\n\ntwo\n");
    game::CurrentGroup = 1;
    GameRandom::seed(1);
    strikerSourceType source(file.path());
    source.LoadFromFile();
    QVERIFY(source.NextStriker());
    // Group 2 (chance 50) is tried first; whichever word comes, the cursor stands on its group.
    const int group = source.Striker->Text == "two" ? 2 : 1;
    QCOMPARE(game::CurrentGroup, group);
    // A new supply keeps the cursor.
    strikerSourceType next(file.path());
    next.LoadFromFile();
    QCOMPARE(game::CurrentGroup, group);
}

void TestGamePieces::firstWordInLeftHalf() {
    game::Columns = 80;
    for (int run = 0; run < 200; ++run) {
        WordFile file("abc");
        strikerSourceType source(file.path());
        source.LoadFromFile();
        QVERIFY(source.NextStriker());
        const int column = source.Striker->Column;
        QVERIFY2(column >= 1 && column <= 40, qPrintable(QString::number(column)));
        QCOMPARE(source.Striker->X, (column - 1) * game::CellSize);
        QCOMPARE(source.Striker->Y, 0);
        QCOMPARE(source.Striker->Typed, -1);
        QCOMPARE(source.Striker->Speed, 2);
    }
}

void TestGamePieces::placementAtRightEdge() {
    // After a word ending in column 70, a five-letter word may land in 71..80 or 1..30; one that
    // would end past column 80 (a start in 76..80) goes to column 1, one starting at 75 stays.
    game::Columns = 80;
    QSet<int> columns;
    for (int run = 0; run < 2000; ++run) {
        WordFile file("fiver");
        strikerSourceType source(file.path());
        source.LoadFromFile();
        source.LastColumn = 66;
        source.LastLength = 4;
        QVERIFY(source.NextStriker());
        columns << source.Striker->Column;
        QCOMPARE(source.LastColumn, source.Striker->Column);
        QCOMPARE(source.LastLength, 5);
    }
    for (int c = 76; c <= 80; ++c)
        QVERIFY2(!columns.contains(c), qPrintable(QString::number(c)));
    QVERIFY(columns.contains(75));
    QVERIFY(columns.contains(71));
    QVERIFY(columns.contains(1));
    QVERIFY(columns.contains(30));
    QVERIFY(!columns.contains(31));
}

void TestGamePieces::funSpeedGivesAllThreeSpeeds() {
    game::FunSpeed = true;
    QByteArray content;
    for (int i = 0; i < 60; ++i)
        content += "w" + QByteArray::number(i) + " ";
    WordFile file(content);
    strikerSourceType source(file.path());
    source.LoadFromFile();
    QSet<int> speeds;
    while (source.NextStriker())
        speeds << source.Striker->Speed;
    QCOMPARE(speeds, (QSet<int>{1, 2, 3}));
}

void TestGamePieces::chanceBounds_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("least");
    QTest::addColumn<int>("most");
    QTest::newRow("0 never") << 0 << 0 << 0;
    QTest::newRow("100 always") << 100 << 10000 << 10000;
    QTest::newRow("negative never") << -5 << 0 << 0;
    QTest::newRow("1 rarely") << 1 << 50 << 150;
    QTest::newRow("40 about 40") << 40 << 3700 << 4300;
    QTest::newRow("99 nearly always") << 99 << 9850 << 9950;
}

void TestGamePieces::chanceBounds() {
    QFETCH(int, percent);
    QFETCH(int, least);
    QFETCH(int, most);
    int successes = 0;
    for (int i = 0; i < 10000; ++i) {
        const int c = Chance(percent);
        QVERIFY(c == 0 || c == 1);
        successes += c;
    }
    QVERIFY2(successes >= least && successes <= most, qPrintable(QString::number(successes)));
}

void TestGamePieces::cityStacks_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("3 x 80") << 3 << 80;
    QTest::newRow("5 x 120") << 5 << 120;
    QTest::newRow("wider than 120") << 3 << 240;
    QTest::newRow("one row") << 1 << 10;
}

void TestGamePieces::cityStacks() {
    QFETCH(int, rows);
    QFETCH(int, columns);
    game::Rows = rows;
    game::Columns = columns;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        GameRandom::setSeedSource([seed] { return seed; });
        cityType city(600);
        QCOMPARE(city.BaseY, 600);
        int count = 0;
        for (int c = 1; c <= columns; ++c)
            for (int r = 1; r <= rows; ++r) {
                count += city.brick(r, c);
                if (r < rows && city.brick(r, c) == 1)
                    QCOMPARE(city.brick(r + 1, c), 1); // every brick stands on bricks
            }
        QCOMPARE(city.brick(rows + 1, 1), 0);
        QCOMPARE(city.brick(1, columns + 1), 0);
        QCOMPARE(city.BrickCount(), count);
        QVERIFY(count > 0);
    }
}

void TestGamePieces::eraseBricksPaintsOnlyItsCells() {
    game::Rows = 3;
    game::Columns = 10;
    game::CellSize = 10;
    GameCanvas canvas;
    canvas.resize(100, 100);
    cityType city(100);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 10; ++c)
            city.setBrick(r, c, 1);
    city.Draw(canvas);
    QCOMPARE(canvas.brushColor(), game::PlayfieldColor);
    QCOMPARE(canvas.pixel(0, 70), game::CityColor); // top-left of row 1
    QCOMPARE(canvas.pixel(99, 99), game::CityColor);
    QCOMPARE(canvas.pixel(0, 69), game::PlayfieldColor);

    city.EraseBricks(canvas, 2, 4, 4); // nothing
    for (int x = 0; x < 100; x += 5)
        QCOMPARE(canvas.pixel(x, 85), game::CityColor);

    city.EraseBricks(canvas, 2, 4, 4 + 3); // the cells of a three-letter word in columns 4..6
    QCOMPARE(city.brick(2, 5), 1);         // bricks themselves untouched
    for (int x = 0; x < 100; ++x) {
        const bool inWord = x >= 30 && x < 60;
        QCOMPARE(canvas.pixel(x, 80), inWord ? game::PlayfieldColor : game::CityColor);
        QCOMPARE(canvas.pixel(x, 89), inWord ? game::PlayfieldColor : game::CityColor);
        QCOMPARE(canvas.pixel(x, 79), game::CityColor); // row 1 untouched
        QCOMPARE(canvas.pixel(x, 90), game::CityColor); // row 3 untouched
    }
}

void TestGamePieces::bulletHitsAtFirstStep() {
    game::CellSize = 10;
    GameCanvas canvas;
    canvas.resize(200, 100);
    strikerType word;
    word.Text = "abcd";
    word.Length = 4;
    word.X = 40;
    word.Y = 92; // lower edge at 102, below BaseY + 1
    bulletType bullet(&canvas, &word, 101);
    QCOMPARE(bullet.X, 40 + 4 * 10 / 2);
    bullet.Step();
    QVERIFY(bullet.Done);
    QCOMPARE(word.State, 3);
    QCOMPARE(canvas.penMode(), GameCanvas::PenMode::Copy);
    for (int x = 0; x < 200; ++x)
        QCOMPARE(canvas.pixel(x, 99), game::PlayfieldColor); // nothing of a bullet drawn
}

void TestGamePieces::bulletClimbsInXor() {
    game::CellSize = 10;
    GameCanvas canvas;
    canvas.resize(100, 100);
    strikerType word;
    word.Text = "ab";
    word.Length = 2;
    word.X = 20;
    word.Y = 0;
    bulletType bullet(&canvas, &word, 101);
    const int32_t bulletColor = game::PlayfieldColor ^ (game::BulletColor ^ 0xAAAAAA);
    bullet.Step(); // box at y 95..102
    QCOMPARE(bullet.Y, 95);
    QCOMPARE(canvas.pixel(bullet.X + 1, 97), bulletColor);
    QCOMPARE(canvas.pixel(bullet.X + 1, 93), game::PlayfieldColor);
    bullet.Step(); // the old box removed, the new one 6 higher
    QCOMPARE(bullet.Y, 89);
    QCOMPARE(canvas.pixel(bullet.X + 1, 99), game::PlayfieldColor);
    QCOMPARE(canvas.pixel(bullet.X + 1, 90), bulletColor);
    QCOMPARE(canvas.penMode(), GameCanvas::PenMode::Copy);
    while (!bullet.Done)
        bullet.Step();
    QCOMPARE(word.State, 3);
    QVERIFY(bullet.Y <= word.Y + game::CellSize);
    for (int y = 0; y < 100; ++y)
        QCOMPARE(canvas.pixel(bullet.X + 1, y) == bulletColor, false); // no trail left behind
}

void TestGamePieces::typedLettersInTypedColor() {
    game::CellSize = 30;
    game::FontColor = 0x00FF00; // lime
    game::PlayfieldColor = 0;
    GameCanvas canvas;
    canvas.setBrushColor(0);
    canvas.resize(200, 60);
    strikerType word;
    word.Text = "HHHH";
    word.Length = 4;
    word.Typed = 2;
    word.Draw(canvas);
    auto countColor = [&canvas](int cell, int32_t color) {
        int n = 0;
        for (int x = cell * 30; x < cell * 30 + 30; ++x)
            for (int y = 0; y < 50; ++y)
                n += canvas.pixel(x, y) == color;
        return n;
    };
    for (int cell = 0; cell < 4; ++cell) {
        const bool typed = cell < 2;
        QVERIFY2(countColor(cell, typed ? game::TypedColor : game::FontColor) > 0,
                 qPrintable(QString::number(cell)));
        QCOMPARE(countColor(cell, typed ? game::FontColor : game::TypedColor), 0);
    }
    word.Erase(canvas);
    for (int cell = 0; cell < 4; ++cell) {
        QCOMPARE(countColor(cell, game::FontColor), 0);
        QCOMPARE(countColor(cell, game::TypedColor), 0);
    }
}

void TestGamePieces::letterAtTopLeftKeepsAllItsInk_data() {
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("style");
    QTest::addColumn<char>("letter");
    const QString faces[] = {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("courier"),
                             QStringLiteral("Arial"), QStringLiteral("Times New Roman")};
    const struct {
        const char* name;
        int style;
    } styles[] = {{"plain", 0}, {"italic", game::fsItalic}, {"bold italic", game::fsBold | game::fsItalic}};
    // Capitals and umlauts reach highest, j and f lean furthest left in italics.
    const char letters[] = {'M', char(0xDC), char(0xC4), 'q', 'j', 'f', 'W'};
    for (const QString& face : faces)
        for (const auto& style : styles)
            for (char letter : letters)
                QTest::addRow("%s %s %s", qPrintable(face), style.name,
                              qPrintable(CodePage::toUnicode(QByteArray(1, letter))))
                    << face << style.style << letter;
}

// A new word stands at y 0 and its first column at x 0: every pixel of its letters must be on
// the playfield there, as it is further inside.
void TestGamePieces::letterAtTopLeftKeepsAllItsInk() {
    QFETCH(QString, font);
    QFETCH(int, style);
    QFETCH(char, letter);
    const auto inkOf = [&](int x, int y) {
        GameCanvas canvas;
        canvas.setBrushColor(0);
        canvas.resize(200, 200);
        canvas.setFontName(font);
        canvas.setFontSize(24);
        canvas.setFontStyle(game::FontStyleSet(style));
        canvas.setFontColor(0x00FFFF);
        canvas.TextOut(x, y, letter);
        int n = 0;
        for (int py = 0; py < 200; ++py)
            for (int px = 0; px < 200; ++px)
                n += canvas.pixel(px, py) != 0;
        return n;
    };
    // The same letter painted freely in the middle of a large image: all of its ink.
    QFont face(font);
    face.setPixelSize(32); // 24 points at 96 dots per inch
    face.setBold(style & game::fsBold);
    face.setItalic(style & game::fsItalic);
    QImage free(200, 200, QImage::Format_RGB32);
    free.fill(Qt::black);
    {
        QPainter painter(&free);
        painter.setFont(face);
        painter.setPen(QColor(GameCanvas::toRgb(0x00FFFF)));
        painter.drawText(80, 100, CodePage::toUnicode(QByteArray(1, letter)));
    }
    int all = 0;
    for (int py = 0; py < 200; ++py)
        for (int px = 0; px < 200; ++px)
            all += free.pixel(px, py) != qRgb(0, 0, 0);
    QVERIFY(all > 0);
    QCOMPARE(inkOf(60, 60), all);
    QCOMPARE(inkOf(0, 0), all);
}

QTEST_MAIN(TestGamePieces)
#include "tst_game_pieces.moc"
