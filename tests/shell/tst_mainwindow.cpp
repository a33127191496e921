#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/TFmCoursePrac.h"
#include "drills/ui/TFmLinePractice.h"
#include "drills/ui/TFmSentencePrac.h"
#include "keyboard/ui/TKbFm.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "platform/DataPacketWriter.h"
#include "platform/FakeKeyboardLayoutProvider.h"
#include "platform/IniFile.h"
#include "platform/ScriptedDialogs.h"
#include "platform/ZipReader.h"
#include "platform/ui/SoundPlayer.h"
#include "settings/DataMod.h"
#include "settings/KeyboardLayoutAgent.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ApplicationOwner.h"
#include "shell/ui/ProfileFm.h"
#include "shell/ui/QuorvelApplication.h"
#include "shell/ui/TFmLogon.h"
#include "shell/ui/TZQMainFm.h"
#include "support/UnusualFiles.h"
#include "support/TestPaths.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <zip.h>

namespace {

bool copyTree(const QString& from, const QString& to) {
    QDir source(from);
    if (!QDir().mkpath(to)) return false;
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + '/' + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// Runs `typist` on the modal drill as soon as it is shown; the drill is left with Esc after it.
// The watch ends with `owner` if no drill comes.
void whenDrillShows(QObject* owner, std::function<void(TFmLinePractice*)> typist) {
    auto* timer = new QTimer(owner);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, typist] {
        auto* drill = qobject_cast<TFmLinePractice*>(QApplication::activeModalWidget());
        if (!drill || !drill->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        typist(drill);
        QTest::keyClick(drill->InputEdit, Qt::Key_Escape);
    });
    timer->start();
}

// Replaces (or with an empty name removes) one member of a zip archive in place.
bool changeMember(const QString& path, const char* name, const QByteArray& data) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), 0, &error);
    if (!archive) return false;
    const zip_int64_t index = zip_name_locate(archive, name, 0);
    bool ok = index >= 0;
    if (ok && data.isNull()) {
        ok = zip_delete(archive, zip_uint64_t(index)) == 0;
    } else if (ok) {
        zip_source_t* source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        ok = source && zip_file_replace(archive, zip_uint64_t(index), source, 0) == 0;
    }
    return zip_close(archive) == 0 && ok;
}

void typeLine(TFmLinePractice* drill, const QByteArray& text) {
    for (char c : text)
        QTest::keyClick(drill->InputEdit, c);
}

} // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void drillSoundsFollowTheProfileOption_data();
    void drillSoundsFollowTheProfileOption();
    void courseDrillKeepsPositionAndAddsItsTime();
    void everyRoadOutSavesExactlyOnce_data();
    void everyRoadOutSavesExactlyOnce();
    void failedSaveIsShownAndRetriedWithoutCountingTimeTwice();
    void coursePathsAreCachedAtFirstRequest();
    void fullScreenHidesTheButtonsAroundDrills_data();
    void fullScreenHidesTheButtonsAroundDrills();
    void helpOpensTheFileOrSaysItCannot();
    void enterPressesTheFocusedButton();
    void layoutThatCannotBeActivatedIsReported();
    void focusedButtonShowsBlueText();
    void missingCourseIsReportedAndTheRunGoesOn();
    void damagedLayoutNeverLocksOut_data();
    void damagedLayoutNeverLocksOut();
    void keyboardAndHandsStayAboveTheMainWindow_data();
    void keyboardAndHandsStayAboveTheMainWindow();
    void gameSoundsAreReadyWhenTheGameOpens_data();
    void gameSoundsAreReadyWhenTheGameOpens();
    void mainWindowComesBackWhereItWas();

private:
    TZQMainFm* openMain(const QStringList& record = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TProfile> m_profile;
    std::unique_ptr<TKeyboardLayoutAgent> m_agent;
    std::shared_ptr<FakeKeyboardLayoutProvider::State> m_layouts;
    std::unique_ptr<TFmLogon> m_logon;
    QByteArray m_firstLine;
};

void TestMainWindow::initTestCase() {
    QFile course(appDir() + "/Courses/English/course.txt");
    QVERIFY(course.open(QIODevice::ReadOnly));
    m_firstLine = course.readLine().trimmed();
    QVERIFY(m_firstLine.size() > 10);
}

void TestMainWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(copyTree(appDir() + "/Courses/English", m_dir->path() + "/Courses/English"));
    QVERIFY(QDir(m_dir->path()).mkdir("media"));
    QFile media(m_dir->path() + "/media/media.ini");
    QVERIFY(media.open(QIODevice::WriteOnly));
    media.write("[wav]\r\nword_ok=ok.wav\r\nword_err=err.wav\r\n");
    media.close();
    QVERIFY(QFile::copy(appDir() + "/media/word_ok.wav", m_dir->path() + "/media/ok.wav"));
    QVERIFY(QFile::copy(appDir() + "/media/word_err.wav", m_dir->path() + "/media/err.wav"));
    Settings = new TSettings(nullptr, m_dir->path());
    Settings->Load();
    DataMod = new TDataMod;
    m_layouts = std::make_shared<FakeKeyboardLayoutProvider::State>();
    m_layouts->installed = {{0x409, "US", 0}};
    m_layouts->accepted = {"00000409"};
    m_agent = std::make_unique<TKeyboardLayoutAgent>(std::make_unique<FakeKeyboardLayoutProvider>(m_layouts));
    m_agent->Refresh();
    // The hidden logon window, which the main window closes at the end.
    m_logon = std::make_unique<TFmLogon>();
    FmLogon = m_logon.get();
}

void TestMainWindow::cleanup() {
    applicationOwner().freeAll();
    m_logon.reset();
    FmLogon = nullptr;
    m_agent.reset();
    m_profile.reset();
    delete DataMod;
    DataMod = nullptr;
    delete Settings;
    Settings = nullptr;
    m_dir.reset();
}

TZQMainFm* TestMainWindow::openMain(const QStringList& record) {
    m_profile = std::make_unique<TProfile>();
    // The first line naming a key counts: the record given overrides the course.
    m_profile->FromStrings(record + QStringList{"Course=English"});
    m_profile->UserName = "Default";
    m_profile->OnSave = [this](TProfile* sender, const QString& name) {
        TIniFile ini(Settings->AppDir + "zqc.ini");
        for (const QString& line : sender->ToStrings())
            ini.WriteString(name, line.section(u'=', 0, 0), line.section(u'=', 1));
    };
    auto* main = applicationOwner().adopt(new TZQMainFm);
    main->SetKeyboardAgent(m_agent.get());
    main->SetProfile(m_profile.get());
    main->show();
    main->activateWindow();
    return main;
}

void TestMainWindow::drillSoundsFollowTheProfileOption_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("mistake");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sound on, a wrong key and a line") << true << true << QStringList{"err.wav", "ok.wav"};
    QTest::newRow("sound on, a clean line") << true << false << QStringList{"ok.wav"};
    QTest::newRow("sound off") << false << true << QStringList{};
}

void TestMainWindow::drillSoundsFollowTheProfileOption() {
    QFETCH(bool, enabled);
    QFETCH(bool, mistake);
    QFETCH(QStringList, expected);
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({enabled ? "DrillSoundEnabled=1" : "DrillSoundEnabled=0"});
    QStringList played;
    QByteArray line = m_firstLine;
    if (mistake) line[0] = line[0] == 'x' ? 'y' : 'x';
    // What the player was asked to sound by the keys typed.
    const auto typeAndListen = [&](TFmLinePractice* drill, const QByteArray& keys) {
        const int before = main->wavePlayer()->playCount();
        typeLine(drill, keys);
        if (main->wavePlayer()->playCount() > before)
            played << QFileInfo(main->wavePlayer()->lastPlayed()).fileName();
    };
    whenDrillShows(main, [&](TFmLinePractice* drill) {
        // Both drill sounds are ready before the first key, so no key waits for them.
        QStringList loaded;
        for (const QString& path : main->wavePlayer()->loadedFiles()) loaded << QFileInfo(path).fileName();
        QCOMPARE(loaded, (enabled ? QStringList{"err.wav", "ok.wav"} : QStringList{}));
        typeAndListen(drill, line.left(1));
        typeAndListen(drill, line.mid(1) + ' ');
    });
    QTest::mouseClick(main->CourseBn, Qt::LeftButton);
    QCOMPARE(played, expected);
    QCOMPARE(main->wavePlayer()->playCount(), int(expected.size()));
}

