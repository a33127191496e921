#include "platform/Errors.h"
#include "platform/FakeKeyboardLayoutProvider.h"
#include "platform/IniFile.h"
#include "platform/ScriptedDialogs.h"
#include "settings/KeyboardLayoutAgent.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ui/ProfileFm.h"
#include "shell/ui/widgets/ColorComboBox.h"
#include "shell/ui/widgets/FontExampleEdit.h"
#include "shell/ui/widgets/FontValueDialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

using Kind = ScriptedDialogs::Kind;

// Runs `steps` inside the modal loop that `open` starts; closes the window afterwards if the
// steps left it open. Returns the modal result.
int runModal(TProfileFm& fm, const std::function<int()>& open, const std::function<void()>& steps) {
    QTimer::singleShot(0, &fm, [&fm, steps] {
        steps();
        if (fm.isVisible()) QTest::mouseClick(fm.findChild<QPushButton*>("CancelBn"), Qt::LeftButton);
    });
    return open();
}

// Calls `steps` as soon as a modal window other than `outer` is up (a dialog opened by a click).
void whenModalOpens(QWidget* outer, const std::function<void(QWidget*)>& steps) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, outer, steps] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == outer) return;
        timer->stop();
        timer->deleteLater();
        steps(modal);
    });
    timer->start();
}

void click(TProfileFm& fm, const char* button) {
    auto* b = fm.findChild<QPushButton*>(button);
    QVERIFY2(b, button);
    QTest::mouseClick(b, Qt::LeftButton);
}

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

TFontValue font(const char* name, int size, int32_t color, bool bold, bool strikeOut) {
    TFontValue f;
    f.Name = QString::fromLatin1(name);
    f.Size = size;
    f.Color = color;
    f.Bold = bold;
    f.StrikeOut = strikeOut;
    f.Charset = 238;
    return f;
}

} // namespace

class TestProfileFm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void practiceTime_data();
    void practiceTime();
    void showsProfileAndAppliesItBack();
    void closeStoresNothing_data();
    void closeStoresNothing();
    void saveUnderSameName_data();
    void saveUnderSameName();
    void saveAsNewUserResetsStatistics();
    void saveAsNewUserFailureIsReported();
    void saveFailureKeepsFormInProfile();
    void erase_data();
    void erase();
    void addModeNeedsName_data();
    void addModeNeedsName();
    void layoutNotInstalled();
    void activateLayoutButton_data();
    void activateLayoutButton();
    void fontButtons_data();
    void fontButtons();
    void gameColourCustomAndExampleBackground();
    void pickingUserEntry();
    void largeExampleFontsKeepTheLayout();
    void typedNameIsNotReplacedByAListedOne_data();
    void typedNameIsNotReplacedByAListedOne();
    void saveNeverOverwritesAnotherUser_data();
    void saveNeverOverwritesAnotherUser();
    void saveWithoutName_data();
    void saveWithoutName();
    void saveAsNewUserStoresTheTrimmedName();
    void ownNameInOtherNonAsciiCaseKeepsProgress();
    void longNamesKeepTheEditorSize_data();
    void longNamesKeepTheEditorSize();
    void longTypedNameScrolls();

private:
    TProfile* makeProfile(const QString& name);
    std::unique_ptr<TKeyboardLayoutAgent> makeAgent();
    QString ini() const { return m_dir->filePath("zqc.ini"); }
    QString stored(const QString& section, const QString& key) {
        return TIniFile(ini()).ReadString(section, key, "<none>");
    }
    QByteArray fileBytes() const {
        QFile file(ini());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void appendToFile(const QByteArray& bytes) {
        QFile file(ini());
        QVERIFY(file.open(QIODevice::Append));
        file.write(bytes);
    }
    // Types `name` into UserEd and presses Save, with the full-screen option changed first.
    void typeNameAndSave(TProfile* profile, const QString& name);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TSettings> m_settings;
    std::shared_ptr<FakeKeyboardLayoutProvider::State> m_layouts;
    std::vector<std::unique_ptr<TProfile>> m_profiles;
    std::function<void()> m_failSave; // throws when set
};

void TestProfileFm::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<TSettings>(nullptr, m_dir->path());
    Settings = m_settings.get();
    QFile file(ini());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Default]\r\nCourse=English\r\nTimeTotal=5\r\n[Anna]\r\nCourse=German\r\nExtra=kept\r\n");
    file.close();
    m_layouts = std::make_shared<FakeKeyboardLayoutProvider::State>();
    m_layouts->installed = {
        {0x00000409, "US", 0}, {0x00000407, "German", 0}, {0x00010409, "United States-Dvorak", 2}};
    m_layouts->loaded = {0x04090409};
    m_layouts->active = 0x04090409;
    m_layouts->accepted = {"00000409", "00000407"};
    m_failSave = nullptr;
}

