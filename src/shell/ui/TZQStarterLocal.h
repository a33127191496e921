#pragma once

#include "platform/KeyboardLayoutProvider.h"
#include "shell/TZQStarterBase.h"

#include <QStringList>
#include <functional>
#include <memory>

class ProfileStore;

// The starter that keeps profiles as sections of "zqc.ini" in the program folder, opens the
// main window for the user who logs on and the profile editor for a user being added.
class TZQStarterLocal : public TZQStarterBase {
public:
    explicit TZQStarterLocal(QObject* AOwner = nullptr,
                             std::unique_ptr<KeyboardLayoutProvider> provider = {});
    ~TZQStarterLocal() override;

    // Builds, fills and shows the main window and hides the logon window. When a step fails
    // the window is freed unseen and the error goes on to the caller, the logon window
    // staying as it was.
    void OpenMainForm(TProfile* AProfile) override;
    void LoadProfileSection(TProfile* Sender, const QString& Name) override;
    void SaveProfileSection(TProfile* Sender, const QString& Name) override;

    // Opens the profile editor in add mode on the profile; its modal result
    // (TProfileFm::mrOk when a named new user was accepted). The editor runs acceptStep, when
    // given, before it closes on acceptance, and stays open while the step fails.
    int EditNewProfile(TProfile* AProfile, std::function<bool()> acceptStep = {});

    QString storagePath() const;
    // The users stored in "zqc.ini", in file order, for the logon window's list. They come from
    // the same reading of the file as the profile loaded next.
    QStringList userNames();
    // Why the user file could not be read, when it is there but unusable; empty otherwise.
    QString userListProblem();

private:
    ProfileStore& store();

    std::unique_ptr<ProfileStore> m_store; // made on first use, for the path of that time
};
