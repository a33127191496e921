#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "settings/Profile.h"
#include "support/TestPaths.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// A profile in which every stored value differs from its default and from its neighbours.
void fillDistinct(TProfile& p) {
    p.UserName = "Distinct";
    p.FullScreen = true;
    p.BgColor = 0x123456;
    p.Course = "German";
    p.Progress = 120;
    p.TimeTotal = 3600000;
    p.KeyboardLayout = "00000407";
    p.PracticeFont = {"Prac", 11, 0x0000FF, true, false, true, true, 0};
    p.TextFont = {"Text", 12, -2147483640, false, true, false, false, 0};
    p.GameFont = {"Game", 13, 0x00FF00, true, true, true, true, 204};
    p.HelpFile = "help.html";
    p.HighLight = true;
    p.Blinking = true;
    p.GameBgColor = -2147483633;
    p.FunSpeed = true;
    p.GameEnabled = true;
    p.GameSoundEnabled = true;
    p.DrillSoundEnabled = true;
    p.PopupAtEnd = true;
    p.GScore1 = 1;
    p.GScore2 = -2;
    p.GScore3 = 3;
    p.GScore4 = 2147483647;
    p.GScore5 = -2147483647 - 1;
}

// The stored part of a font: name, size, colour, bold, italic, and for the game font the
// other two styles.
void compareStoredFont(const TFontValue& actual, const TFontValue& expected, bool allStyles) {
    QCOMPARE(actual.Name, expected.Name);
    QCOMPARE(actual.Size, expected.Size);
    QCOMPARE(actual.Color, expected.Color);
    QCOMPARE(actual.Bold, expected.Bold);
    QCOMPARE(actual.Italic, expected.Italic);
    if (allStyles) {
        QCOMPARE(actual.Underline, expected.Underline);
        QCOMPARE(actual.StrikeOut, expected.StrikeOut);
    }
}

void compareRecord(const TProfile& a, const TProfile& b) {
    QCOMPARE(a.ToStrings(), b.ToStrings());
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT
private slots:
    void newProfile();
    void emptyRecord();
    void recordOrderAndEncoding();
    void roundTrip();
    void conversions_data();
    void conversions();
    void lookupRules();
    void badNumberKeepsEarlierFields();
    void badFontSizeStopsInsideTheFont();
    void stylesOutsideTheRecordStay();
    void assignTemplate();
    void eventsAndStorage();
    void storageErrorsReachTheCaller();
    void shippedDefaultUser();
};

void TestProfile::newProfile() {
    TProfile p;
    QVERIFY(p.UserName.isEmpty());
    QVERIFY(!p.FullScreen);
    QCOMPARE(p.BgColor, 0);
    QVERIFY(p.KeyboardLayout.isEmpty());
    QCOMPARE(p.PracticeFont, TFontValue());
    QCOMPARE(p.GameFont, TFontValue());
    QVERIFY(!p.OnLoad && !p.OnSave);
    p.Load(); // no handlers: nothing happens
    p.Save();
}

void TestProfile::emptyRecord() {
    TProfile p;
    fillDistinct(p);
    int calls = 0;
    p.OnLoad = [&calls](TProfile*, const QString&) { ++calls; };
    p.FromStrings({});
    QCOMPARE(p.UserName, QString("Distinct"));
    QVERIFY(p.OnLoad);
    QVERIFY(!p.FullScreen);
    QCOMPARE(p.BgColor, 8421504);
    QCOMPARE(p.Course, QString());
    QCOMPARE(p.Progress, 0);
    QCOMPARE(p.TimeTotal, 0);
    QCOMPARE(p.KeyboardLayout, QString("00000409"));
    const TFontValue courier{"courier", 10, 0, false, false, false, false, 0};
    compareStoredFont(p.PracticeFont, courier, false);
    compareStoredFont(p.TextFont, courier, false);
    compareStoredFont(p.GameFont, courier, true);
    QCOMPARE(p.HelpFile, QString("zqhelp.chm"));
    QVERIFY(!p.HighLight && !p.Blinking && !p.FunSpeed && !p.GameEnabled);
    QVERIFY(!p.GameSoundEnabled && !p.DrillSoundEnabled && !p.PopupAtEnd);
    QCOMPARE(p.GameBgColor, 0);
    QCOMPARE(QList<int>({p.GScore1, p.GScore2, p.GScore3, p.GScore4, p.GScore5}),
             QList<int>({0, 0, 0, 0, 0}));
    QCOMPARE(calls, 0);
}