void TestProfileFm::cleanup() {
    m_profiles.clear();
    Settings = nullptr;
    m_settings.reset();
    m_dir.reset();
}

// A profile stored the way the starter stores profiles: key by key into its section.
TProfile* TestProfileFm::makeProfile(const QString& name) {
    auto profile = std::make_unique<TProfile>();
    profile->OnSave = [this](TProfile* sender, const QString& section) {
        if (m_failSave) m_failSave();
        TIniFile file(ini());
        for (const QString& line : sender->ToStrings()) {
            const qsizetype eq = line.indexOf('=');
            file.WriteString(section, line.left(eq), line.mid(eq + 1));
        }
    };
    profile->OnLoad = [this](TProfile* sender, const QString& section) {
        sender->FromStrings(TIniFile(ini()).ReadSectionValues(section));
    };
    profile->UserName = name;
    profile->Load();
    m_profiles.push_back(std::move(profile));
    return m_profiles.back().get();
}

std::unique_ptr<TKeyboardLayoutAgent> TestProfileFm::makeAgent() {
    auto agent =
        std::make_unique<TKeyboardLayoutAgent>(std::make_unique<FakeKeyboardLayoutProvider>(m_layouts));
    agent->Refresh();
    return agent;
}

void TestProfileFm::practiceTime_data() {
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("more than a day") << 90061000 << "25 h 1 m 1 s";
    QTest::newRow("zero") << 0 << "0 h 0 m 0 s";
    QTest::newRow("milliseconds dropped") << 59999 << "0 h 0 m 59 s";
    QTest::newRow("one hour") << 3600000 << "1 h 0 m 0 s";
    QTest::newRow("largest") << 2147483647 << "596 h 31 m 23 s";
}

void TestProfileFm::practiceTime() {
    QFETCH(int, milliseconds);
    QFETCH(QString, text);
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Default");
    profile->TimeTotal = milliseconds;
    TProfileFm fm;
    QString shown;
    runModal(
        fm, [&] { return fm.Edit(profile); }, [&] { shown = fm.findChild<QLabel*>("TimeLb")->text(); });
    QCOMPARE(shown, text);
}

void TestProfileFm::showsProfileAndAppliesItBack() {
    ScriptedDialogsGuard d;
    const auto agent = makeAgent();
    TProfile* profile = makeProfile("Anna");
    profile->FullScreen = true;
    profile->BgColor = WinColor::clBtnFace;
    profile->GameBgColor = 0x123456; // not a named colour
    profile->FunSpeed = true;
    profile->Course = "German";
    profile->Progress = 120;
    profile->TimeTotal = 3723000;
    profile->PracticeFont = font("Courier New", 14, 0x0000FF, true, true);
    profile->TextFont = font("Arial", 9, WinColor::clWindowText, false, false);
    profile->GameFont = font("Times", 20, 0x00FF00, true, false);
    profile->HighLight = true;
    profile->PopupAtEnd = true;
    profile->DrillSoundEnabled = true;
    profile->HelpFile = "mine.chm";
    profile->GameEnabled = true;
    profile->GScore3 = 77;
    profile->KeyboardLayout = "00000407";
    const TProfile before;
    const QStringList record = profile->ToStrings();

    TProfileFm fm;
    fm.SetKeyboardAgent(agent.get());
    fm.SetCourseList({"English", "German"});
    QString progress, time, original, memo, gameColorText;
    int keyboardIndex = -2;
    const int result = runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            progress = fm.findChild<QLabel*>("ProgressLb")->text();
            time = fm.findChild<QLabel*>("TimeLb")->text();
            original = fm.findChild<QLabel*>("OriginalKeyboardNameLb")->text();
            memo = fm.findChild<QPlainTextEdit*>("InfoMemo")->toPlainText();
            keyboardIndex = fm.findChild<QComboBox*>("KeyboardsCombo")->currentIndex();
            gameColorText = fm.findChild<QComboBox*>("ColorEd")->currentText();
            click(fm, "BnApply");
        });
    QCOMPARE(result, TProfileFm::mrOk);
    QCOMPARE(progress, QString("120"));
    QCOMPARE(time, QString("1 h 2 m 3 s"));
    QCOMPARE(original, QString("US"));
    QCOMPARE(memo, agent->InfoLines.join('\n'));
    QCOMPARE(keyboardIndex, 1);
    QCOMPARE(gameColorText, QString("$00123456"));
    QCOMPARE(m_layouts->activations, QList<QByteArray>{"00000407"});
    // Everything the form shows comes back unchanged; the rest is untouched.
    QCOMPARE(profile->ToStrings(), record);
    QCOMPARE(profile->PracticeFont.Charset, uint8_t(238));
    QCOMPARE(profile->UserName, QString("Anna"));
    QCOMPARE(d->shown().size(), size_t(0));
    // Apply writes nothing.
    QCOMPARE(stored("Anna", "FullScreen"), QString("<none>"));
    Q_UNUSED(before);
}

