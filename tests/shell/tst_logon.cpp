#include "platform/FakeKeyboardLayoutProvider.h"
#include "platform/Gettext.h"
#include "platform/IniFile.h"
#include "platform/Language.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Translation.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ApplicationOwner.h"
#include "shell/ui/ProfileFm.h"
#include "shell/ui/QuorvelApplication.h"
#include "shell/ui/TFmLogon.h"
#include "shell/ui/TZQMainFm.h"
#include "shell/ui/TZQStarterLocal.h"
#include "support/TestPaths.h"
#include "support/UnusualFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char* const kEmpty = "Please select a user name from the user list.";
const char* const kUnlisted =
    "The user name is not in the list. Please either select from the list or add a new user name.";
const char* const kNoTemplate =
    "To use an existing profile as basic template to define a new profile, Please "
    "select a user name from the user combobox.";

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) return false;
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + '/' + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// Types text as keys; characters beyond ASCII (which key clicks cannot give) arrive as key events
// carrying them, as a paste or an input method gives them.
void typeText(QLineEdit* edit, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

TZQMainFm* openMainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<TZQMainFm*>(w); main && main->isVisible()) return main;
    return nullptr;
}

} // namespace

// Receives what the logon window hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class TestLogon : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsUsersInFileOrderAndPreselectsTheLastUser_data();
    void listsUsersInFileOrderAndPreselectsTheLastUser();
    void refusesWithItsMessages_data();
    void refusesWithItsMessages();
    void logsOnUnderTheTypedLetterCase();
    void enterInTheBoxLogsOn();
    void badProfileNumberIsReportedAndLogonStaysUsable();
    void escEndsTheRunWithoutSaving();
    void showsDecipheredCaptionsAndOpensTheWebAddress();
    void addsAUserFromATemplate_data();
    void addsAUserFromATemplate();
    void failedAddKeepsTheEditorOpen_data();
    void failedAddKeepsTheEditorOpen();

private:
    void startLogon();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TFmLogon> m_logon;
    std::shared_ptr<FakeKeyboardLayoutProvider::State> m_layouts;
};

void TestLogon::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(copyTree(appDir() + "/Courses/English", m_dir->path() + "/Courses/English"));
    Settings = new TSettings(nullptr, m_dir->path());
    m_layouts = std::make_shared<FakeKeyboardLayoutProvider::State>();
    m_layouts->installed = {{0x409, "US", 0}};
    m_layouts->loaded = {0x04090409};
    m_layouts->active = 0x04090409;
    m_layouts->accepted = {"00000409"};
}

void TestLogon::startLogon() {
    Settings->Load();
    m_logon = std::make_unique<TFmLogon>();
    FmLogon = m_logon.get();
    m_logon->setStarter(
        new TZQStarterLocal(m_logon.get(), std::make_unique<FakeKeyboardLayoutProvider>(m_layouts)));
    m_logon->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_logon.get()));
}

void TestLogon::cleanup() {
    applicationOwner().freeAll();
    m_logon.reset();
    FmLogon = nullptr;
    delete Settings;
    Settings = nullptr;
    m_dir.reset();
}

