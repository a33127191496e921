#include "platform/ui/SoundPlayer.h"
#include "support/UnusualFiles.h"

#include <QSoundEffect>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>

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

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