void TestProfileFm::closeStoresNothing_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("close button") << false;
    QTest::newRow("escape key") << true;
}

void TestProfileFm::closeStoresNothing() {
    QFETCH(bool, escape);
    ScriptedDialogsGuard d;
    const auto agent = makeAgent();
    TProfile* profile = makeProfile("Default");
    const QStringList record = profile->ToStrings();
    TProfileFm fm;
    fm.SetKeyboardAgent(agent.get());
    const int result = runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            auto* box = fm.findChild<QCheckBox*>("ChkFullScreen");
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
            QVERIFY(box->isChecked());
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                click(fm, "CancelBn");
        });
    QCOMPARE(result, TProfileFm::mrCancel);
    QCOMPARE(profile->ToStrings(), record);
}

void TestProfileFm::saveUnderSameName_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("asks");
    QTest::newRow("same") << "Anna"
                          << "Anna" << false;
    QTest::newRow("ascii case") << "Anna"
                                << "aNNA" << false;
    QTest::newRow("non-ascii case") << QString::fromUtf8("Änna") << QString::fromUtf8("änna") << true;
    // The store keeps section names trimmed: blanks around the name name the same user.
    QTest::newRow("blanks around") << "Anna"
                                   << " Anna " << false;
}

void TestProfileFm::saveUnderSameName() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, asks);
    ScriptedDialogsGuard d;
    d->answerNo();
    TProfile* profile = makeProfile(stored);
    TProfileFm fm;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            retype(fm.findChild<QComboBox*>("UserEd")->lineEdit(), typed);
            QTest::keyClick(fm.findChild<QCheckBox*>("ChkFullScreen"), Qt::Key_Space);
            click(fm, "OkBn");
            QVERIFY(fm.isVisible()); // Save keeps the editor open
        });
    QCOMPARE(d->texts(Kind::Confirm).size(), asks ? 1 : 0);
    // Saved in place: the section keeps its name and its other keys.
    QCOMPARE(this->stored(stored, "FullScreen"), asks ? QString("<none>") : QString("1"));
    QCOMPARE(profile->FullScreen, !asks);
    QCOMPARE(TIniFile(ini()).ReadSections().size(), stored == "Anna" ? 2 : (asks ? 2 : 3));
    if (stored == "Anna") QCOMPARE(this->stored("Anna", "Extra"), QString("kept"));
}

void TestProfileFm::saveAsNewUserResetsStatistics() {
    ScriptedDialogsGuard d;
    d->answerYes();
    const auto agent = makeAgent();
    TProfile* profile = makeProfile("Anna");
    profile->Progress = 120;
    profile->TimeTotal = 3600000;
    profile->HelpFile = "mine.chm";
    profile->GameEnabled = true;
    profile->GScore1 = 5;
    profile->GScore5 = 9;
    profile->KeyboardLayout = "00000407";
    TProfileFm fm;
    fm.SetKeyboardAgent(agent.get());
    const int result = runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            retype(fm.findChild<QComboBox*>("UserEd")->lineEdit(), "Bob");
            click(fm, "OkBn");
            QVERIFY(fm.isVisible());
            click(fm, "BnApply");
        });
    QCOMPARE(result, TProfileFm::mrOk);
    QCOMPARE(d->texts(Kind::Confirm), QStringList{"Are you going to add a new user?"});
    QCOMPARE(d->texts(Kind::Information),
             QStringList{"Please restart the program to load the profile of new user."});
    const QStringList keys = {"Progress", "TimeTotal", "GameEnabled", "GScore1", "GScore5"};
    for (const QString& key : keys)
        QCOMPARE(stored("Bob", key), QString("0"));
    QCOMPARE(stored("Bob", "HelpFile"), QString(""));
    QCOMPARE(stored("Bob", "KeyboardLayout"), QString("00000407"));
    QCOMPARE(stored("Bob", "Course"), QString("German"));
    // The edited profile keeps its name and statistics, also after Apply.
    QCOMPARE(profile->UserName, QString("Anna"));
    QCOMPARE(profile->Progress, 120);
    QCOMPARE(profile->GScore5, 9);
}