void TestMainWindow::courseDrillKeepsPositionAndAddsItsTime() {
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"Progress=0"});
    QCOMPARE(main->runPracticeTime(), 0);
    whenDrillShows(main, [&](TFmLinePractice* drill) {
        auto* course = qobject_cast<TFmCoursePrac*>(drill);
        QVERIFY(course);
        QCOMPARE(course->GetCurrentLine(), 0);
        QVERIFY(!VKeyboard->KbFrame->isEnabled());
        typeLine(drill, m_firstLine + ' ');
    });
    QTest::mouseClick(main->CourseBn, Qt::LeftButton);
    QCOMPARE(m_profile->Progress, 1);
    QVERIFY(main->runPracticeTime() > 0);
    QVERIFY(!QApplication::activeModalWidget());

    // The next course drill of the run starts where the last one stopped.
    int lineAtStart = -1;
    whenDrillShows(main, [&](TFmLinePractice* drill) {
        lineAtStart = qobject_cast<TFmCoursePrac*>(drill)->GetCurrentLine();
    });
    QTest::mouseClick(main->CourseBn, Qt::LeftButton);
    QCOMPARE(lineAtStart, 1);
    QCOMPARE(m_profile->Progress, 1);
}

void TestMainWindow::everyRoadOutSavesExactlyOnce_data() {
    QTest::addColumn<QString>("road");
    QTest::newRow("Esc") << "esc";
    QTest::newRow("Exit button") << "button";
    QTest::newRow("window closed") << "close";
}

void TestMainWindow::everyRoadOutSavesExactlyOnce() {
    QFETCH(QString, road);
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"TimeTotal=90061000"});
    QPointer<TZQMainFm> alive(main);
    m_logon->show();
    m_logon->hide();
    if (road == "esc")
        QTest::keyClick(main, Qt::Key_Escape);
    else if (road == "button")
        QTest::mouseClick(main->ExitBn, Qt::LeftButton);
    else
        main->close();
    QCOMPARE(dialogs->texts(),
             QStringList{"Default: The practice time is 0 h 0 m 0 s, total practice time is 25 h 1 m 1 s."});
    QCOMPARE(TIniFile(Settings->AppDir + "zqc.ini").ReadInteger("Default", "TimeTotal", 0), 90061000);
    QCOMPARE(TIniFile(Settings->AppDir + "zq.ini").ReadString("General", "User", ""),
             QStringLiteral("Default"));
    QTRY_VERIFY(alive.isNull()); // freed after its close

    // The program is ending; nothing is shown or saved a second time.
    QFile::remove(Settings->AppDir + "zqc.ini");
    m_logon->close();
    QCoreApplication::processEvents();
    QCOMPARE(dialogs->texts().size(), 1);
    QVERIFY(!QFile::exists(Settings->AppDir + "zqc.ini"));
}

void TestMainWindow::failedSaveIsShownAndRetriedWithoutCountingTimeTwice() {
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"TimeTotal=1000"});
    whenDrillShows(main, [&](TFmLinePractice* drill) { typeLine(drill, m_firstLine + ' '); });
    QTest::mouseClick(main->CourseBn, Qt::LeftButton);
    const int run = main->runPracticeTime();
    QVERIFY(run > 0);
    dialogs->clear();

    // "zqc.ini" cannot be replaced while a folder stands in its place.
    const QString zqc = Settings->AppDir + "zqc.ini";
    QVERIFY(QDir().mkdir(zqc));
    dialogs->answerNo(); // stay, so that the save can be tried again
    QVERIFY(!main->close());
    QVERIFY(main->isVisible());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error).size(), 1);
    QVERIFY(dialogs->texts(ScriptedDialogs::Kind::Error).first().contains("Unable to write to"));
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Confirm).size(), 1);
    // The settings were saved although the profile was not.
    QCOMPARE(TIniFile(Settings->AppDir + "zq.ini").ReadString("General", "User", ""),
             QStringLiteral("Default"));
    QCOMPARE(m_profile->TimeTotal, 1000 + run);

    QVERIFY(QDir().rmdir(zqc));
    dialogs->clear();
    QVERIFY(main->close());
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error), QStringList{});
    QCOMPARE(TIniFile(zqc).ReadInteger("Default", "TimeTotal", 0), 1000 + run);
}

