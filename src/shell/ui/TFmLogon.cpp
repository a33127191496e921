#include "shell/ui/TFmLogon.h"

#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Translation.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ProfileStorage.h"
#include "shell/ui/ProfileFm.h"
#include "shell/ui/TZQStarterLocal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFmLogon* FmLogon = nullptr;

namespace {

// The logon window's messages are shown exactly as written, never translated.
void tell(const char* text) {
    dialogs().information(QString::fromLatin1(text));
}

} // namespace

TFmLogon::TFmLogon(QWidget* parent) : TAboutBox(parent, DeferCreate::Yes) {
    setObjectName(QStringLiteral("FmLogon"));
    // No title bar: the window carries its own frame.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Quorvel"));
    setFixedSize(322, 259);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 220, 192)); // money green
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(describedFont(QStringLiteral("MS Sans Serif"), 11));

    // Inherited components, placed the way this window describes them.
    Panel1->setGeometry(1, 1, 320, 257);
    Panel1->setContentsMargins(4, 4, 4, 4);
    Bevel1->setGeometry(6, 6, 310, 181);
    ProductNameLb->setFont(describedFont(QStringLiteral("Arial"), 24, true));
    VersionLb->setText(QString::fromLatin1(I18N_NOOP("Version 7.0")));
    CopyrightLb->setFont(describedFont(QStringLiteral("Arial"), 15));
    CopyrightLb->setGeometry(16, 72, 251, 19);
    OKButton->setGeometry(57, 225, 75, 25);
    OKButton->setFont(describedFont(QStringLiteral("Times New Roman"), 15));

    Label1 = new QLabel(QString::fromLatin1(I18N_NOOP("Profile:")), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 199, 37, 15);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setFont(describedFont(QStringLiteral("Times New Roman"), 13));

    ComboUser = new QComboBox(Panel1);
    ComboUser->setObjectName(QStringLiteral("ComboUser"));
    ComboUser->setGeometry(60, 191, 221, 29);
    ComboUser->setEditable(true);
    ComboUser->setInsertPolicy(QComboBox::NoInsert);
    ComboUser->setFont(describedFont(QStringLiteral("Times New Roman"), 19));
    // Completion offers listed names but never changes the letter case of what is typed: the
    // name logs on in the form typed.
    ComboUser->completer()->setCaseSensitivity(Qt::CaseSensitive);
    // Keys reach the box or, when sent to it directly, its line edit.
    ComboUser->installEventFilter(this);
    ComboUser->lineEdit()->installEventFilter(this);
    ComboUser->setToolTip(
        QString::fromLatin1(I18N_NOOP("Input an existing user name or\n"
                                      "select from the drop-down list by clicking the down-arrow button.")));

    BnAdd = new QPushButton(QString::fromLatin1(I18N_NOOP("Add")), Panel1);
    BnAdd->setObjectName(QStringLiteral("BnAdd"));
    BnAdd->setGeometry(136, 225, 75, 25);
    BnAdd->setToolTip(QString::fromLatin1(I18N_NOOP("Add user using existing user profile")));
    BnAdd->setFont(describedFont(QStringLiteral("Times New Roman"), 15));
    BnAdd->setAutoDefault(false);

    BnCancel = new QPushButton(QString::fromLatin1(I18N_NOOP("&Exit")), Panel1);
    BnCancel->setObjectName(QStringLiteral("BnCancel"));
    BnCancel->setGeometry(216, 225, 75, 25);
    BnCancel->setFont(describedFont(QStringLiteral("Times New Roman"), 15));
    BnCancel->setAutoDefault(false);

    setTabOrder(OKButton, BnAdd);
    setTabOrder(BnAdd, BnCancel);
    setTabOrder(BnCancel, ComboUser);
    ComboUser->setFocus();

    // The inherited OK button logs on here instead of closing the box.
    disconnect(OKButton, nullptr, this, nullptr);
    connect(OKButton, &QPushButton::clicked, this, &TFmLogon::OKButtonClick);
    connect(BnAdd, &QPushButton::clicked, this, &TFmLogon::BnAddClick);
    connect(BnCancel, &QPushButton::clicked, this, &TFmLogon::BnCancelClick);

    FormCreate();
}

void TFmLogon::FormCreate() {
    TAboutBox::FormCreate();
    for (QLabel* label : {Label1})
        label->setText(i18n(label->text()));
    for (QPushButton* button : {BnAdd, BnCancel})
        button->setText(i18n(button->text()));
    for (QWidget* w : std::initializer_list<QWidget*>{ComboUser, BnAdd})
        w->setToolTip(i18n(w->toolTip()));
}