void TestLogon::listsUsersInFileOrderAndPreselectsTheLastUser_data() {
    QTest::addColumn<QByteArray>("zqc");
    QTest::addColumn<QByteArray>("zq");
    QTest::addColumn<QStringList>("users");
    QTest::addColumn<QString>("selected");
    // "pipe" and "too large" put that in place of the file: no users or no settings, and a
    // warning, in English whatever the language, that says why (%1 the path of zqc.ini, %2 of zq.ini).
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QString>("language");
    const QString notRegular = "Cannot open file \"%1\". It is not a regular file.";
    const QString tooLarge = QStringLiteral("The file \"%1\" is too large: ") + QString::number(TIniFile::MaxFileSize + 1) +
                             QStringLiteral(" bytes (at most ") + QString::number(TIniFile::MaxFileSize) + QStringLiteral(" bytes).");
    const QString noUsers = " The users stored in it cannot be listed, and nothing is saved into it.";
    const QString noSettings = " The settings stored in it are not used, and nothing is saved into it.";
    QTest::newRow("last user listed")
        << QByteArray("[Default]\r\n[Zoe]\r\n[anna]\r\n") << QByteArray("[General]\r\nUser=Anna\r\n")
        << QStringList{"Default", "Zoe", "anna"} << "anna" << QStringList{} << "";
    QTest::newRow("no zq.ini: Default") << QByteArray("[Zoe]\r\n[Default]\r\n") << QByteArray()
                                        << QStringList{"Zoe", "Default"} << "Default" << QStringList{} << "";
    QTest::newRow("last user gone") << QByteArray("[Zoe]\r\n") << QByteArray("[General]\r\nUser=Max\r\n")
                                    << QStringList{"Zoe"} << "" << QStringList{} << "";
    QTest::newRow("no zqc.ini") << QByteArray() << QByteArray() << QStringList{} << "" << QStringList{} << "";
    QTest::newRow("pipe as zqc.ini") << QByteArray("pipe") << QByteArray() << QStringList{} << ""
                                     << QStringList{notRegular + noUsers} << "";
    QTest::newRow("zqc.ini too large") << QByteArray("too large") << QByteArray() << QStringList{} << ""
                                       << QStringList{tooLarge + noUsers} << "";
    QTest::newRow("zqc.ini too large, German") << QByteArray("too large") << QByteArray() << QStringList{} << ""
                                               << QStringList{tooLarge + noUsers} << "de";
    // The settings' defaults stand: the last user is "Default".
    QTest::newRow("zq.ini too large") << QByteArray("[Zoe]\r\n[Default]\r\n") << QByteArray("too large")
                                      << QStringList{"Zoe", "Default"} << "Default"
                                      << QStringList{tooLarge.arg("%2") + noSettings} << "";
    QTest::newRow("pipe as zq.ini, German") << QByteArray("[Default]\r\n") << QByteArray("pipe")
                                            << QStringList{"Default"} << "Default"
                                            << QStringList{notRegular.arg("%2") + noSettings} << "de";
    QTest::newRow("both unreadable") << QByteArray("pipe") << QByteArray("too large") << QStringList{} << ""
                                     << QStringList{tooLarge.arg("%2") + noSettings, notRegular + noUsers} << "";
}

void TestLogon::listsUsersInFileOrderAndPreselectsTheLastUser() {
    QFETCH(QByteArray, zqc);
    QFETCH(QByteArray, zq);
    QFETCH(QStringList, users);
    QFETCH(QString, selected);
    QFETCH(QStringList, warnings);
    QFETCH(QString, language);
    for (const auto& [name, content] : {std::pair{QString("zqc.ini"), zqc}, std::pair{QString("zq.ini"), zq}}) {
        if (content == "pipe")
            QVERIFY(!UnusualFiles::fifo(QDir(m_dir->path()), name).isEmpty());
        else if (content == "too large")
            QVERIFY(!UnusualFiles::sparse(QDir(m_dir->path()), name, TIniFile::MaxFileSize + 1).isEmpty());
        else if (!content.isEmpty())
            writeAll(Settings->AppDir + name, content);
    }
    // The language of the run; the logon window's own messages stay English in any.
    Gettext::bindDomains(appDir());
    Language::apply(language);
    const auto english = qScopeGuard([] { Language::apply(QString()); });
    if (!language.isEmpty()) QCOMPARE(i18n("Error"), QStringLiteral("Fehler"));
    ScriptedDialogsGuard dialogs;
    startLogon();
    for (QString& warning : warnings)
        warning = warning.replace("%1", QDir::toNativeSeparators(Settings->AppDir + "zqc.ini"))
                      .replace("%2", QDir::toNativeSeparators(Settings->AppDir + "zq.ini"));
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Warning), warnings);
    QStringList shown;
    for (int i = 0; i < m_logon->ComboUser->count(); ++i)
        shown << m_logon->ComboUser->itemText(i);
    QCOMPARE(shown, users);
    QCOMPARE(m_logon->ComboUser->currentText(), selected);
    // Said once in a run, though the window may be shown again.
    m_logon->hide();
    m_logon->show();
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Warning).size(), warnings.size());
}