void TestProfileFm::saveAsNewUserFailureIsReported() {
    ScriptedDialogsGuard d;
    d->answerYes();
    TProfile* profile = makeProfile("Anna");
    m_failSave = [] { throw EIniFileError("Unable to write to zqc.ini"); };
    TProfileFm fm;
    bool highlight = false;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            retype(fm.findChild<QComboBox*>("UserEd")->lineEdit(), "Bob");
            QTest::keyClick(fm.findChild<QCheckBox*>("HighlightEd"), Qt::Key_Space);
            highlight = fm.findChild<QCheckBox*>("HighlightEd")->isChecked();
            click(fm, "OkBn");
            QCOMPARE(d->texts(Kind::MessageBox), QStringList{"Save Profile fail."});
            QVERIFY(d->texts(Kind::Information).isEmpty());
            QVERIFY(!TIniFile(ini()).SectionExists("Bob"));
            // The editor stays open with what was typed, and a second try saves it.
            QVERIFY(fm.isVisible());
            QCOMPARE(fm.findChild<QComboBox*>("UserEd")->currentText(), QStringLiteral("Bob"));
            m_failSave = nullptr;
            d->answerYes();
            click(fm, "OkBn");
        });
    QCOMPARE(d->texts(Kind::Information), QStringList{"Please restart the program to load the profile of new user."});
    QCOMPARE(stored("Bob", "HighLight"), highlight ? QString("1") : QString("0"));
}

void TestProfileFm::saveFailureKeepsFormInProfile() {
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Anna");
    m_failSave = [] { throw EIniFileError("Unable to write to zqc.ini"); };
    TProfileFm fm;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            QTest::keyClick(fm.findChild<QCheckBox*>("HighlightEd"), Qt::Key_Space);
            click(fm, "OkBn");
        });
    QCOMPARE(d->texts(Kind::Error), QStringList{"Unable to write to zqc.ini"});
    QVERIFY(profile->HighLight);
}

void TestProfileFm::erase_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("onlyOne");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("sectionsAfter");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("no") << false << false << "Anna" << QStringList{"Default", "Anna"} << "Anna";
    QTest::newRow("yes") << true << false << "Anna" << QStringList{"Default"} << "Default";
    QTest::newRow("other case") << true << false << "ANNA" << QStringList{"Default"} << "Default";
    QTest::newRow("last one") << true << true << "Default" << QStringList{"Default"} << "Default";
}

void TestProfileFm::erase() {
    QFETCH(bool, confirm);
    QFETCH(bool, onlyOne);
    QFETCH(QString, typed);
    QFETCH(QStringList, sectionsAfter);
    QFETCH(QString, textAfter);
    if (onlyOne) TIniFile(ini()).EraseSection("Anna");
    ScriptedDialogsGuard d;
    confirm ? d->answerYes() : d->answerNo();
    TProfile* profile = makeProfile("Anna");
    TProfileFm fm;
    QString text;
    QStringList list;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            auto* user = fm.findChild<QComboBox*>("UserEd");
            retype(user->lineEdit(), typed);
            click(fm, "EraseBn");
            text = user->currentText();
            for (int i = 0; i < user->count(); ++i)
                list << user->itemText(i);
        });
    QCOMPARE(d->texts(Kind::Confirm).size(), 1);
    QCOMPARE(d->texts(Kind::Error),
             onlyOne ? QStringList{"There should be at least one profile. Abort."} : QStringList{});
    QCOMPARE(TIniFile(ini()).ReadSections(), sectionsAfter);
    QCOMPARE(list, sectionsAfter);
    QCOMPARE(text, confirm ? textAfter : typed);
    QCOMPARE(profile->UserName, QString("Anna"));
}

