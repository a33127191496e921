#pragma once

#include "settings/FontValue.h"

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class ColorComboBox;
class FontExampleEdit;
class FontValueDialog;
class TKeyboardLayoutAgent;
class TProfile;

// The window in which a user edits a profile: fonts, colours, options, course and keyboard
// layout. Apply changes the profile in memory, Save writes it to "zqc.ini" at once (or stores
// the form as a new user's profile when the name was changed), Erase removes a stored profile.
// Opened modally by Edit (the logged-on user) or EditNew (a user being added).
class TProfileFm : public QDialog {
    Q_OBJECT
public:
    // Modal results.
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    explicit TProfileFm(QWidget* parent = nullptr);
    ~TProfileFm() override;

    // Lent, not owned.
    void SetKeyboardAgent(TKeyboardLayoutAgent* agent) { KeyboardAgent = agent; }
    void SetCourseList(const QStringList& courses);

    int Edit(TProfile* profile);
    // Add mode: without Save and Erase; Apply needs a user name. With a step given, Apply runs it
    // once the profile holds the form and the new name; the editor closes only when the step
    // succeeds, and otherwise stays open with its input (the step has said why it failed).
    int EditNew(TProfile* profile, std::function<bool()> acceptStep = {});

    void ProfileToForm(TProfile* profile);
    void FormToProfile(TProfile* profile, bool resetStatistics);
    // Stores the form as the profile of another user; false after telling the user it failed.
    bool SaveAsNewProfile(const QString& name);
    void EraseProfileSection(const QString& name);

    // The controls, one accessor pair per profile field.
    bool GetFullScreen() const;
    void SetFullScreen(bool value);
    int32_t GetBgColor() const;
    void SetBgColor(int32_t value);
    int32_t GetGameBgColor() const;
    void SetGameBgColor(int32_t value);
    bool GetFunSpeed() const;
    void SetFunSpeed(bool value);
    QString GetCourse() const;
    void SetCourse(const QString& value);
    void SetProgress(int32_t value);
    void SetTimeTotal(int32_t milliseconds);
    TFontValue GetPracticeFont() const;
    void SetPracticeFont(const TFontValue& font);
    TFontValue GetTextFont() const;
    void SetTextFont(const TFontValue& font);
    TFontValue GetGameFont() const;
    void SetGameFont(const TFontValue& font);
    bool GetHighLight() const;
    void SetHighLight(bool value);
    bool GetBlinking() const;
    void SetBlinking(bool value);
    bool GetGameSoundEnabled() const;
    void SetGameSoundEnabled(bool value);
    bool GetDrillSoundEnabled() const;
    void SetDrillSoundEnabled(bool value);
    bool GetPopupAtEnd() const;
    void SetPopupAtEnd(bool value);
    void SetUserName(const QString& name);

    // "%d h %d m %d s" of a time in milliseconds.
    static QString practiceTimeText(int32_t milliseconds);

public slots:
    void reject() override; // the close box and Esc close like Close

private slots:
    void SetFontBnClick();
    void Button1Click();
    void Button3Click();
    void BnApplyKbClick();
    void BnApplyClick();
    void OkBnClick();
    void EraseBnClick();
    void CancelBnClick();
    void UserEdClick(int index);

private:
    void FormCreate();
    void chooseFont(FontExampleEdit* example);
    void fillUserList();
    QString profilesFile() const;

    TKeyboardLayoutAgent* KeyboardAgent = nullptr;
    TProfile* Profile = nullptr;
    bool AddMode = false;
    std::function<bool()> m_acceptStep; // add mode: what Apply does before closing

    QComboBox* UserEd;
    QComboBox* CourseEd;
    QLabel* ProgressLb;
    QLabel* TimeLb;
    QTabWidget* PageControl2;
    QPushButton* SetFontBn;
    QPushButton* Button1;
    QPushButton* Button3;
    FontExampleEdit* ExampleEd;
    FontExampleEdit* Example2Ed;
    FontExampleEdit* Example3Ed;
    ColorComboBox* EdColor;
    ColorComboBox* ColorEd;
    QCheckBox* ChkFunSpeed;
    QCheckBox* HighlightEd;
    QCheckBox* BlinkingEd;
    QCheckBox* ChkFullScreen;
    QCheckBox* ChkDrillSoundEnabled;
    QCheckBox* ChkGameSoundEnabled;
    QCheckBox* ChkPopupAtEnd;
    QComboBox* KeyboardsCombo;
    QPlainTextEdit* InfoMemo;
    QLabel* OriginalKeyboardNameLb;
    QPushButton* BnApplyKb;
    QPushButton* OkBn;
    QPushButton* EraseBn;
    QPushButton* BnApply;
    QPushButton* CancelBn;
    FontValueDialog* FontDialog2;
};