void TFmLogon::setStarter(TZQStarterLocal* starter) {
    Starter = starter;
    Starter->setParent(this);
}

QString TFmLogon::GetUserText() const {
    return ComboUser->currentText();
}

void TFmLogon::SetUserList(const QStringList& list) {
    ComboUser->clear();
    ComboUser->addItems(list);
}

void TFmLogon::SelectUser(const QString& name) {
    ComboUser->setCurrentIndex(ComboUser->findText(name, Qt::MatchFixedString));
    if (ComboUser->currentIndex() < 0) ComboUser->setEditText(QString());
}

bool TFmLogon::isListed(const QString& name) const {
    // The whole text, letter case ignored, blanks not trimmed.
    return ComboUser->findText(name, Qt::MatchFixedString) >= 0;
}

void TFmLogon::RefreshUserList() {
    // Through the starter, the list and the profile loaded at logon come from one reading.
    SetUserList(Starter ? Starter->userNames() : ProfileStorage::userNames(Settings->AppDir + QStringLiteral("zqc.ini")));
    SelectUser(Settings->UserName);
}

void TFmLogon::showEvent(QShowEvent* event) {
    TAboutBox::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFmLogon::FormShow() {
    RefreshUserList();
    if (!m_problemsTold) tellReadProblems();
}

void TFmLogon::tellReadProblems() {
    m_problemsTold = true;
    // This window's messages are English; the reader's words come through the translation.
    QString settingsProblem, usersProblem;
    {
        const EnglishMessages english;
        if (Settings) settingsProblem = Settings->readProblem();
        if (Starter) usersProblem = Starter->userListProblem();
    }
    // Settings that cannot be read stand at their defaults, and every Exit fails to save them.
    if (!settingsProblem.isEmpty())
        dialogs().warning(settingsProblem +
                          QStringLiteral(" The settings stored in it are not used, and nothing is saved into it."));
    // An empty list must not look like a new installation when the users are there but cannot
    // be read; the file is then never written over.
    if (!usersProblem.isEmpty())
        dialogs().warning(usersProblem + QStringLiteral(" The users stored in it cannot be listed, and nothing is saved into it."));
}

void TFmLogon::OKButtonClick() {
    const QString text = ComboUser->currentText();
    if (text.isEmpty()) {
        tell("Please select a user name from the user list.");
        return;
    }
    if (!isListed(text)) {
        tell("The user name is not in the list. Please either select from the list or add a new user name.");
        return;
    }
    Starter->Profile()->UserName = GetUserText();
    Settings->UserName = GetUserText();
    Starter->OpenMainForm(Starter->Profile());
}

void TFmLogon::BnAddClick() {
    const QString text = ComboUser->currentText();
    if (text.isEmpty() || !isListed(text)) {
        tell(
            "To use an existing profile as basic template to define a new profile, Please select a user name "
            "from the user combobox.");
        return;
    }
    TProfile* templateProfile = Starter->Profile();
    templateProfile->UserName = GetUserText();
    templateProfile->Load();
    TProfile* added = Starter->NewProfile();
    added->AssignTemplate(*templateProfile);
    // The new user is saved while the editor is still open: a save that fails is told there, and
    // the editor stays open with what was typed, so that it can be tried again.
    bool saved = false;
    const auto save = [&] {
        if (isListed(added->UserName)) return true; // refused once the editor has closed
        try {
            added->Save();
        } catch (const QuorvelError& e) {
            dialogs().error(e.message());
            return false;
        }
        saved = true;
        return true;
    };
    if (Starter->EditNewProfile(added, save) != TProfileFm::mrOk) return;
    if (!saved) {
        tell("The user name is already in the list.");
        return;
    }
    dialogs().information(added->UserName + QStringLiteral(" is added to the list."));
    RefreshUserList();
}

void TFmLogon::BnCancelClick() {
    close();
}

bool TFmLogon::eventFilter(QObject* watched, QEvent* event) {
    if (ComboUser && (watched == ComboUser || watched == ComboUser->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                OKButton->click();
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                BnCancel->click();
                return true;
            }
        }
    }
    return TAboutBox::eventFilter(watched, event);
}

void TFmLogon::reject() {
    BnCancelClick();
}

void TFmLogon::closeEvent(QCloseEvent* event) {
    // Not the dialog's own handling, which would reject and come back here.
    event->accept();
    // The application's main window: its closing ends the run, whether it is shown or hidden.
    QApplication::quit();
}
