#pragma once

#include "shell/ui/TAboutBox.h"

class QComboBox;
class TZQStarterLocal;

// The logon window, the first window of the run: a person picks a user from "zqc.ini" and
// logs on (OK), adds a user from a listed user's profile (Add) or ends the program (Exit).
// After the logon it stays hidden until the main window closes it; its closing ends the run.
class TFmLogon : public TAboutBox {
    Q_OBJECT
public:
    explicit TFmLogon(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QComboBox* ComboUser = nullptr;
    QPushButton* BnCancel = nullptr;
    QPushButton* BnAdd = nullptr;

    // Owned by this window (set by the start-up block right after creation).
    TZQStarterLocal* Starter = nullptr;
    void setStarter(TZQStarterLocal* starter);

    QString GetUserText() const;
    void SetUserList(const QStringList& list);
    void SelectUser(const QString& name);
    void RefreshUserList();

protected:
    void FormCreate() override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc presses Exit.
    void reject() override;
    // An editable combo box keeps Enter and Esc to itself; here they press OK and Exit.
    bool eventFilter(QObject* watched, QEvent* event) override;

protected slots:
    void OKButtonClick() override;

private slots:
    void FormShow();
    void BnCancelClick();
    void BnAddClick();

private:
    bool isListed(const QString& name) const;
    // Says once in the run why "zq.ini" or "zqc.ini" could not be read, where one could not.
    void tellReadProblems();

    bool m_problemsTold = false;
};

// The one logon window of the run.
extern TFmLogon* FmLogon;