void TestProfileFm::addModeNeedsName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name"); // empty: refused
    QTest::newRow("plain") << "Bob"
                           << "Bob";
    QTest::newRow("blanks around") << "  Bob  "
                                   << "Bob";
    QTest::newRow("blanks only") << "   "
                                 << "";
    QTest::newRow("no-break spaces around") << QString::fromUtf8("\u00a0Bob\u00a0") << "Bob";
    QTest::newRow("no-break spaces only") << QString::fromUtf8("\u00a0\u2003") << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestProfileFm::addModeNeedsName() {
    QFETCH(QString, typed);
    QFETCH(QString, name);
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Template");
    TProfileFm fm;
    bool saveShown = true, eraseShown = true, stillOpen = false;
    const int result = runModal(
        fm, [&] { return fm.EditNew(profile); },
        [&] {
            saveShown = fm.findChild<QPushButton*>("OkBn")->isVisible();
            eraseShown = fm.findChild<QPushButton*>("EraseBn")->isVisible();
            retype(fm.findChild<QComboBox*>("UserEd")->lineEdit(), typed);
            QTest::keyClick(fm.findChild<QCheckBox*>("BlinkingEd"), Qt::Key_Space);
            click(fm, "BnApply");
            stillOpen = fm.isVisible();
        });
    QVERIFY(!saveShown);
    QVERIFY(!eraseShown);
    QVERIFY(profile->Blinking); // the form reaches the profile before the name is checked
    if (name.isEmpty()) {
        QVERIFY(stillOpen);
        QCOMPARE(result, TProfileFm::mrCancel);
        QCOMPARE(d->texts(Kind::MessageBox), QStringList{"Please define a user name."});
        QCOMPARE(profile->UserName, QString("Template"));
    } else {
        QCOMPARE(result, TProfileFm::mrOk);
        QCOMPARE(profile->UserName, name);
    }
}

void TestProfileFm::layoutNotInstalled() {
    ScriptedDialogsGuard d;
    const auto agent = makeAgent();
    TProfile* profile = makeProfile("Anna");
    profile->KeyboardLayout = "00000419";
    TProfileFm fm;
    fm.SetKeyboardAgent(agent.get());
    int index = -2;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            index = fm.findChild<QComboBox*>("KeyboardsCombo")->currentIndex();
            click(fm, "BnApply");
        });
    QCOMPARE(d->texts(Kind::MessageBox), QStringList{"00000419 layout could not be activated."});
    QCOMPARE(index, -1);
    // Nothing was ever activated, so nothing is stored.
    QCOMPARE(profile->KeyboardLayout, QString());
}

void TestProfileFm::activateLayoutButton_data() {
    QTest::addColumn<int>("steps"); // Down presses on KeyboardsCombo; -1: no selection
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("layoutAfter");
    QTest::newRow("activated, applied") << 1 << true << "Selected layout is activated."
                                        << "00000407";
    QTest::newRow("activated, closed") << 1 << false << "Selected layout is activated."
                                       << "00000409";
    QTest::newRow("refused") << 2 << true << "Selected layout could not be activated."
                             << "00000409";
    QTest::newRow("no selection") << -1 << true << "Selected layout could not be activated."
                                  << "00000409";
}

void TestProfileFm::activateLayoutButton() {
    QFETCH(int, steps);
    QFETCH(bool, apply);
    QFETCH(QString, message);
    QFETCH(QString, layoutAfter);
    ScriptedDialogsGuard d;
    const auto agent = makeAgent();
    TProfile* profile = makeProfile("Anna"); // "00000409" by default
    TProfileFm fm;
    fm.SetKeyboardAgent(agent.get());
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            auto* combo = fm.findChild<QComboBox*>("KeyboardsCombo");
            QCOMPARE(combo->currentIndex(), 0);
            if (steps < 0) combo->setCurrentIndex(-1);
            combo->setFocus();
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(combo, Qt::Key_Down);
            click(fm, "BnApplyKb");
            click(fm, apply ? "BnApply" : "CancelBn");
        });
    QCOMPARE(d->texts(Kind::MessageBox), QStringList{message});
    QCOMPARE(profile->KeyboardLayout, layoutAfter);
    // Opening activated the profile's layout; the button at most one more.
    QCOMPARE(m_layouts->activations.size(), message.contains("is activated") || steps == 2 ? 2 : 1);
    QCOMPARE(m_layouts->active, message.contains("is activated") ? 0x04070407u : 0x04090409u);
}

void TestProfileFm::fontButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("line") << "SetFontBn" << true;
    QTest::newRow("paragraph") << "Button1" << true;
    QTest::newRow("game") << "Button3" << true;
    QTest::newRow("line cancelled") << "SetFontBn" << false;
}

