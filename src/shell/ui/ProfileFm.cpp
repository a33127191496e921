#include "shell/ui/ProfileFm.h"

#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/Translation.h"
#include "settings/KeyboardLayoutAgent.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "shell/ui/widgets/ColorComboBox.h"
#include "shell/ui/widgets/ElidingItemDelegate.h"
#include "shell/ui/widgets/FontExampleEdit.h"
#include "shell/ui/widgets/FontValueDialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

namespace {

// What survives a trip through the 8-bit code page in which names are stored.
QString eightBit(const QString& text) {
    return CodePage::toUnicode(CodePage::fromUnicode(text));
}

// A blank or control character around a typed name. Pasted names bring Unicode spaces such as
// the no-break space, which would otherwise make a second user that looks like the first.
bool blankAroundName(QChar c) {
    return c.unicode() <= 0x20 || c.isSpace();
}

// Without leading and trailing blanks and control characters.
QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blankAroundName(text[begin]))
        ++begin;
    while (end > begin && blankAroundName(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Equal as stored names, where only the letters A to Z match in either case.
bool sameUserName(const QString& a, const QString& b) {
    const QByteArray x = CodePage::fromUnicode(a);
    const QByteArray y = CodePage::fromUnicode(b);
    if (x.size() != y.size()) return false;
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (qsizetype i = 0; i < x.size(); ++i)
        if (fold(x[i]) != fold(y[i])) return false;
    return true;
}

void plainMessage(const QString& text) {
    dialogs().messageBox(text, QGuiApplication::applicationDisplayName());
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    widget->setPalette(p);
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TProfileFm::TProfileFm(QWidget* parent) : QDialog(parent) {
    FormCreate();
}

TProfileFm::~TProfileFm() = default;

void TProfileFm::FormCreate() {
    setObjectName(QStringLiteral("ProfileFm"));
    setWindowTitle(i18n("Profile"));
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPixelSize(15);
    setFont(windowFont);
    // A dialog frame: the window keeps the size of its description whatever its lists hold.
    setFixedSize(395, 419);

    // Top area.
    UserEd = named(new QComboBox(this), "UserEd");
    UserEd->setEditable(true);
    UserEd->setInsertPolicy(QComboBox::NoInsert); // the list holds the stored profiles only
    // A typed name stays as typed. With a case-blind completer the box would replace it, on
    // losing focus, by a listed name that differs only in letter case; Save tells such names
    // apart beyond the letters A to Z.
    UserEd->completer()->setCaseSensitivity(Qt::CaseSensitive);
    QPalette userPalette = UserEd->lineEdit()->palette();
    userPalette.setColor(QPalette::Base, WinColor::toQColor(16777152));
    UserEd->lineEdit()->setPalette(userPalette);
    CourseEd = named(new QComboBox(this), "CourseEd");
    CourseEd->setEditable(true);
    CourseEd->setInsertPolicy(QComboBox::NoInsert);
    ProgressLb = named(new QLabel(this), "ProgressLb");
    setTextColor(ProgressLb, Qt::blue);
    TimeLb = named(new QLabel(this), "TimeLb");
    setTextColor(TimeLb, Qt::blue);
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(i18n("User:"), this), 0, 0);
    top->addWidget(UserEd, 0, 1, 1, 3);
    top->addWidget(new QLabel(i18n("Course:"), this), 1, 0);
    top->addWidget(CourseEd, 1, 1, 1, 3);
    // Progress and time share a line, which leaves the tabs the height of their options.
    top->addWidget(new QLabel(i18n("Progress:"), this), 2, 0);
    top->addWidget(ProgressLb, 2, 1);
    top->addWidget(new QLabel(i18n("Practice time:"), this), 2, 2);
    top->addWidget(TimeLb, 2, 3);
    top->setColumnStretch(1, 1);
    top->setColumnStretch(3, 1);

    PageControl2 = named(new QTabWidget(this), "PageControl2");

    // "Layout": fonts and colours.
    auto* layoutTab = named(new QWidget, "TabLayout");
    SetFontBn = named(new QPushButton(i18n("Line"), layoutTab), "SetFontBn");
    Button1 = named(new QPushButton(i18n("Paragraph"), layoutTab), "Button1");
    Button3 = named(new QPushButton(i18n("Game"), layoutTab), "Button3");
    ExampleEd = named(new FontExampleEdit(layoutTab), "ExampleEd");
    Example2Ed = named(new FontExampleEdit(layoutTab), "Example2Ed");
    Example3Ed = named(new FontExampleEdit(layoutTab), "Example3Ed");
    EdColor = named(new ColorComboBox(ColorComboBox::NamedColors | ColorComboBox::SystemColors, layoutTab),
                    "EdColor");
    ColorEd = named(new ColorComboBox(ColorComboBox::NamedColors | ColorComboBox::SystemColors |
                                          ColorComboBox::CustomColor,
                                      layoutTab),
                    "ColorEd");
    auto* layoutGrid = new QGridLayout(layoutTab);
    // Three equal columns: a large example font must neither widen the window nor push the
    // buttons apart, so the example edits take the width their column gives them.
    for (int column = 0; column < 3; ++column)
        layoutGrid->setColumnStretch(column, 1);
    for (FontExampleEdit* example : {ExampleEd, Example2Ed, Example3Ed})
        example->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layoutGrid->addWidget(SetFontBn, 0, 0);
    layoutGrid->addWidget(Button1, 0, 1);
    layoutGrid->addWidget(Button3, 0, 2);
    layoutGrid->addWidget(ExampleEd, 1, 0);
    layoutGrid->addWidget(Example2Ed, 1, 1);
    layoutGrid->addWidget(Example3Ed, 1, 2);
    layoutGrid->addWidget(new QLabel(i18n("Background color:"), layoutTab), 2, 0);
    layoutGrid->addWidget(EdColor, 2, 1, 1, 2);
    layoutGrid->addWidget(new QLabel(i18n("Game BG color:"), layoutTab), 3, 0);
    layoutGrid->addWidget(ColorEd, 3, 1, 1, 2);
    layoutGrid->setRowStretch(4, 1);
    PageControl2->addTab(layoutTab, i18n("Layout"));

    // "Misc": options.
    auto* miscTab = named(new QWidget, "TabMisc");
    ChkFunSpeed = named(new QCheckBox(i18n("Different speeds enabled"), miscTab), "ChkFunSpeed");
    ChkFunSpeed->setToolTip(i18n("Enable the word fall at different speeds in the game"));
    HighlightEd = named(new QCheckBox(i18n("Highlight the letter to be typed"), miscTab), "HighlightEd");
    BlinkingEd = named(new QCheckBox(i18n("Blink the on-screen key and finger"), miscTab), "BlinkingEd");
    ChkFullScreen = named(new QCheckBox(i18n("Full screen"), miscTab), "ChkFullScreen");
    ChkDrillSoundEnabled = named(new QCheckBox(i18n("Enable drill sound"), miscTab), "ChkDrillSoundEnabled");
    ChkGameSoundEnabled = named(new QCheckBox(i18n("Enable Game Sound"), miscTab), "ChkGameSoundEnabled");
    ChkPopupAtEnd =
        named(new QCheckBox(i18n("Popup statistic at the end of a drill"), miscTab), "ChkPopupAtEnd");
    auto* miscLayout = new QVBoxLayout(miscTab);
    miscLayout->setSpacing(0); // a check box carries its own room above and below
    for (QCheckBox* box : {ChkFunSpeed, HighlightEd, BlinkingEd, ChkFullScreen, ChkDrillSoundEnabled,
                           ChkGameSoundEnabled, ChkPopupAtEnd})
        miscLayout->addWidget(box);
    miscLayout->addStretch();
    PageControl2->addTab(miscTab, i18n("Misc"));

    // "Keyboard": layouts.
    auto* keyboardTab = named(new QWidget, "TabKeyboard");
    KeyboardsCombo = named(new QComboBox(keyboardTab), "KeyboardsCombo");
    InfoMemo = named(new QPlainTextEdit(keyboardTab), "InfoMemo");
    InfoMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    InfoMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InfoMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    OriginalKeyboardNameLb = named(new QLabel(keyboardTab), "OriginalKeyboardNameLb");
    setTextColor(OriginalKeyboardNameLb, QColor(0, 0, 128));
    BnApplyKb = named(new QPushButton(i18n("Activate layout"), keyboardTab), "BnApplyKb");
    auto* keyboardLayout = new QVBoxLayout(keyboardTab);
    keyboardLayout->addWidget(new QLabel(i18n("Available keyboard layouts"), keyboardTab));
    auto* choice = new QHBoxLayout;
    choice->addWidget(KeyboardsCombo, 1);
    choice->addWidget(BnApplyKb);
    keyboardLayout->addLayout(choice);
    keyboardLayout->addWidget(InfoMemo, 1);
    // The layout's name on a line of its own: a long name is cut there, never widens the tab.
    keyboardLayout->addWidget(new QLabel(i18n("Keyboard layout before starting:"), keyboardTab));
    OriginalKeyboardNameLb->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    keyboardLayout->addWidget(OriginalKeyboardNameLb);
    PageControl2->addTab(keyboardTab, i18n("Keyboard"));

    // Bottom row.
    OkBn = named(new QPushButton(i18n("&Save"), this), "OkBn");
    OkBn->setToolTip(
        i18n("Save user profile, or add user profile if the user name is different from current user."));
    EraseBn = named(new QPushButton(i18n("&Erase"), this), "EraseBn");
    EraseBn->setToolTip(i18n("Erase user profile marked by user name."));
    BnApply = named(new QPushButton(i18n("&Apply"), this), "BnApply");
    BnApply->setToolTip(
        i18n("Apply user profile, and close. The user profile will be saved when exiting the program."));
    CancelBn = named(new QPushButton(i18n("&Close"), this), "CancelBn");
    for (QPushButton* button : {OkBn, EraseBn, BnApply, CancelBn})
        button->setAutoDefault(false); // Enter in a combo box must not press a button
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(OkBn);
    bottom->addWidget(EraseBn);
    bottom->addStretch();
    bottom->addWidget(BnApply);
    bottom->addWidget(CancelBn);

    // Names of any length keep the boxes to the window's width: a long name scrolls in its
    // box, and the drop-down list of a name box, as wide as the box, elides it.
    for (QComboBox* box : {UserEd, CourseEd, KeyboardsCombo}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
    }
    for (QComboBox* box : {UserEd, CourseEd}) {
        box->setItemDelegate(new ElidingItemDelegate(box));
        box->view()->setTextElideMode(Qt::ElideRight);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addWidget(PageControl2, 1);
    layout->addLayout(bottom);

    FontDialog2 = named(new FontValueDialog(this), "FontDialog2");

    connect(SetFontBn, &QPushButton::clicked, this, &TProfileFm::SetFontBnClick);
    connect(Button1, &QPushButton::clicked, this, &TProfileFm::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TProfileFm::Button3Click);
    connect(BnApplyKb, &QPushButton::clicked, this, &TProfileFm::BnApplyKbClick);
    connect(BnApply, &QPushButton::clicked, this, &TProfileFm::BnApplyClick);
    connect(OkBn, &QPushButton::clicked, this, &TProfileFm::OkBnClick);
    connect(EraseBn, &QPushButton::clicked, this, &TProfileFm::EraseBnClick);
    connect(CancelBn, &QPushButton::clicked, this, &TProfileFm::CancelBnClick);
    connect(UserEd, &QComboBox::activated, this, &TProfileFm::UserEdClick);
}

void TProfileFm::SetCourseList(const QStringList& courses) {
    const QString text = CourseEd->currentText();
    CourseEd->clear();
    CourseEd->addItems(courses);
    CourseEd->setEditText(text);
}

int TProfileFm::Edit(TProfile* profile) {
    Profile = profile;
    fillUserList();
    SetUserName(profile->UserName);
    ProfileToForm(profile);
    Example3Ed->setBackgroundColor(GetGameBgColor());
    if (KeyboardAgent) {
        InfoMemo->setPlainText(KeyboardAgent->InfoLines.join(QLatin1Char('\n')));
        KeyboardsCombo->clear();
        KeyboardsCombo->addItems(KeyboardAgent->LayoutNames);
        KeyboardsCombo->setCurrentIndex(KeyboardAgent->IndexOfLayout(profile->KeyboardLayout));
        OriginalKeyboardNameLb->setText(KeyboardAgent->GetStartLayoutName());
    }
    PageControl2->setCurrentIndex(0);
    return exec();
}

int TProfileFm::EditNew(TProfile* profile, std::function<bool()> acceptStep) {
    OkBn->hide();
    EraseBn->hide();
    AddMode = true;
    m_acceptStep = std::move(acceptStep);
    return Edit(profile);
}

void TProfileFm::ProfileToForm(TProfile* profile) {
    SetFullScreen(profile->FullScreen);
    SetBgColor(profile->BgColor);
    SetGameBgColor(profile->GameBgColor);
    SetFunSpeed(profile->FunSpeed);
    SetCourse(profile->Course);
    SetProgress(profile->Progress);
    SetTimeTotal(profile->TimeTotal);
    SetPracticeFont(profile->PracticeFont);
    SetTextFont(profile->TextFont);
    SetGameFont(profile->GameFont);
    SetHighLight(profile->HighLight);
    SetBlinking(profile->Blinking);
    SetGameSoundEnabled(profile->GameSoundEnabled);
    SetDrillSoundEnabled(profile->DrillSoundEnabled);
    SetPopupAtEnd(profile->PopupAtEnd);
    if (KeyboardAgent && !KeyboardAgent->ActivateLayout(profile->KeyboardLayout))
        plainMessage(profile->KeyboardLayout + i18n(" layout could not be activated."));
}

void TProfileFm::FormToProfile(TProfile* profile, bool resetStatistics) {
    profile->FullScreen = GetFullScreen();
    profile->BgColor = GetBgColor();
    profile->GameBgColor = GetGameBgColor();
    profile->FunSpeed = GetFunSpeed();
    profile->Course = eightBit(GetCourse());
    profile->SetPracticeFont(GetPracticeFont());
    profile->SetTextFont(GetTextFont());
    profile->SetGameFont(GetGameFont());
    profile->HighLight = GetHighLight();
    profile->Blinking = GetBlinking();
    profile->GameSoundEnabled = GetGameSoundEnabled();
    profile->DrillSoundEnabled = GetDrillSoundEnabled();
    profile->PopupAtEnd = GetPopupAtEnd();
    if (KeyboardAgent) profile->KeyboardLayout = KeyboardAgent->GetCurrentLayoutId();
    if (resetStatistics) {
        profile->Progress = 0;
        profile->TimeTotal = 0;
    }
}

bool TProfileFm::SaveAsNewProfile(const QString& name) {
    try {
        const auto newProfile = std::make_unique<TProfile>();
        newProfile->OnSave = Profile->OnSave;
        FormToProfile(newProfile.get(), true);
        newProfile->DoSave(name);
        return true;
    } catch (...) {
        plainMessage(i18n("Save Profile fail."));
        return false;
    }
}

void TProfileFm::EraseProfileSection(const QString& name) {
    TIniFile(profilesFile()).EraseSection(name);
}

QString TProfileFm::profilesFile() const {
    const QString folder =
        Settings ? Settings->AppDir : QCoreApplication::applicationDirPath() + QLatin1Char('/');
    return folder + QStringLiteral("zqc.ini");
}

// The names of the stored profiles, so that Erase knows whether one would be left.
void TProfileFm::fillUserList() {
    UserEd->clear();
    UserEd->addItems(TIniFile(profilesFile()).ReadSections());
}

QString TProfileFm::practiceTimeText(int32_t milliseconds) {
    const int32_t seconds = milliseconds / 1000;
    return formatText(i18n("%d h %d m %d s"), {seconds / 3600, seconds / 60 % 60, seconds % 60});
}

void TProfileFm::chooseFont(FontExampleEdit* example) {
    FontDialog2->setFontValue(example->fontValue());
    if (FontDialog2->Execute()) example->setFontValue(FontDialog2->fontValue());
}

void TProfileFm::SetFontBnClick() {
    chooseFont(ExampleEd);
}
void TProfileFm::Button1Click() {
    chooseFont(Example2Ed);
}
void TProfileFm::Button3Click() {
    chooseFont(Example3Ed);
}

void TProfileFm::BnApplyKbClick() {
    const int index = KeyboardsCombo->currentIndex();
    bool activated = false;
    // With no selection there is no layout to activate.
    if (KeyboardAgent && index >= 0) {
        try {
            activated = KeyboardAgent->ActivateLayoutByIndex(index);
        } catch (const QuorvelError&) {
            activated = false;
        }
    }
    plainMessage(activated ? i18n("Selected layout is activated.")
                           : i18n("Selected layout could not be activated."));
}

void TProfileFm::BnApplyClick() {
    FormToProfile(Profile, false);
    if (AddMode) {
        const QString name = trimmed(UserEd->currentText());
        if (name.isEmpty()) {
            plainMessage(i18n("Please define a user name."));
            return;
        }
        Profile->UserName = eightBit(name);
        if (m_acceptStep && !m_acceptStep()) return;
    }
    done(mrOk);
}

void TProfileFm::OkBnClick() {
    // The name as the store will hold it: the ini file keeps section names trimmed and 8-bit.
    const QString name = eightBit(trimmed(UserEd->currentText()));
    if (name.isEmpty()) {
        plainMessage(i18n("Please define a user name."));
        return;
    }
    if (sameUserName(name, Profile->UserName)) {
        FormToProfile(Profile, false);
        // A file that cannot be written is reported; the profile in memory keeps the form.
        try {
            Profile->Save();
        } catch (const QuorvelError& e) {
            dialogs().error(e.message());
        }
        return;
    }
    // Saving under a stored user's name would write this form over that user's profile. The
    // store is asked, since it matches names by its own rule of letter case.
    if (TIniFile(profilesFile()).SectionExists(name)) {
        plainMessage(formatText(i18n("A user named \"%s\" already exists. Nothing was saved."), {name}));
        return;
    }
    if (!dialogs().confirm(i18n("Are you going to add a new user?"))) return;
    if (SaveAsNewProfile(name))
        dialogs().information(i18n("Please restart the program to load the profile of new user."));
}

void TProfileFm::EraseBnClick() {
    if (!dialogs().confirm(
            i18n("You are going to erase the profile of selected user. Do you want to confirm?")))
        return;
    if (UserEd->count() <= 1) {
        dialogs().error(i18n("There should be at least one profile. Abort."));
        return;
    }
    const QString name = eightBit(UserEd->currentText());
    try {
        EraseProfileSection(name);
    } catch (const QuorvelError& e) {
        dialogs().error(e.message()); // nothing erased, the list stays as it is
        return;
    }
    const int index = UserEd->findText(name, Qt::MatchFixedString);
    if (index >= 0) UserEd->removeItem(index);
    UserEd->setCurrentIndex(0);
    UserEd->setEditText(UserEd->itemText(0));
}

void TProfileFm::CancelBnClick() {
    done(mrCancel);
}

void TProfileFm::reject() {
    done(mrCancel);
}

void TProfileFm::UserEdClick(int index) {
    UserEd->setEditText(eightBit(UserEd->itemText(index)));
}

bool TProfileFm::GetFullScreen() const {
    return ChkFullScreen->isChecked();
}
void TProfileFm::SetFullScreen(bool value) {
    ChkFullScreen->setChecked(value);
}
int32_t TProfileFm::GetBgColor() const {
    return EdColor->colorValue();
}
void TProfileFm::SetBgColor(int32_t value) {
    EdColor->setColorValue(value);
}
int32_t TProfileFm::GetGameBgColor() const {
    return ColorEd->colorValue();
}
void TProfileFm::SetGameBgColor(int32_t value) {
    ColorEd->setColorValue(value);
}
bool TProfileFm::GetFunSpeed() const {
    return ChkFunSpeed->isChecked();
}
void TProfileFm::SetFunSpeed(bool value) {
    ChkFunSpeed->setChecked(value);
}
QString TProfileFm::GetCourse() const {
    return CourseEd->currentText();
}
void TProfileFm::SetCourse(const QString& value) {
    CourseEd->setEditText(value);
}
void TProfileFm::SetProgress(int32_t value) {
    ProgressLb->setText(QString::number(value));
}
void TProfileFm::SetTimeTotal(int32_t milliseconds) {
    TimeLb->setText(practiceTimeText(milliseconds));
}
TFontValue TProfileFm::GetPracticeFont() const {
    return ExampleEd->fontValue();
}
void TProfileFm::SetPracticeFont(const TFontValue& font) {
    ExampleEd->setFontValue(font);
}
TFontValue TProfileFm::GetTextFont() const {
    return Example2Ed->fontValue();
}
void TProfileFm::SetTextFont(const TFontValue& font) {
    Example2Ed->setFontValue(font);
}
TFontValue TProfileFm::GetGameFont() const {
    return Example3Ed->fontValue();
}
void TProfileFm::SetGameFont(const TFontValue& font) {
    Example3Ed->setFontValue(font);
}
bool TProfileFm::GetHighLight() const {
    return HighlightEd->isChecked();
}
void TProfileFm::SetHighLight(bool value) {
    HighlightEd->setChecked(value);
}
bool TProfileFm::GetBlinking() const {
    return BlinkingEd->isChecked();
}
void TProfileFm::SetBlinking(bool value) {
    BlinkingEd->setChecked(value);
}
bool TProfileFm::GetGameSoundEnabled() const {
    return ChkGameSoundEnabled->isChecked();
}
void TProfileFm::SetGameSoundEnabled(bool value) {
    ChkGameSoundEnabled->setChecked(value);
}
bool TProfileFm::GetDrillSoundEnabled() const {
    return ChkDrillSoundEnabled->isChecked();
}
void TProfileFm::SetDrillSoundEnabled(bool value) {
    ChkDrillSoundEnabled->setChecked(value);
}
bool TProfileFm::GetPopupAtEnd() const {
    return ChkPopupAtEnd->isChecked();
}
void TProfileFm::SetPopupAtEnd(bool value) {
    ChkPopupAtEnd->setChecked(value);
}
void TProfileFm::SetUserName(const QString& name) {
    // The stored profile of that name becomes the list's current entry, so that the list
    // is walked from there.
    UserEd->setCurrentIndex(UserEd->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    UserEd->setEditText(name);
}