void TestLogon::refusesWithItsMessages_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("OK, empty") << ""
                               << "OKButton" << kEmpty;
    QTest::newRow("OK, unlisted") << "Max"
                                  << "OKButton" << kUnlisted;
    QTest::newRow("OK, leading blank") << " Zoe"
                                       << "OKButton" << kUnlisted;
    QTest::newRow("OK, trailing blank") << "Zoe "
                                        << "OKButton" << kUnlisted;
    QTest::newRow("Add, empty") << ""
                                << "BnAdd" << kNoTemplate;
    QTest::newRow("Add, unlisted") << "Max"
                                   << "BnAdd" << kNoTemplate;
}

void TestLogon::refusesWithItsMessages() {
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, message);
    writeAll(Settings->AppDir + "zqc.ini", "[Default]\r\n[Zoe]\r\n");
    const QByteArray before = "[Default]\r\n[Zoe]\r\n";
    startLogon();
    ScriptedDialogsGuard dialogs;
    QLineEdit* edit = m_logon->ComboUser->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    QTest::mouseClick(m_logon->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information), QStringList{message});
    QCOMPARE(m_logon->ComboUser->currentText(), typed);
    QCOMPARE(m_logon->ComboUser->count(), 2);
    QVERIFY(m_logon->isVisible());
    QVERIFY(!openMainWindow());
    QFile f(Settings->AppDir + "zqc.ini");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestLogon::logsOnUnderTheTypedLetterCase() {
    writeAll(Settings->AppDir + "zqc.ini", "[Default]\r\n[Anna]\r\nCourse=English\r\nTimeTotal=3723000\r\n");
    startLogon();
    ScriptedDialogsGuard dialogs;
    QLineEdit* edit = m_logon->ComboUser->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "aNNA");
    QTest::mouseClick(m_logon->OKButton, Qt::LeftButton);
    QVERIFY(dialogs->shown().empty());
    QCOMPARE(m_logon->Starter->Profile()->UserName, QStringLiteral("aNNA"));
    QCOMPARE(m_logon->Starter->Profile()->Course, QStringLiteral("English"));
    QCOMPARE(Settings->UserName, QStringLiteral("aNNA"));
    QVERIFY(!m_logon->isVisible());
    TZQMainFm* main = openMainWindow();
    QVERIFY(main);
    QVERIFY(!QFile::exists(Settings->AppDir + "zq.ini")); // saved only at shutdown

    main->close();
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information),
             QStringList{"aNNA: The practice time is 0 h 0 m 0 s, total practice time is 1 h 2 m 3 s."});
    TIniFile zqc(Settings->AppDir + "zqc.ini");
    QCOMPARE(zqc.ReadSections(), (QStringList{"Default", "Anna"}));
    QCOMPARE(zqc.ReadInteger("Anna", "TimeTotal", 0), 3723000);
    QCOMPARE(TIniFile(Settings->AppDir + "zq.ini").ReadString("General", "User", ""), QStringLiteral("aNNA"));
}

void TestLogon::enterInTheBoxLogsOn() {
    writeAll(Settings->AppDir + "zqc.ini", "[Default]\r\nCourse=English\r\n");
    startLogon();
    ScriptedDialogsGuard dialogs;
    QCOMPARE(m_logon->ComboUser->currentText(), QStringLiteral("Default"));
    m_logon->activateWindow();
    m_logon->ComboUser->setFocus();
    // Where the platform delivers the key: the focus widget.
    QTRY_VERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(dialogs->shown().empty());
    QVERIFY(openMainWindow());
    QVERIFY(!m_logon->isVisible());
}