void TestProfileFm::fontButtons() {
    QFETCH(QString, button);
    QFETCH(bool, confirm);
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Anna");
    profile->PracticeFont = profile->TextFont = profile->GameFont = font("Arial", 10, 0, false, false);
    const TFontValue original = profile->PracticeFont;
    TProfileFm fm;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            whenModalOpens(&fm, [confirm](QWidget* dialog) {
                QCOMPARE(dialog->objectName(), QString("FontDialog2"));
                QCOMPARE(dialog->findChild<QComboBox*>("FontName")->currentText(), QString("Arial"));
                auto* size = dialog->findChild<QSpinBox*>("FontSize");
                size->setFocus();
                QTest::keyClick(size, Qt::Key_Up);
                QTest::keyClick(size, Qt::Key_Up);
                QTest::keyClick(dialog->findChild<QCheckBox*>("FontBold"), Qt::Key_Space);
                QTest::keyClick(dialog->findChild<QCheckBox*>("FontStrikeOut"), Qt::Key_Space);
                auto* color = dialog->findChild<QComboBox*>("FontColor");
                color->setFocus();
                QTest::keyClick(color, Qt::Key_Down); // black -> maroon
                auto* box = dialog->findChild<QDialogButtonBox*>();
                QTest::mouseClick(box->button(confirm ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                                  Qt::LeftButton);
            });
            click(fm, button.toLatin1());
            click(fm, "BnApply");
        });
    TFontValue changed = original;
    changed.Size = 12;
    changed.Bold = true;
    changed.StrikeOut = true;
    changed.Color = 0x000080;
    const TFontValue expected = confirm ? changed : original;
    QCOMPARE(profile->PracticeFont == (button == "SetFontBn" ? expected : original), true);
    QCOMPARE(profile->TextFont == (button == "Button1" ? expected : original), true);
    QCOMPARE(profile->GameFont == (button == "Button3" ? expected : original), true);
}

void TestProfileFm::gameColourCustomAndExampleBackground() {
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Anna");
    profile->GameBgColor = 0x000000;
    TProfileFm fm;
    QColor exampleBase;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            auto* colors = fm.findChild<ColorComboBox*>("ColorEd");
            QCOMPARE(colors->currentText(), QString("Black"));
            // Cancelling the colour dialog goes back to the colour before.
            whenModalOpens(&fm, [](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
            colors->setFocus();
            QTest::keyClick(colors, Qt::Key_Home); // "Custom..."
            QCOMPARE(colors->currentText(), QString("Black"));
            whenModalOpens(&fm, [](QWidget* dialog) {
                auto* colorDialog = qobject_cast<QColorDialog*>(dialog);
                QVERIFY(colorDialog);
                colorDialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
                colorDialog->accept();
            });
            QTest::keyClick(colors, Qt::Key_Home);
            QCOMPARE(colors->currentText(), QString("$00563412"));
            exampleBase = fm.findChild<FontExampleEdit*>("Example3Ed")->palette().color(QPalette::Base);
            click(fm, "BnApply");
        });
    QCOMPARE(profile->GameBgColor, 0x563412);
    // The game example keeps the background it got on opening.
    QCOMPARE(exampleBase, QColor(Qt::black));
}

void TestProfileFm::pickingUserEntry() {
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Anna");
    TProfileFm fm;
    QStringList items;
    QString text;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            auto* user = fm.findChild<QComboBox*>("UserEd");
            for (int i = 0; i < user->count(); ++i)
                items << user->itemText(i);
            QCOMPARE(user->currentText(), QString("Anna"));
            user->setFocus();
            QTest::keyClick(user, Qt::Key_Up);
            text = user->currentText();
        });
    QCOMPARE(items, (QStringList{"Default", "Anna"}));
    QCOMPARE(text, QString("Default"));
}

// Fonts far larger than the example edits must not widen the window or the columns of the
// "Layout" tab, and each example shows the start of its word.
void TestProfileFm::largeExampleFontsKeepTheLayout() {
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Anna");
    profile->PracticeFont = font("DejaVu Sans Mono", 36, 0, false, false);
    profile->GameFont = font("DejaVu Sans Mono", 48, 0, true, false);
    TProfileFm fm;
    int windowWidth = 0;
    QList<int> columns;
    QList<int> cursors;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            windowWidth = fm.width();
            for (const char* name : {"SetFontBn", "Button1", "Button3"})
                columns << fm.findChild<QPushButton*>(name)->width();
            for (const char* name : {"ExampleEd", "Example2Ed", "Example3Ed"}) {
                auto* example = fm.findChild<FontExampleEdit*>(name);
                columns << example->width();
                cursors << example->cursorPosition();
            }
        });
    QVERIFY2(windowWidth <= 420, QByteArray::number(windowWidth).constData());
    // Buttons first, then the example edits; the first column may be wider for its labels.
    QCOMPARE(columns.mid(3), columns.mid(0, 3));
    QCOMPARE(columns[1], columns[2]);
    QVERIFY(columns[0] >= columns[1]);
    QCOMPARE(cursors, (QList<int>{0, 0, 0}));
}

