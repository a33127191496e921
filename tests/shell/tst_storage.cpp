#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ProfileStorage.h"
#include "shell/ui/TFmLogon.h"
#include "shell/ui/TZQStarterLocal.h"
#include "support/FileEvents.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestStorage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newUserIsAppendedWithTheWholeRecord();
    void savingOverASectionKeepsEverythingElse();
    void sectionNamesMatchInAnyLetterCase_data();
    void sectionNamesMatchInAnyLetterCase();
    void missingSectionOrFileGivesDefaults();
    void badNumberFailsTheLoadAfterEarlierFields();
    void refusedWriteReachesTheCaller();
    void bothProfilesUseTheStarter();
    void saveGivesTheBytesOfKeyByKeyWrites_data();
    void saveGivesTheBytesOfKeyByKeyWrites();
    void saveReplacesTheFileOnce_data();
    void saveReplacesTheFileOnce();
    void logonListAndProfileReadTheFileOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_ini;
};

void TestStorage::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    Settings = new TSettings(nullptr, m_dir->path());
    m_ini = Settings->AppDir + "zqc.ini";
}

void TestStorage::cleanup() {
    delete Settings;
    Settings = nullptr;
    m_dir.reset();
}

void TestStorage::newUserIsAppendedWithTheWholeRecord() {
    writeAll(m_ini, "[Default]\r\nCourse=English\r\n");
    TProfile profile;
    profile.FromStrings({});
    profile.Course = "German";
    profile.TimeTotal = 4242;
    ProfileStorage::save(m_ini, profile, "Anna");

    TIniFile ini(m_ini);
    QCOMPARE(ini.ReadSections(), (QStringList{"Default", "Anna"}));
    QStringList keys;
    for (const QString& line : profile.ToStrings())
        keys << line.section(u'=', 0, 0);
    QCOMPARE(ini.ReadSection("Anna"), keys);
    QCOMPARE(ini.ReadSectionValues("Anna"), profile.ToStrings());
    QCOMPARE(ini.ReadSectionValues("Default"), QStringList{"Course=English"});
}

void TestStorage::savingOverASectionKeepsEverythingElse() {
    writeAll(m_ini,
             "[Default]\r\nCourse=English\r\nFavourite=tea\r\nTimeTotal=5\r\n[Bob]\r\nCourse=Dutch\r\n");
    TProfile profile;
    ProfileStorage::load(m_ini, profile, "Default");
    QCOMPARE(profile.Course, QStringLiteral("English"));
    QCOMPARE(profile.TimeTotal, 5);
    profile.TimeTotal = 9000;
    profile.Progress = 12;
    ProfileStorage::save(m_ini, profile, "Default");

    TIniFile ini(m_ini);
    QCOMPARE(ini.ReadSections(), (QStringList{"Default", "Bob"}));
    QCOMPARE(ini.ReadString("Default", "Favourite", ""), QStringLiteral("tea"));
    QCOMPARE(ini.ReadInteger("Default", "TimeTotal", 0), 9000);
    QCOMPARE(ini.ReadInteger("Default", "Progress", 0), 12);
    QCOMPARE(ini.ReadSectionValues("Bob"), QStringList{"Course=Dutch"});
    // The key the file had first stays first; the new keys follow it.
    QCOMPARE(ini.ReadSection("Default").first(), QStringLiteral("Course"));
}

void TestStorage::sectionNamesMatchInAnyLetterCase_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("same") << "Anna";
    QTest::newRow("lower") << "anna";
    QTest::newRow("upper") << "ANNA";
}

void TestStorage::sectionNamesMatchInAnyLetterCase() {
    QFETCH(QString, name);
    writeAll(m_ini, "[Anna]\r\nCourse=English\r\nProgress=3\r\n");
    TProfile profile;
    ProfileStorage::load(m_ini, profile, name);
    QCOMPARE(profile.Progress, 3);
    profile.Progress = 4;
    ProfileStorage::save(m_ini, profile, name);
    TIniFile ini(m_ini);
    QCOMPARE(ini.ReadSections(), QStringList{"Anna"});
    QCOMPARE(ini.ReadInteger("Anna", "Progress", 0), 4);
    QVERIFY(readAll(m_ini).startsWith("[Anna]\r\n"));
}