void TestLogon::badProfileNumberIsReportedAndLogonStaysUsable() {
    writeAll(Settings->AppDir + "zqc.ini", "[Default]\r\nProgress=lots\r\n[Zoe]\r\nCourse=English\r\n");
    startLogon();
    ScriptedDialogsGuard dialogs;
    QTest::mouseClick(m_logon->OKButton, Qt::LeftButton);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error),
             QStringList{"'lots' is not a valid integer value"});
    QVERIFY(!openMainWindow());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!qobject_cast<TZQMainFm*>(w), "a half-built main window was left behind");
    QVERIFY(m_logon->isVisible());

    dialogs->clear();
    m_logon->ComboUser->setCurrentIndex(1);
    QTest::mouseClick(m_logon->OKButton, Qt::LeftButton);
    QVERIFY(dialogs->shown().empty());
    QVERIFY(openMainWindow());
}

void TestLogon::escEndsTheRunWithoutSaving() {
    writeAll(Settings->AppDir + "zqc.ini", "[Default]\r\n");
    startLogon();
    m_logon->activateWindow();
    m_logon->ComboUser->setFocus();
    QTRY_VERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!m_logon->isVisible());
    QVERIFY(!QFile::exists(Settings->AppDir + "zq.ini"));
}

void TestLogon::showsDecipheredCaptionsAndOpensTheWebAddress() {
    startLogon();
    QCOMPARE(m_logon->ProductNameLb->text(), QStringLiteral("Quorvel"));
    QVERIFY(m_logon->CopyrightLb->text().contains("Quorvel"));
    QCOMPARE(m_logon->WebLb->text(), QStringLiteral("zqhelp.html"));
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QTest::mouseClick(m_logon->WebLb, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(Settings->AppDir + "zqhelp.html")});
}

void TestLogon::addsAUserFromATemplate_data() {
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("sections");
    QTest::newRow("new name") << "  Nina " << true << QStringList{"Nina is added to the list."}
                              << QStringList{"Default", "Zoe", "Nina"};
    QTest::newRow("listed in other case")
        << "zOE" << true << QStringList{"The user name is already in the list."}
        << QStringList{"Default", "Zoe"};
    QTest::newRow("listed, with a no-break space")
        << QString::fromUtf8("Zoe\u00a0") << true << QStringList{"The user name is already in the list."}
        << QStringList{"Default", "Zoe"};
    QTest::newRow("editor closed") << "Nina" << false << QStringList{} << QStringList{"Default", "Zoe"};
}

void TestLogon::addsAUserFromATemplate() {
    QFETCH(QString, typedName);
    QFETCH(bool, accept);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, sections);
    writeAll(Settings->AppDir + "zqc.ini", "[Default]\r\nCourse=English\r\n[Zoe]\r\nCourse=English\r\n"
                                           "Progress=120\r\nTimeTotal=3600000\r\nGScore1=77\r\n");
    writeAll(Settings->AppDir + "zq.ini", "[General]\r\nUser=Default\r\n");
    startLogon();
    ScriptedDialogsGuard dialogs;
    m_logon->ComboUser->setCurrentIndex(1); // Zoe is the template
    // The editor opens modally; it is answered as soon as it shows.
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<TProfileFm*>(QApplication::activeModalWidget());
        if (!editor) return;
        answer.stop();
        auto* name = editor->findChild<QComboBox*>("UserEd");
        name->lineEdit()->selectAll();
        typeText(name->lineEdit(), typedName);
        QTest::mouseClick(editor->findChild<QPushButton*>(accept ? "BnApply" : "CancelBn"), Qt::LeftButton);
    });
    answer.start();
    QTest::mouseClick(m_logon->BnAdd, Qt::LeftButton);
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information), messages);
    TIniFile zqc(Settings->AppDir + "zqc.ini");
    QCOMPARE(zqc.ReadSections(), sections);
    QStringList listed;
    for (int i = 0; i < m_logon->ComboUser->count(); ++i)
        listed << m_logon->ComboUser->itemText(i);
    QCOMPARE(listed, sections);
    if (sections.size() == 3) {
        // A template copy: the course comes along, progress, time and scores start at 0.
        QCOMPARE(zqc.ReadString("Nina", "Course", ""), QStringLiteral("English"));
        QCOMPARE(zqc.ReadInteger("Nina", "Progress", -1), 0);
        QCOMPARE(zqc.ReadInteger("Nina", "TimeTotal", -1), 0);
        QCOMPARE(zqc.ReadInteger("Nina", "GScore1", -1), 0);
        QCOMPARE(m_logon->ComboUser->currentText(), QStringLiteral("Default"));
    }
    QCOMPARE(zqc.ReadInteger("Zoe", "Progress", 0), 120); // the template is left as it was
}