void TestMainWindow::coursePathsAreCachedAtFirstRequest() {
    TZQMainFm* main = openMain();
    const QString base = Settings->AppDir + "Courses/";
    QCOMPARE(main->GetLayoutFile(), base + "English/layout.zqt");
    m_profile->Course = "Deutsch";
    QCOMPARE(main->GetLayoutFile(), base + "English/layout.zqt");
    QCOMPARE(main->GetCourseFile(), base + "Deutsch/course.txt");
    m_profile->Course = "";
    QCOMPARE(main->GetCourseFile(), base + "Deutsch/course.txt");
    QCOMPARE(main->GetPracticeFile(), base + "/Practice.txt");
    QCOMPARE(main->GetGameFile(), base + "/Game.txt");
}

void TestMainWindow::fullScreenHidesTheButtonsAroundDrills_data() {
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("window") << false;
    QTest::newRow("full screen") << true;
}

void TestMainWindow::fullScreenHidesTheButtonsAroundDrills() {
    QFETCH(bool, fullScreen);
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({fullScreen ? "FullScreen=1" : "FullScreen=0"});
    const QList<QPushButton*> buttons = main->findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 8);
    if (fullScreen) // the whole window, frame included, covers the screen
        QTRY_COMPARE(main->frameGeometry(), main->screen()->geometry());
    else
        QCOMPARE(main->size(), QSize(217, 345));
    QList<bool> shownDuringDrill;
    whenDrillShows(main, [&](TFmLinePractice*) {
        for (QPushButton* b : buttons)
            shownDuringDrill << b->isVisible();
    });
    QTest::mouseClick(main->SentenceBn, Qt::LeftButton);
    QCOMPARE(shownDuringDrill, QList<bool>(8, !fullScreen));
    for (QPushButton* b : buttons) {
        QVERIFY(b->isVisible());
        QVERIFY(b->isEnabled());
    }
}

void TestMainWindow::helpOpensTheFileOrSaysItCannot() {
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"HelpFile=guide.html"});
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QTest::mouseClick(main->HelpBn, Qt::LeftButton);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error),
             QStringList{"Can not open the help file: guide.html"});
    QVERIFY(catcher.urls.isEmpty());

    QFile help(Settings->AppDir + "guide.html");
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.close();
    dialogs->clear();
    QTest::mouseClick(main->HelpBn, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("file");
    QVERIFY(dialogs->shown().empty());
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(Settings->AppDir + "guide.html")});
}

void TestMainWindow::enterPressesTheFocusedButton() {
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"HelpFile=missing.html"});
    main->HelpBn->setFocus();
    QTest::keyClick(main->HelpBn, Qt::Key_Return);
    QTest::keyClick(main->HelpBn, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error),
             QStringList(2, "Can not open the help file: missing.html"));
    QTest::keyClick(main->HelpBn, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error).size(), 2);
}

void TestMainWindow::layoutThatCannotBeActivatedIsReported() {
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"KeyboardLayout=00000407"});
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::MessageBox),
             QStringList{"00000407 layout could not be activated."});
    QVERIFY(main->isVisible());
    QVERIFY(VKeyboard && PalmForm && RightPalmForm);
}

void TestMainWindow::focusedButtonShowsBlueText() {
    TZQMainFm* main = openMain();
    QVERIFY(QTest::qWaitForWindowActive(main));
    main->CourseBn->setFocus();
    QTRY_COMPARE(main->CourseBn->palette().color(QPalette::ButtonText), QColor(Qt::blue));
    QTest::keyClick(main->CourseBn, Qt::Key_Tab);
    QTRY_VERIFY(main->SentenceBn->hasFocus());
    QCOMPARE(main->CourseBn->palette().color(QPalette::ButtonText), QColor(Qt::black));
    QCOMPARE(main->SentenceBn->palette().color(QPalette::ButtonText), QColor(Qt::blue));
}