void TestStorage::missingSectionOrFileGivesDefaults() {
    TProfile fromNoFile;
    fromNoFile.Progress = 77;
    ProfileStorage::load(m_ini, fromNoFile, "Nobody");
    QCOMPARE(fromNoFile.Progress, 0);
    QCOMPARE(fromNoFile.BgColor, TProfile::DefaultBgColor);
    QCOMPARE(fromNoFile.KeyboardLayout, QStringLiteral("00000409"));

    writeAll(m_ini, "[Default]\r\nProgress=3\r\n");
    TProfile fromNoSection;
    ProfileStorage::load(m_ini, fromNoSection, "Nobody");
    QCOMPARE(fromNoSection.Progress, 0);
    QCOMPARE(fromNoSection.HelpFile, QStringLiteral("zqhelp.chm"));
    QVERIFY(!QFile::exists(m_ini + ".tmp"));
    QCOMPARE(readAll(m_ini), QByteArray("[Default]\r\nProgress=3\r\n")); // loading writes nothing
}

void TestStorage::badNumberFailsTheLoadAfterEarlierFields() {
    writeAll(m_ini,
             "[Default]\r\nFullScreen=1\r\nBgColor=255\r\nCourse=Dutch\r\nProgress=12a\r\nTimeTotal=99\r\n");
    TProfile profile;
    profile.TimeTotal = 1;
    try {
        ProfileStorage::load(m_ini, profile, "Default");
        QFAIL("a bad number must fail the load");
    } catch (const EConvertError& e) {
        QCOMPARE(e.message(), QStringLiteral("'12a' is not a valid integer value"));
    }
    QVERIFY(profile.FullScreen);
    QCOMPARE(profile.BgColor, 255);
    QCOMPARE(profile.Course, QStringLiteral("Dutch"));
    QCOMPARE(profile.TimeTotal, 1);
}

void TestStorage::refusedWriteReachesTheCaller() {
    // A file in a folder that does not exist cannot be written, whoever runs the test.
    const QString unwritable = m_dir->filePath("gone/zqc.ini");
    TProfile profile;
    profile.Course = "German";
    try {
        ProfileStorage::save(unwritable, profile, "Default");
        QFAIL("the refused write must reach the caller");
    } catch (const EIniFileError& e) {
        QCOMPARE(e.message(), QStringLiteral("Unable to write to %1").arg(unwritable));
    }
    QVERIFY(!QFile::exists(unwritable));
}

void TestStorage::bothProfilesUseTheStarter() {
    writeAll(m_ini, "[Default]\r\nCourse=English\r\n");
    TZQStarterLocal starter;
    QVERIFY(starter.Profile() != starter.NewProfile());
    starter.Profile()->UserName = "default";
    starter.Profile()->Load();
    QCOMPARE(starter.Profile()->Course, QStringLiteral("English"));

    starter.NewProfile()->AssignTemplate(*starter.Profile());
    starter.NewProfile()->UserName = "Carla";
    starter.NewProfile()->Save();
    QCOMPARE(TIniFile(m_ini).ReadSections(), (QStringList{"Default", "Carla"}));
    QCOMPARE(TIniFile(m_ini).ReadString("Carla", "Course", ""), QStringLiteral("English"));
}

