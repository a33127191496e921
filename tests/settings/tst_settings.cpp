#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "settings/Settings.h"
#include "support/FileEvents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init();
    void appDir();
    void defaultsWithoutFile();
    void loading_data();
    void loading();
    void saveKeepsOtherContent();
    void saveRefused();
    void saveWritesTheFileOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettings::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettings::appDir() {
    TSettings fromProgram;
    QCOMPARE(fromProgram.AppDir, QCoreApplication::applicationDirPath() + "/");
    QVERIFY(QFileInfo(fromProgram.AppDir + QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                .exists());
    // Independent of the working folder.
    const QString old = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    TSettings elsewhere;
    QDir::setCurrent(old);
    QCOMPARE(elsewhere.AppDir, fromProgram.AppDir);
    QCOMPARE(TSettings(nullptr, "/opt/q").AppDir, QString("/opt/q/"));
    QCOMPARE(TSettings(nullptr, "/opt/q/").AppDir, QString("/opt/q/"));
    // Owned like any component: freed with its owner.
    QObject owner;
    QPointer<TSettings> owned = new TSettings(&owner, m_dir->path());
    QCOMPARE(owned->parent(), &owner);
    QCOMPARE(owned->iniPath(), m_dir->path() + "/zq.ini");
}

void TestSettings::defaultsWithoutFile() {
    TSettings settings(nullptr, m_dir->path());
    QVERIFY(settings.UserName.isEmpty());
    QCOMPARE(settings.FontCharset, 0);
    settings.Load();
    QCOMPARE(settings.UserName, QString("Default"));
    QCOMPARE(settings.RestoreLayout, true);
    QCOMPARE(settings.FontName, QString("Arial"));
    QCOMPARE(settings.FontCharset, 1);
    QVERIFY(!QFile::exists(settings.iniPath()));
    settings.Save();
    QCOMPARE(
        readBytes(settings.iniPath()),
        QByteArray("[General]\r\nUser=Default\r\nToRestoreLayout=1\r\nFontName=Arial\r\nFontCharset=1\r\n"));
}

void TestSettings::loading_data() {
    QTest::addColumn<QByteArray>("general"); // lines of section General
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<int>("charset");

    QTest::newRow("all set") << QByteArray("User=Ann\nToRestoreLayout=0\nFontName=Tahoma\nFontCharset=238\n")
                             << "Ann" << false << "Tahoma" << 238;
    QTest::newRow("empty values are not missing")
        << QByteArray("User=\nFontName=\n") << "" << true << "" << 1;
    QTest::newRow("any number but 0 is true")
        << QByteArray("ToRestoreLayout=-3\n") << "Default" << true << "Arial" << 1;
    QTest::newRow("a word gives the default")
        << QByteArray("ToRestoreLayout=no\nFontCharset=cyr\n") << "Default" << true << "Arial" << 1;
    QTest::newRow("0x hexadecimal") << QByteArray("FontCharset=0xCC\n") << "Default" << true << "Arial"
                                    << 204;
    QTest::newRow("$ hexadecimal") << QByteArray("FontCharset=$CC\n") << "Default" << true << "Arial" << 204;
    QTest::newRow("above a byte") << QByteArray("FontCharset=300\n") << "Default" << true << "Arial" << 300;
    QTest::newRow("keys in any case")
        << QByteArray("user=Bob\nfontname=Courier\n") << "Bob" << true << "Courier" << 1;
}

void TestSettings::loading() {
    QFETCH(QByteArray, general);
    QFETCH(QString, user);
    QFETCH(bool, restore);
    QFETCH(QString, fontName);
    QFETCH(int, charset);
    TSettings settings(nullptr, m_dir->path());
    writeBytes(settings.iniPath(), "[Other]\nUser=Wrong\n[general]\n" + general);
    settings.Load();
    QCOMPARE(settings.UserName, user);
    QCOMPARE(settings.RestoreLayout, restore);
    QCOMPARE(settings.FontName, fontName);
    QCOMPARE(settings.FontCharset, charset);
    // What was read is saved unchanged and reads back the same.
    settings.Save();
    TSettings again(nullptr, m_dir->path());
    again.Load();
    QCOMPARE(again.UserName, user);
    QCOMPARE(again.RestoreLayout, restore);
    QCOMPARE(again.FontName, fontName);
    QCOMPARE(again.FontCharset, charset);
}

void TestSettings::saveKeepsOtherContent() {
    TSettings settings(nullptr, m_dir->path());
    writeBytes(settings.iniPath(), "[Window]\nLeft=5\n[General]\nFontCharset=1\nExtra=x\n");
    settings.Load();
    settings.UserName = QString::fromUtf8("Jürgen");
    settings.Save();
    QCOMPARE(readBytes(settings.iniPath()),
             QByteArray("[Window]\nLeft=5\n[General]\nFontCharset=1\nExtra=x\nUser=J\xFCrgen\n"
                        "ToRestoreLayout=1\nFontName=Arial\n"));
}

void TestSettings::saveRefused() {
    TSettings settings(nullptr, m_dir->filePath("missing folder"));
    settings.Load();
    try {
        settings.Save();
        QFAIL("a refused save must reach the caller");
    } catch (const EIniFileError& e) {
        QCOMPARE(e.message(), "Unable to write to " + settings.iniPath());
    }
}

// A first save must not leave a file holding only some of the keys, nor a later save a mixture.
void TestSettings::saveWritesTheFileOnce() {
    TSettings settings(nullptr, m_dir->path());
    settings.Load();
    settings.UserName = "Anna";
    FileEvents events(m_dir->path(), "zq.ini");
    QVERIFY(events.isValid());
    settings.Save();
    QCOMPARE(events.writes(), 1);
    QCOMPARE(
        readBytes(settings.iniPath()),
        QByteArray("[General]\r\nUser=Anna\r\nToRestoreLayout=1\r\nFontName=Arial\r\nFontCharset=1\r\n"));
    settings.FontCharset = 204;
    settings.Save();
    QCOMPARE(events.writes(), 2);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