void TestMainWindow::missingCourseIsReportedAndTheRunGoesOn() {
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"Course=Gone"});
    QVERIFY(main->isVisible());
    const QStringList warnings = dialogs->texts(ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings.first().contains("\"Gone\""));
    QVERIFY(warnings.first().contains(Settings->AppDir + "Courses/Gone/layout.zqt"));
    // The drills still open and close; typing on an empty keyboard harms nothing.
    whenDrillShows(main, [&](TFmLinePractice* drill) { typeLine(drill, "abc"); });
    QTest::mouseClick(main->CourseBn, Qt::LeftButton);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(main->isVisible());
}

void TestMainWindow::damagedLayoutNeverLocksOut_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("without key.cds") << "no key table";
    QTest::newRow("member over the size limit") << "huge member";
    QTest::newRow("truncated") << "truncated";
    QTest::newRow("random bytes") << "random";
    QTest::newRow("named pipe") << "pipe";
    QTest::newRow("key position that is no number") << "bad value";
}

// A course whose layout archive is damaged: the logon completes with one message naming the
// archive; the drills run without keyboard and hands, and another course can be chosen.
void TestMainWindow::damagedLayoutNeverLocksOut() {
    QFETCH(QString, damage);
    const QString folder = m_dir->path() + "/Courses/Broken";
    QVERIFY(copyTree(m_dir->path() + "/Courses/English", folder));
    const QString layout = folder + "/layout.zqt";
    if (damage == "no key table") {
        QVERIFY(changeMember(layout, "key.cds", QByteArray()));
    } else if (damage == "huge member") {
        QVERIFY(changeMember(layout, "key.cds", QByteArray(ZipReader::maxMemberSize + 1, 'k')));
    } else if (damage == "bad value") {
        // Every field is there, but X is text: the keyboard cannot place the key.
        DataPacket keys;
        keys.fields = TDataMod::keyTableFields();
        for (DataField& field : keys.fields)
            if (field.name == "X") field = DataField::string("X", 10);
        keys.rows.push_back({FieldValue::bytes("A"), FieldValue::integer(65), FieldValue::integer(1),
                             FieldValue::integer(0), FieldValue::integer(3), FieldValue::bytes({}),
                             FieldValue::integer(40), FieldValue::integer(40), FieldValue::bytes("abc"),
                             FieldValue::integer(0), FieldValue::bytes("A")});
        QVERIFY(changeMember(layout, "key.cds", writeDataPacket(keys)));
    } else {
        QFile file(layout);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        QVERIFY(file.remove());
        if (damage == "pipe") {
            QVERIFY(!UnusualFiles::fifo(folder, "layout.zqt").isEmpty());
        } else {
            if (damage == "truncated") bytes.truncate(bytes.size() / 2);
            for (qsizetype i = 0; damage == "random" && i < bytes.size(); ++i)
                bytes[i] = char(QRandomGenerator::global()->bounded(256));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            file.close();
        }
    }

    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({"Course=Broken", "Progress=0"});
    QVERIFY(main->isVisible());
    QCOMPARE(dialogs->shown().size(), size_t(1));
    const QStringList warnings = dialogs->texts(ScriptedDialogs::Kind::Warning);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(Settings->AppDir + "Courses/Broken/layout.zqt"),
             qPrintable(warnings.first()));
    QVERIFY2(warnings.first().contains("cannot be shown"), qPrintable(warnings.first()));
    QVERIFY(!VKeyboard && !PalmForm && !RightPalmForm);

    // A course line is typed and counted, with no keyboard or hand window anywhere.
    whenDrillShows(main, [&](TFmLinePractice* drill) {
        typeLine(drill, m_firstLine + ' ');
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible() || window == drill || window == main,
                     window->metaObject()->className());
    });
    QTest::mouseClick(main->CourseBn, Qt::LeftButton);
    QCOMPARE(m_profile->Progress, 1);
    whenDrillShows(main, [&](TFmLinePractice* drill) { typeLine(drill, "the"); });
    QTest::mouseClick(main->SentenceBn, Qt::LeftButton);
    QVERIFY(!QApplication::activeModalWidget());

    // The profile editor lists the courses, and Apply takes another one.
    bool edited = false;
    QTimer::singleShot(0, main, [&] {
        auto* editor = qobject_cast<TProfileFm*>(QApplication::activeModalWidget());
        QVERIFY(editor);
        auto* course = editor->findChild<QComboBox*>("CourseEd");
        auto* apply = editor->findChild<QPushButton*>("BnApply");
        QVERIFY(course && apply);
        QVERIFY(course->findText("English") >= 0);
        course->setEditText("English");
        edited = true;
        apply->click();
    });
    QTest::mouseClick(main->ProfileBn, Qt::LeftButton);
    QVERIFY(edited);
    QCOMPARE(m_profile->Course, QStringLiteral("English"));
    // The archive was named once, at the logon, and never again.
    QCOMPARE(dialogs->texts().filter("layout.zqt").size(), 1);
}