void TestProfile::recordOrderAndEncoding() {
    TProfile p;
    fillDistinct(p);
    const QStringList expected = {"FullScreen=1",
                                  "BgColor=1193046",
                                  "Course=German",
                                  "Progress=120",
                                  "TimeTotal=3600000",
                                  "KeyboardLayout=00000407",
                                  "PracticeFontName=Prac",
                                  "PracticeFontSize=11",
                                  "PracticeFontColor=255",
                                  "PracticeFontBold=1",
                                  "PracticeFontItalic=0",
                                  "TextFontName=Text",
                                  "TextFontSize=12",
                                  "TextFontColor=-2147483640",
                                  "TextFontBold=0",
                                  "TextFontItalic=1",
                                  "GameFontName=Game",
                                  "GameFontSize=13",
                                  "GameFontColor=65280",
                                  "GameFontBold=1",
                                  "GameFontItalic=1",
                                  "GameFontUnderLine=1",
                                  "GameFontStrikeOut=1",
                                  "GameBgColor=-2147483633",
                                  "FunSpeed=1",
                                  "HelpFile=help.html",
                                  "HighLight=1",
                                  "Blinking=1",
                                  "GameEnabled=1",
                                  "GameSoundEnabled=1",
                                  "DrillSoundEnabled=1",
                                  "PopupAtEnd=1",
                                  "GScore1=1",
                                  "GScore2=-2",
                                  "GScore3=3",
                                  "GScore4=2147483647",
                                  "GScore5=-2147483648"};
    QCOMPARE(p.ToStrings(), expected);
    TProfile empty;
    QCOMPARE(empty.ToStrings().size(), 37);
    QVERIFY(empty.ToStrings().contains("Course="));
    QVERIFY(empty.ToStrings().contains("FullScreen=0"));
}

void TestProfile::roundTrip() {
    TProfile source;
    fillDistinct(source);
    TProfile target;
    target.FromStrings(source.ToStrings());
    compareRecord(target, source);
    // Only the empty strings with a default come back changed.
    source.KeyboardLayout.clear();
    source.HelpFile.clear();
    source.GameFont.Name.clear();
    source.Course.clear();
    target.FromStrings(source.ToStrings());
    QCOMPARE(target.KeyboardLayout, QString("00000409"));
    QCOMPARE(target.HelpFile, QString("zqhelp.chm"));
    QCOMPARE(target.GameFont.Name, QString("courier"));
    QCOMPARE(target.Course, QString());
}

void TestProfile::conversions_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected"); // the field's value as ToStrings writes it, or an error

    QTest::newRow("true is 1 only") << "FullScreen=1"
                                    << "FullScreen=1";
    QTest::newRow("a word for true is false") << "FullScreen=True"
                                              << "FullScreen=0";
    QTest::newRow("blank before 1 is false") << "HighLight= 1"
                                             << "HighLight=0";
    QTest::newRow("2 is false") << "PopupAtEnd=2"
                                << "PopupAtEnd=0";
    QTest::newRow("colour after $") << "BgColor=$FF8000"
                                    << "BgColor=16744448";
    QTest::newRow("colour after 0x") << "GameBgColor=0x10"
                                     << "GameBgColor=16";
    QTest::newRow("system colour") << "PracticeFontColor=-2147483633"
                                   << "PracticeFontColor=-2147483633";
    QTest::newRow("leading blanks") << "Progress=   42"
                                    << "Progress=42";
    QTest::newRow("plus sign") << "TimeTotal=+7"
                               << "TimeTotal=7";
    QTest::newRow("empty integer is the default") << "BgColor="
                                                  << "BgColor=8421504";
    QTest::newRow("empty size is 10") << "TextFontSize="
                                      << "TextFontSize=10";
    QTest::newRow("course kept as is") << "Course= two  words "
                                       << "Course= two  words ";
    QTest::newRow("value with =") << "HelpFile=a=b.htm"
                                  << "HelpFile=a=b.htm";
    QTest::newRow("trailing blank fails") << "Progress=5 "
                                          << "error:'5 ' is not a valid integer value";
    QTest::newRow("word fails") << "GScore3=lots"
                                << "error:'lots' is not a valid integer value";
    QTest::newRow("overflow fails") << "TimeTotal=2147483648"
                                    << "error:'2147483648' is not a valid integer value";
    QTest::newRow("bad size fails") << "GameFontSize=12pt"
                                    << "error:'12pt' is not a valid integer value";
}