void TestStorage::saveGivesTheBytesOfKeyByKeyWrites_data() {
    QTest::addColumn<QByteArray>("before"); // "<none>": no file
    QTest::addColumn<QString>("section");

    TProfile stored;
    stored.FromStrings({});
    stored.Course = "English";
    QByteArray full = "; users\r\n[Default]\r\n";
    for (const QString& line : stored.ToStrings())
        full += line.toLatin1() + "\r\n";
    full += "\r\n[Bob]\r\nCourse=Dutch\r\n";

    QTest::newRow("no file") << QByteArray("<none>") << "Anna";
    QTest::newRow("empty file") << QByteArray() << "Anna";
    QTest::newRow("existing full section") << full << "Default";
    QTest::newRow("existing section, other letter case") << full << "DEFAULT";
    QTest::newRow("new section after others") << full << "Anna";
    QTest::newRow("partial section, extra key, blank line after")
        << QByteArray("[Anna]\r\nFavourite=tea\r\nProgress = 3 \r\n\r\n\r\n[Bob]\r\nCourse=Dutch\r\n")
        << "anna";
    QTest::newRow("LF file, last line without end")
        << QByteArray("[Bob]\nCourse=Dutch\n[Anna]\nCourse=X") << "Anna";
    QTest::newRow("CR file with an empty LF line") << QByteArray("[Anna]\rCourse=X\r\n\n[Bob]\r") << "Anna";
    QTest::newRow("duplicate sections")
        << QByteArray("[Anna]\nProgress=1\n[Bob]\n[anna]\nProgress=2\n") << "Anna";
    QTest::newRow("blanks around the name") << QByteArray("[Anna]\r\nProgress=1\r\n") << " Anna ";
}

// A save writes what writing the record key by key, each key on its own, writes.
void TestStorage::saveGivesTheBytesOfKeyByKeyWrites() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    const QString keyByKey = m_dir->filePath("keybykey.ini");
    if (before != "<none>") {
        writeAll(m_ini, before);
        writeAll(keyByKey, before);
    }
    TProfile profile;
    profile.FromStrings({});
    profile.Course = "German";
    profile.Progress = 120;
    profile.TimeTotal = -5;
    profile.GScore3 = 77;
    for (const QString& line : profile.ToStrings())
        TIniFile(keyByKey).WriteString(section, line.section(u'=', 0, 0), line.section(u'=', 1));

    ProfileStorage::save(m_ini, profile, section);
    QCOMPARE(readAll(m_ini), readAll(keyByKey));
}

// One profile save puts the file in place once, so a reader or a crash sees the old or the
// new section and never a mixture.
void TestStorage::saveReplacesTheFileOnce_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no file") << QByteArray("<none>");
    QTest::newRow("new section") << QByteArray("[Default]\r\nCourse=English\r\n");
    QTest::newRow("existing section")
        << QByteArray("[Default]\r\nCourse=English\r\n[Anna]\r\nProgress=2\r\n");
}

void TestStorage::saveReplacesTheFileOnce() {
    QFETCH(QByteArray, before);
    if (before != "<none>") writeAll(m_ini, before);
    TProfile profile;
    profile.FromStrings({});
    profile.Progress = 3;
    FileEvents events(m_dir->path(), "zqc.ini");
    QVERIFY(events.isValid());
    ProfileStorage::save(m_ini, profile, "Anna");
    QCOMPARE(events.writes(), 1);
    QCOMPARE(TIniFile(m_ini).ReadInteger("Anna", "Progress", 0), 3);
}

// The logon window's list and the chosen user's profile come from one reading of the file.
void TestStorage::logonListAndProfileReadTheFileOnce() {
    QByteArray users;
    for (int i = 0; i < 50; ++i)
        users += "[User" + QByteArray::number(i) + "]\r\nProgress=" + QByteArray::number(i) + "\r\n";
    writeAll(m_ini, users);
    TFmLogon logon;
    logon.setStarter(new TZQStarterLocal(&logon));
    FileEvents events(m_dir->path(), "zqc.ini");
    QVERIFY(events.isValid());
    logon.RefreshUserList();
    QCOMPARE(logon.ComboUser->count(), 50);
    logon.Starter->Profile()->UserName = "user42";
    logon.Starter->Profile()->Load();
    QCOMPARE(logon.Starter->Profile()->Progress, 42);
    QCOMPARE(events.opens(), 1);

    // A file changed by another writer is read again.
    writeAll(m_ini, "[User42]\r\nProgress=43\r\n");
    logon.Starter->Profile()->Load();
    QCOMPARE(logon.Starter->Profile()->Progress, 43);
}

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