void TestProfileFm::typedNameIsNotReplacedByAListedOne_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("otherName");
    QTest::newRow("ascii case") << "Anna"
                                << "ANNA" << false;
    QTest::newRow("non-ascii case") << QString::fromUtf8("Änna") << QString::fromUtf8("änna") << true;
}

// The stored user is in UserEd's list; typing its name in another letter case and pressing
// Save (which takes the focus) must compare the text as typed.
void TestProfileFm::typedNameIsNotReplacedByAListedOne() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, otherName);
    ScriptedDialogsGuard d;
    d->answerNo();
    TProfile* profile = makeProfile(stored);
    profile->Save();
    TProfileFm fm;
    QString textAfterSave;
    QStringList listed;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            // Focus moves, and with it the box's own completion, only in the active window.
            fm.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&fm));
            auto* user = fm.findChild<QComboBox*>("UserEd");
            for (int i = 0; i < user->count(); ++i)
                listed << user->itemText(i);
            retype(user->lineEdit(), typed);
            click(fm, "OkBn");
            textAfterSave = user->currentText();
        });
    QVERIFY(listed.contains(stored));
    QCOMPARE(textAfterSave, typed);
    // Another name is one the store already holds (refused) or a new user's (asked for).
    const bool held = TIniFile(ini()).SectionExists(typed);
    QCOMPARE(d->texts(Kind::Confirm).size(), otherName && !held ? 1 : 0);
    QCOMPARE(d->texts(Kind::MessageBox).size(), otherName && held ? 1 : 0);
}

void TestProfileFm::typeNameAndSave(TProfile* profile, const QString& name) {
    TProfileFm fm;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            QTest::keyClick(fm.findChild<QCheckBox*>("ChkFullScreen"), Qt::Key_Space);
            retype(fm.findChild<QComboBox*>("UserEd")->lineEdit(), name);
            click(fm, "OkBn");
            QVERIFY(fm.isVisible());
        });
}

void TestProfileFm::saveNeverOverwritesAnotherUser_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownName");
    QTest::newRow("as stored") << "bob"
                               << "bob";
    QTest::newRow("other letter case") << "BoB"
                                       << "BoB";
    QTest::newRow("trailing blank") << "bob "
                                    << "bob";
    QTest::newRow("blanks around") << "  bob  "
                                   << "bob";
    // Pasted names bring Unicode spaces, which are blanks too.
    QTest::newRow("trailing no-break space") << QString::fromUtf8("bob\u00a0") << "bob";
    QTest::newRow("leading no-break space") << QString::fromUtf8("\u00a0bob") << "bob";
    QTest::newRow("ideographic space") << QString::fromUtf8("bob\u3000") << "bob";
    QTest::newRow("first user") << "default"
                                << "default";
}

// Save under the name of another stored user must not write the form over that user's
// profile (progress, practice time and game scores would be lost): it tells the user and
// leaves the file as it was.
void TestProfileFm::saveNeverOverwritesAnotherUser() {
    QFETCH(QString, typed);
    QFETCH(QString, shownName);
    appendToFile("[bob]\r\nProgress=57\r\nTimeTotal=3600000\r\nGScore2=12\r\n");
    ScriptedDialogsGuard d;
    d->answerYes();
    TProfile* profile = makeProfile("Anna");
    const QByteArray before = fileBytes();
    typeNameAndSave(profile, typed);
    QCOMPARE(d->texts(Kind::MessageBox),
             QStringList{QString("A user named \"%1\" already exists. Nothing was saved.").arg(shownName)});
    QVERIFY(d->texts(Kind::Confirm).isEmpty());
    QVERIFY(d->texts(Kind::Information).isEmpty());
    QCOMPARE(fileBytes(), before);
    QVERIFY(!profile->FullScreen); // nor was the form taken into the edited profile
}

void TestProfileFm::saveWithoutName_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
}

void TestProfileFm::saveWithoutName() {
    QFETCH(QString, typed);
    ScriptedDialogsGuard d;
    d->answerYes();
    TProfile* profile = makeProfile("Anna");
    const QByteArray before = fileBytes();
    typeNameAndSave(profile, typed);
    QCOMPARE(d->texts(Kind::MessageBox), QStringList{"Please define a user name."});
    QVERIFY(d->texts(Kind::Confirm).isEmpty());
    QCOMPARE(fileBytes(), before);
    QVERIFY(!profile->FullScreen);
}

