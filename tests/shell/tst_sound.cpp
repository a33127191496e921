#include "platform/ui/SoundPlayer.h"
#include "support/UnusualFiles.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>
#include <csignal>
#include <cstdio>

namespace {

// A short mono 16-bit silent WAV, enough for the effect to load.
void writeWav(const QString& path) {
    const quint32 samples = 800;
    QByteArray data(samples * 2, '\0');
    QByteArray out;
    auto put32 = [&out](quint32 v) {
        out.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 4);
    };
    auto put16 = [&out](quint16 v) {
        out.append(reinterpret_cast<const char*>(&(v = qToLittleEndian(v))), 2);
    };
    out += "RIFF";
    put32(36 + data.size());
    out += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(16000);
    put16(2);
    put16(16);
    out += "data";
    put32(data.size());
    out += data;
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(out);
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT

private slots:
    void playsWhatItIsGiven_data();
    void playsWhatItIsGiven();
    void callsFromAnotherThreadReachThePlayer();
    void preparedSoundsLoadAheadAndStillSound();
    void copiesOfARunEndedBySignalAreRemoved_data();
    void copiesOfARunEndedBySignalAreRemoved();
};

void TestSound::playsWhatItIsGiven_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("a wav") << "ok.wav"
                           << "wav" << true;
    QTest::newRow("missing file") << "nothing.wav"
                                  << "" << false;
    QTest::newRow("empty name: the folder itself") << ""
                                                   << "" << false;
    // Neither may hold up the player: a pipe would make the reader wait for a writer.
    QTest::newRow("named pipe") << "pipe.wav"
                                << "pipe" << false;
    QTest::newRow("over the limit") << "huge.wav"
                                    << "huge" << false;
}

void TestSound::playsWhatItIsGiven() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, loaded);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    if (kind == QStringLiteral("wav"))
        writeWav(path);
    else if (kind == QStringLiteral("pipe"))
        QCOMPARE(UnusualFiles::fifo(dir.path(), name), path);
    else if (kind == QStringLiteral("huge"))
        QCOMPARE(UnusualFiles::sparse(dir.path(), name, SoundPlayer::MaxSoundFileSize + 1), path);
    SoundPlayer player;
    player.setFileName(path);
    QCOMPARE(player.fileName(), path);
    player.play();
    player.play(); // the second replaces the first, without complaint
    QCOMPARE(player.playCount(), 2);
    QCOMPARE(player.lastPlayed(), path);
    QCOMPARE(player.loadedFiles(), loaded ? QStringList{path} : QStringList{});
}

void TestSound::callsFromAnotherThreadReachThePlayer() {
    QTemporaryDir dir;
    const QString path = dir.filePath("hit.wav");
    writeWav(path);
    SoundPlayer player;
    std::unique_ptr<QThread> worker(QThread::create([&player, path] {
        for (int i = 0; i < 5; ++i) {
            player.setFileName(path);
            player.play();
        }
    }));
    worker->start();
    QVERIFY(worker->wait(5000));
    QTRY_COMPARE(player.playCount(), 5);
    QCOMPARE(player.lastPlayed(), path);
}

void TestSound::preparedSoundsLoadAheadAndStillSound() {
    QTemporaryDir dir;
    const QString ok = dir.filePath("ok.wav");
    const QString err = dir.filePath("err.wav");
    writeWav(ok);
    writeWav(err);
    SoundPlayer player;
    player.prepare({ok, dir.filePath("missing.wav"), QString(), err});
    QCOMPARE(player.loadedFiles(), QStringList({err, ok}));
    QCOMPARE(player.playCount(), 0); // the opening of the output is not a play
    const QList<QSoundEffect*> effects = player.findChildren<QSoundEffect*>();
    QCOMPARE(effects.size(), 2);
    for (QSoundEffect* effect : effects)
        QTRY_COMPARE(effect->status(), QSoundEffect::Ready);

    // Whichever effect opened the output silently, every play of either is heard.
    for (const QString& path : {ok, err, ok}) {
        player.setFileName(path);
        player.play();
        for (QSoundEffect* effect : effects) {
            if (effect->source().toLocalFile() == path) QVERIFY(!effect->isMuted());
        }
    }
    QCOMPARE(player.findChildren<QSoundEffect*>().size(), 2); // no file is read twice
    player.prepare({ok});
    QCOMPARE(player.loadedFiles(), QStringList({err, ok}));
}

// Another run of the program, with its own player and copy: the test binary started again with
// "--hold-sound <wav>", holding it until killed.
void TestSound::copiesOfARunEndedBySignalAreRemoved_data() {
    QTest::addColumn<int>("signal"); // 0: the other run goes on
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGKILL") << SIGKILL;
    QTest::newRow("still running") << 0;
}

void TestSound::copiesOfARunEndedBySignalAreRemoved() {
    QFETCH(int, signal);
    QTemporaryDir sounds;
    QTemporaryDir temp;
    const QString wav = sounds.filePath("ok.wav");
    writeWav(wav);
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const auto restore = qScopeGuard([&oldTemp] { qputenv("TMPDIR", oldTemp); });
    // Look-alikes that are not a run's folder: never touched.
    const QDir folder(temp.path());
    QVERIFY(folder.mkpath("quorvel-abc123/locale") && folder.mkpath("quorvel-abc1234") && folder.mkpath("other-abc123"));
    QVERIFY(QFile(folder.filePath("quorvel-abc1234/.quorvel-run")).open(QIODevice::WriteOnly));
    const auto runFolders = [&folder] {
        return folder.entryList({"quorvel-??????"}, QDir::Dirs | QDir::Hidden).filter(QRegularExpression("^quorvel-(?!abc123$)"));
    };

    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), {"--hold-sound", wav});
    QVERIFY(other.waitForStarted(30000));
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += other.readAllStandardOutput()).contains("ready") || other.state() != QProcess::Running, 30000);
    QVERIFY2(said.contains("ready"), other.readAllStandardError().constData());
    const auto stop = qScopeGuard([&other] {
        other.kill();
        other.waitForFinished(30000);
    });
    QCOMPARE(runFolders().size(), 1);
    const QString othersFolder = runFolders().front();
    QVERIFY(QFile::exists(folder.filePath(othersFolder + "/0.wav")));
    if (signal != 0) {
        QCOMPARE(::kill(pid_t(other.processId()), signal), 0);
        QVERIFY(other.waitForFinished(30000));
    }
    {
        SoundPlayer player;
        player.prepare({wav});
        QCOMPARE(player.loadedFiles(), QStringList{wav});
        QCOMPARE(runFolders().contains(othersFolder), signal == 0);
        QCOMPARE(runFolders().size(), signal == 0 ? 2 : 1);
    }
    QCOMPARE(runFolders(), signal == 0 ? QStringList{othersFolder} : QStringList{});
    QStringList kept = QStringList{"other-abc123", "quorvel-abc123", "quorvel-abc1234"} + runFolders();
    kept.sort();
    // (Qt itself may make a runtime folder of its own there.)
    QCOMPARE(folder.entryList({"quorvel*", "other*"}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), kept);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--hold-sound") == 0) {
        SoundPlayer player;
        player.prepare({QString::fromLocal8Bit(argv[2])});
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        return QApplication::exec();
    }
    TestSound test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_sound.moc"
