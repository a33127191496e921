#include "platform/Errors.h"
#include "platform/RegularFile.h"
#include "platform/TextLines.h"
#include "support/UnusualFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

// Whole-file reading: only regular files, never beyond the caller's limit, never waiting.
class TestRegularFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
        return file.fileName();
    }
    static QString failure(const QString& path, qint64 maxSize) {
        try {
            RegularFile::read(path, maxSize);
        } catch (const EInOutError& e) {
            return e.message();
        }
        return QStringLiteral("<read>");
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void readsRegularFilesWhole_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("maxSize");
        QTest::newRow("empty") << QByteArray() << qint64(10);
        QTest::newRow("text with NUL") << QByteArray("a\0b\r\n", 5) << qint64(10);
        QTest::newRow("exactly the limit") << QByteArray(10, 'x') << qint64(10);
        QTest::newRow("larger than one read") << QByteArray(300000, 'y') << qint64(300000);
    }
    void readsRegularFilesWhole() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, maxSize);
        const QString path = write(QStringLiteral("plain.txt"), bytes);
        QCOMPARE(RegularFile::read(path, maxSize), bytes);
        // Through a link, a regular file is still one.
        QFile::remove(m_dir.filePath(QStringLiteral("to-plain.txt")));
        const QString linked = UnusualFiles::link(m_dir.path(), QStringLiteral("to-plain.txt"), path);
        QVERIFY(!linked.isEmpty());
        QCOMPARE(RegularFile::read(linked, maxSize), bytes);
    }

    // Each of these would wait for a writer, read without end or read a folder: each is
    // refused before any byte is read, with the path in the message.
    void refusesWhatIsNoRegularFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        const QString notRegular = QStringLiteral("It is not a regular file.");
        QTest::newRow("named pipe") << UnusualFiles::fifo(m_dir.path(), QStringLiteral("pipe.txt"))
                                    << notRegular;
        QTest::newRow("socket") << UnusualFiles::socket(m_dir.path(), QStringLiteral("sock.txt"))
                                << notRegular;
        QTest::newRow("device") << QStringLiteral("/dev/zero") << notRegular;
        QTest::newRow("link to a device")
            << UnusualFiles::link(m_dir.path(), QStringLiteral("zero.txt"), QStringLiteral("/dev/zero"))
            << notRegular;
        QTest::newRow("folder") << m_dir.path() << notRegular;
        QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.txt"))
                                 << QStringLiteral("No such file or directory");
        QTest::newRow("empty path") << QString() << QStringLiteral("No such file or directory");
    }
    void refusesWhatIsNoRegularFile() {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        if (QTest::currentDataTag() != QByteArrayLiteral("empty path")) QVERIFY(!path.isEmpty());
        QCOMPARE(failure(path, 1000), QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
        QVERIFY_THROWS_EXCEPTION(EInOutError, loadLines(path));
    }

    // The limit is stated in exact figures: a file one byte over it is not "64 MB (at most 64 MB)".
    void statesTheLimitExactly() {
        const QString path = write(QStringLiteral("eleven.txt"), QByteArray(11, 'z'));
        QCOMPARE(failure(path, 10),
                 QStringLiteral("The file \"%1\" is too large: 11 bytes (at most 10 bytes).").arg(path));
        const QString huge =
            UnusualFiles::sparse(m_dir.path(), QStringLiteral("huge.txt"), MaxTextFileSize + 1);
        QVERIFY(!huge.isEmpty());
        try {
            loadLines(huge);
            QFAIL("a file over the limit was read");
        } catch (const EInOutError& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("The file \"%1\" is too large: 67108865 bytes (at most 67108864 bytes).")
                         .arg(huge));
        }
    }

    // A change waits for another change of the same file to finish, but never for longer than
    // it was told: the file then stays as it was.
    void updateWaitsForAnotherOnlySoLong() {
        const QString path = write(QStringLiteral("shared.ini"), "old");
        int other = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        const auto closeOther = qScopeGuard([&other] {
            if (other >= 0) ::close(other);
        });
        QVERIFY(other >= 0);
        QVERIFY(::flock(other, LOCK_EX) == 0);
        struct stat written;
        {
            RegularFile::Update update(path, true, std::chrono::milliseconds(100));
            QVERIFY(!update.held());
            QVERIFY(!update.write("new", written));
        }
        QCOMPARE(RegularFile::read(path, 10), QByteArray("old"));
        ::close(std::exchange(other, -1));
        RegularFile::Update update(path, true, std::chrono::milliseconds(100));
        QVERIFY(update.held());
        QVERIFY(update.write("new", written));
        QCOMPARE(RegularFile::read(path, 10), QByteArray("new"));
    }

    // A read waits for a change of the file that another program has under way, and reads
    // what that change leaves; a change held for longer than the read may wait is read as the
    // file is then. The writer here stands for a slow save in place: it holds the lock with
    // only half of its text written for a while.
    void readWaitsForAChangeUnderWay_data() {
        QTest::addColumn<int>("waitMs");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("within the wait") << int(RegularFile::UpdateLockWait.count()) << QByteArray("[A]\nk=1\n[B]\nx=2\n");
        QTest::newRow("locked for longer than the wait") << 1 << QByteArray("[A]\nk=1\n");
    }
    void readWaitsForAChangeUnderWay() {
        QFETCH(int, waitMs);
        QFETCH(QByteArray, expected);
        const QString path = write(QStringLiteral("busy.ini"), "old text, longer than half");
        const int writer = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
        QVERIFY(writer >= 0 && ::flock(writer, LOCK_EX) == 0);
        QVERIFY(::ftruncate(writer, 0) == 0 && ::pwrite(writer, "[A]\nk=1\n", 8, 0) == 8);
        const auto finish = [writer] {
            [[maybe_unused]] const ssize_t n = ::pwrite(writer, "[B]\nx=2\n", 8, 8);
            ::close(writer);
        };
        std::thread rest;
        if (waitMs > 1)
            rest = std::thread([finish] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                finish();
            });
        QByteArray bytes;
        struct stat info;
        const auto result = RegularFile::readShared(path, bytes, info, 100, std::chrono::milliseconds(waitMs));
        if (rest.joinable())
            rest.join();
        else
            finish();
        QCOMPARE(int(result), int(RegularFile::ReadResult::Read));
        QCOMPARE(bytes, expected);
    }

    // A file that reports no size (or a stale one) is still cut at the limit while it is read.
    void fileLongerThanItsSizeIsCutAtTheLimit() {
        const QString path = QStringLiteral("/proc/self/status");
        if (!QFileInfo(path).isFile() || QFileInfo(path).size() != 0) QSKIP("no /proc file without a size");
        QVERIFY(RegularFile::read(path, 1 << 20).size() > 20);
        QCOMPARE(failure(path, 20),
                 QStringLiteral("The file \"%1\" is too large: more than 20 bytes.").arg(path));
    }
};

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