void TestProfile::conversions() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    TProfile p;
    try {
        p.FromStrings({line});
    } catch (const EConvertError& e) {
        QCOMPARE("error:" + e.message(), expected);
        return;
    }
    QVERIFY2(!expected.startsWith("error:"), "the conversion error was not raised");
    QVERIFY2(p.ToStrings().contains(expected), qPrintable(p.ToStrings().join('|')));
}

void TestProfile::lookupRules() {
    TProfile p;
    p.FromStrings({"junk line", "fullscreen=1", "FullScreen=0", "BGCOLOR=5", "Course =ignored", "Unknown=7",
                   "Course=First", "Course=Second", "KeyboardLayout=0000040c"});
    QVERIFY(p.FullScreen);
    QCOMPARE(p.BgColor, 5);
    QCOMPARE(p.Course, QString("First"));
    QCOMPARE(p.KeyboardLayout, QString("0000040c"));
}

void TestProfile::badNumberKeepsEarlierFields() {
    TProfile p;
    fillDistinct(p);
    const QStringList record = {"FullScreen=0", "BgColor=77",  "Course=New",
                                "Progress=abc", "TimeTotal=5", "KeyboardLayout=00000419"};
    QVERIFY_THROWS_EXCEPTION(EConvertError, p.FromStrings(record));
    QVERIFY(!p.FullScreen);
    QCOMPARE(p.BgColor, 77);
    QCOMPARE(p.Course, QString("New"));
    QCOMPARE(p.Progress, 120);
    QCOMPARE(p.TimeTotal, 3600000);
    QCOMPARE(p.KeyboardLayout, QString("00000407"));
    QCOMPARE(p.PracticeFont.Name, QString("Prac"));
}

void TestProfile::badFontSizeStopsInsideTheFont() {
    TProfile p;
    fillDistinct(p);
    // Order of reading: the first six fields, practice font, text font, help file, highlight,
    // blinking, game font, then the rest.
    QVERIFY_THROWS_EXCEPTION(EConvertError,
                             p.FromStrings({"TextFontName=New", "TextFontSize=x", "HelpFile=h"}));
    QCOMPARE(p.PracticeFont.Name, QString("courier"));
    QCOMPARE(p.TextFont.Name, QString("New"));
    QCOMPARE(p.TextFont.Size, 12);
    QCOMPARE(p.HelpFile, QString("help.html"));
    QVERIFY_THROWS_EXCEPTION(EConvertError, p.FromStrings({"GameFontColor=red", "GameFontName=G"}));
    QCOMPARE(p.HelpFile, QString("zqhelp.chm"));
    QVERIFY(!p.Blinking);
    QCOMPARE(p.GameFont.Name, QString("G"));
    QCOMPARE(p.GameFont.Size, 10);
    QCOMPARE(p.GameFont.Color, 0x00FF00);
    QVERIFY(p.GameFont.Bold);
    QVERIFY(p.FunSpeed);
}

void TestProfile::stylesOutsideTheRecordStay() {
    TProfile p;
    p.PracticeFont.Bold = true;
    p.PracticeFont.Underline = true;
    p.PracticeFont.StrikeOut = true;
    p.TextFont.Charset = 204;
    p.FromStrings({"PracticeFontBold=0", "GameFontStrikeOut=1", "GameFontUnderLine=yes"});
    QVERIFY(!p.PracticeFont.Bold);
    QVERIFY(p.PracticeFont.Underline);
    QVERIFY(p.PracticeFont.StrikeOut);
    QCOMPARE(p.TextFont.Charset, uint8_t(204));
    QVERIFY(p.GameFont.StrikeOut);
    QVERIFY(!p.GameFont.Underline);
}