int main(int argc, char** argv) {
    QuorvelApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

void TestMainWindow::keyboardAndHandsStayAboveTheMainWindow_data() {
    QTest::addColumn<QString>("drill");
    QTest::newRow("course") << "course";
    QTest::newRow("sentences") << "sentence";
}

void TestMainWindow::keyboardAndHandsStayAboveTheMainWindow() {
    QFETCH(QString, drill);
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({});
    // The window manager keeps a transient above its parent: the main window's buttons never
    // cover the keys and fingers a drill lights.
    // Once the drill is in front, the keyboard is a transient of the drill, itself one of the main
    // window: the modal drill then leaves the keyboard its close box.
    QList<QWidget*> shown;
    QList<bool> above;
    whenDrillShows(main, [&](TFmLinePractice* d) {
        QTRY_VERIFY_WITH_TIMEOUT(VKeyboard->windowHandle()->transientParent() == d->windowHandle(), 30000);
        for (QWidget* companion : {static_cast<QWidget*>(VKeyboard), static_cast<QWidget*>(PalmForm),
                                   static_cast<QWidget*>(RightPalmForm)}) {
            if (!companion->isVisible()) continue;
            shown << companion;
            QWindow* parent = companion->windowHandle() ? companion->windowHandle()->transientParent() : nullptr;
            if (companion == VKeyboard)
                above << (parent == d->windowHandle() && parent->transientParent() == main->windowHandle());
            else
                above << (parent == main->windowHandle());
        }
    });
    QTest::mouseClick(drill == "course" ? main->CourseBn : main->SentenceBn, Qt::LeftButton);
    QVERIFY(shown.contains(VKeyboard));
    QCOMPARE(shown.size(), 3);
    QCOMPARE(above, QList<bool>(3, true));
}

void TestMainWindow::gameSoundsAreReadyWhenTheGameOpens_data() {
    QTest::addColumn<bool>("enabled");
    QTest::newRow("game sound on") << true;
    QTest::newRow("game sound off") << false;
}

void TestMainWindow::gameSoundsAreReadyWhenTheGameOpens() {
    QFETCH(bool, enabled);
    QFile media(m_dir->path() + "/media/media.ini");
    QVERIFY(media.open(QIODevice::WriteOnly));
    media.write("[wav]\r\nGame_CityShoot=ok.wav\r\nGame_CityHurt=err.wav\r\n");
    media.close();
    ScriptedDialogsGuard dialogs;
    dialogs->answerText(QString()); // the difficulty prompt, cancelled
    TZQMainFm* main = openMain({enabled ? "GameSoundEnabled=1" : "GameSoundEnabled=0"});
    main->RunGame();
    QStringList loaded;
    for (const QString& path : main->wavePlayer()->loadedFiles()) loaded << QFileInfo(path).fileName();
    QCOMPARE(loaded, (enabled ? QStringList{"err.wav", "ok.wav"} : QStringList{}));
    QCOMPARE(main->wavePlayer()->playCount(), 0);
}

void TestMainWindow::mainWindowComesBackWhereItWas() {
    ScriptedDialogsGuard dialogs;
    TZQMainFm* main = openMain({});
    const QPoint centred = main->pos();
    // Moved away from the centre, then hidden and shown again the way the game does.
    const QPoint moved = centred + QPoint(-37, 23);
    main->move(moved);
    QCOMPARE(main->pos(), moved);
    main->hide();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QCOMPARE(main->pos(), moved);
}

#include "tst_mainwindow.moc"