void TestProfileFm::saveAsNewUserStoresTheTrimmedName() {
    ScriptedDialogsGuard d;
    d->answerYes();
    TProfile* profile = makeProfile("Anna");
    typeNameAndSave(profile, "  Bob\t");
    QCOMPARE(d->texts(Kind::Confirm), QStringList{"Are you going to add a new user?"});
    QCOMPARE(TIniFile(ini()).ReadSections(), (QStringList{"Default", "Anna", "Bob"}));
    QVERIFY(fileBytes().contains("\r\n[Bob]\r\n"));
    QCOMPARE(stored("Bob", "FullScreen"), QString("1"));
}

// The logged-on user's name typed with another case of a non-ASCII letter is not the same-name
// Save; whatever the store makes of that name, the user's own progress stays.
void TestProfileFm::ownNameInOtherNonAsciiCaseKeepsProgress() {
    const QString own = QString::fromUtf8("Änna");
    ScriptedDialogsGuard d;
    d->answerYes();
    TProfile* profile = makeProfile(own);
    profile->Progress = 33;
    profile->TimeTotal = 7000;
    profile->Save();
    const QStringList record = TIniFile(ini()).ReadSectionValues(own);
    typeNameAndSave(profile, QString::fromUtf8("äNNA"));
    QCOMPARE(TIniFile(ini()).ReadSectionValues(own), record);
    QCOMPARE(stored(own, "Progress"), QString("33"));
}

void TestProfileFm::longNamesKeepTheEditorSize_data() {
    QTest::addColumn<bool>("ownName"); // the long name is the edited user's, else another's
    QTest::addColumn<bool>("course");  // a long course name as well
    QTest::newRow("another user") << false << false;
    QTest::newRow("the edited user") << true << false;
    QTest::newRow("a course") << false << true;
}

// The editor keeps its size, 395 x 419, whatever names its lists hold; a name wider than its
// box is elided in the drop-down list, which stays inside the editor.
void TestProfileFm::longNamesKeepTheEditorSize() {
    QFETCH(bool, ownName);
    QFETCH(bool, course);
    const QString longName = QString("W").repeated(300);
    appendToFile("[" + longName.toLatin1() + "]\r\nCourse=English\r\n");
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile(ownName ? longName : "Anna");
    TProfileFm fm;
    fm.SetCourseList(course ? QStringList{"English", longName} : QStringList{"English"});
    QSize size, needed;
    QStringList holding, elided;
    QList<int> popupWidths;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            size = fm.size();
            needed = fm.layout()->minimumSize();
            for (const char* name : {"UserEd", "CourseEd"}) {
                auto* box = fm.findChild<QComboBox*>(name);
                const int row = box->findText(longName);
                if (row < 0) continue;
                holding << name;
                box->showPopup();
                QAbstractItemView* list = box->view();
                popupWidths << list->window()->width();
                // The entry is drawn in a row narrower than its text, without a way to scroll
                // sideways: the text is elided to the row.
                const QRect entry = list->visualRect(list->model()->index(row, 0));
                if (entry.width() <= list->viewport()->width() &&
                    list->fontMetrics().horizontalAdvance(longName) > entry.width() &&
                    !list->horizontalScrollBar()->isVisible() && list->textElideMode() != Qt::ElideNone)
                    elided << name;
                box->hidePopup();
            }
        });
    QCOMPARE(size, QSize(395, 419));
    // Every control gets at least the room it needs: nothing is squeezed or cut off.
    QVERIFY2(needed.width() <= size.width() && needed.height() <= size.height(),
             qPrintable(QString("needs %1 x %2").arg(needed.width()).arg(needed.height())));
    QCOMPARE(holding, course ? QStringList({"UserEd", "CourseEd"}) : QStringList({"UserEd"}));
    QCOMPARE(elided, holding);
    for (const int width : popupWidths)
        QVERIFY2(width <= size.width(), qPrintable(QString("a drop-down list %1 wide").arg(width)));
}

// A typed name longer than the box scrolls inside it: the window stays as it is and the text
// is kept whole.
void TestProfileFm::longTypedNameScrolls() {
    ScriptedDialogsGuard d;
    TProfile* profile = makeProfile("Anna");
    TProfileFm fm;
    const QString longName = QString("M").repeated(300);
    QSize size;
    QString text;
    int cursor = 0;
    runModal(
        fm, [&] { return fm.Edit(profile); },
        [&] {
            auto* edit = fm.findChild<QComboBox*>("UserEd")->lineEdit();
            retype(edit, longName);
            size = fm.size();
            text = edit->text();
            cursor = edit->cursorPosition();
        });
    QCOMPARE(size, QSize(395, 419));
    QCOMPARE(text, longName);
    QCOMPARE(cursor, 300);
}

QTEST_MAIN(TestProfileFm)
#include "tst_profilefm.moc"