void TestProfile::assignTemplate() {
    TProfile source;
    fillDistinct(source);
    TProfile target;
    target.UserName = "Newcomer";
    bool loaded = false;
    target.OnLoad = [&loaded](TProfile*, const QString&) { loaded = true; };
    target.AssignTemplate(source);
    QCOMPARE(target.UserName, QString("Newcomer"));
    QVERIFY(target.OnLoad && !target.OnSave);
    QCOMPARE(target.Progress, 0);
    QCOMPARE(target.TimeTotal, 0);
    QCOMPARE(QList<int>({target.GScore1, target.GScore2, target.GScore3, target.GScore4, target.GScore5}),
             QList<int>({0, 0, 0, 0, 0}));
    QCOMPARE(target.Course, QString("German"));
    QCOMPARE(target.KeyboardLayout, QString("00000407"));
    QCOMPARE(target.BgColor, 0x123456);
    QCOMPARE(target.GameBgColor, -2147483633);
    QVERIFY(target.FullScreen && target.PopupAtEnd && target.DrillSoundEnabled);
    compareStoredFont(target.PracticeFont, source.PracticeFont, false);
    compareStoredFont(target.TextFont, source.TextFont, false);
    compareStoredFont(target.GameFont, source.GameFont, true);
    QVERIFY(!loaded);
    QCOMPARE(source.Progress, 120); // the template is untouched
}

void TestProfile::eventsAndStorage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("zqc.ini");
    QStringList calls;
    // Storage as the program keeps profiles: one section per user, key by key.
    const TProfileNameEvent save = [&](TProfile* sender, const QString& name) {
        calls << "save " + name;
        TIniFile ini(path);
        for (const QString& line : sender->ToStrings()) {
            const qsizetype eq = line.indexOf(u'=');
            ini.WriteString(name, line.left(eq), line.mid(eq + 1));
        }
    };
    const TProfileNameEvent load = [&](TProfile* sender, const QString& name) {
        calls << "load " + name;
        sender->FromStrings(TIniFile(path).ReadSectionValues(name));
    };

    TProfile first;
    fillDistinct(first);
    first.OnSave = save;
    first.Save();
    first.DoSave("Copy");
    first.Progress = 7;
    first.Save();
    QCOMPARE(TIniFile(path).ReadSections(), QStringList({"Distinct", "Copy"}));
    QCOMPARE(TIniFile(path).ReadSection("Distinct").size(), 37);

    TProfile second;
    second.OnLoad = load;
    second.UserName = "distinct";
    second.Load();
    QCOMPARE(second.Progress, 7);
    compareRecord(second, first);
    second.DoLoad("Nobody"); // an absent section is an empty record
    QCOMPARE(second.BgColor, 8421504);
    QCOMPARE(calls,
             QStringList({"save Distinct", "save Copy", "save Distinct", "load distinct", "load Nobody"}));
}

void TestProfile::storageErrorsReachTheCaller() {
    TProfile p;
    p.UserName = "X";
    p.OnSave = [](TProfile*, const QString&) { throw EIniFileError("Unable to write to /x/zqc.ini"); };
    p.OnLoad = [](TProfile* sender, const QString&) { sender->FromStrings({"Progress=$"}); };
    QVERIFY_THROWS_EXCEPTION(EIniFileError, p.Save());
    try {
        p.Load();
        QFAIL("the conversion error did not reach the caller");
    } catch (const EConvertError& e) {
        QCOMPARE(e.message(), QString("'$' is not a valid integer value"));
    }
}

// The program folder's first user is a complete record in the form the program writes.
void TestProfile::shippedDefaultUser() {
    TIniFile ini(sourceDir() + "/data/zqc.ini");
    QCOMPARE(ini.ReadSections(), QStringList({"Default"}));
    const QStringList record = ini.ReadSectionValues("Default");
    TProfile p;
    p.FromStrings(record);
    QCOMPARE(p.ToStrings(), record);
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