void TestLogon::failedAddKeepsTheEditorOpen_data() {
    // How zqc.ini is kept from being written while Apply is first pressed.
    QTest::addColumn<QString>("blocked");
    QTest::newRow("grown over its limit") << "too large";
    QTest::newRow("a folder in its place") << "folder";
    // The save waits for the lock as long as it may, then fails.
    QTest::newRow("locked by another program") << "locked";
}

void TestLogon::failedAddKeepsTheEditorOpen() {
    QFETCH(QString, blocked);
    const QString path = Settings->AppDir + "zqc.ini";
    const QByteArray before = "[Default]\r\nCourse=English\r\n[Zoe]\r\nCourse=English\r\n";
    writeAll(path, before);
    startLogon();
    ScriptedDialogsGuard dialogs;
    m_logon->ComboUser->setCurrentIndex(1);
    int lock = -1;
    const auto unlock = qScopeGuard([&lock] {
        if (lock >= 0) ::close(lock);
    });
    QStringList whileOpen;
    bool fullScreen = false; // as ticked before the first try
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<TProfileFm*>(QApplication::activeModalWidget());
        if (!editor) return;
        answer.stop();
        auto* name = editor->findChild<QComboBox*>("UserEd");
        name->lineEdit()->selectAll();
        typeText(name->lineEdit(), "Nina");
        QTest::keyClick(editor->findChild<QCheckBox*>("ChkFullScreen"), Qt::Key_Space);
        fullScreen = editor->findChild<QCheckBox*>("ChkFullScreen")->isChecked();
        if (blocked == "too large") {
            QVERIFY(QFile::resize(path, TIniFile::MaxFileSize + 1));
        } else if (blocked == "folder") {
            QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        } else {
            lock = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
            QVERIFY(lock >= 0 && ::flock(lock, LOCK_EX) == 0);
        }
        QTest::mouseClick(editor->findChild<QPushButton*>("BnApply"), Qt::LeftButton);
        // Told why, and still open with what was typed.
        whileOpen = dialogs->texts(ScriptedDialogs::Kind::Error);
        QVERIFY(editor->isVisible());
        QCOMPARE(name->currentText(), QStringLiteral("Nina"));
        QCOMPARE(editor->findChild<QCheckBox*>("ChkFullScreen")->isChecked(), fullScreen);
        if (blocked == "too large") {
            QVERIFY(QFile::resize(path, before.size()));
        } else if (blocked == "folder") {
            QVERIFY(QDir().rmdir(path));
            writeAll(path, before);
        } else {
            ::close(lock);
            lock = -1;
        }
        QTest::mouseClick(editor->findChild<QPushButton*>("BnApply"), Qt::LeftButton);
    });
    answer.start();
    QTest::mouseClick(m_logon->BnAdd, Qt::LeftButton);
    QCOMPARE(whileOpen.size(), 1);
    QVERIFY2(whileOpen.front().startsWith("Unable to write to " + QDir::toNativeSeparators(path)), qPrintable(whileOpen.front()));
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Error), whileOpen);
    // The second try is saved as a first one would have been.
    QCOMPARE(dialogs->texts(ScriptedDialogs::Kind::Information), QStringList{"Nina is added to the list."});
    TIniFile zqc(path);
    QCOMPARE(zqc.ReadSections(), (QStringList{"Default", "Zoe", "Nina"}));
    QCOMPARE(zqc.ReadString("Nina", "FullScreen", ""), fullScreen ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(m_logon->ComboUser->count(), 3);
}

int main(int argc, char** argv) {
    QuorvelApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestLogon test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logon.moc"
