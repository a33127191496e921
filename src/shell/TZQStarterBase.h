#pragma once

#include "platform/KeyboardLayoutProvider.h"
#include <QObject>

#include <QString>
#include <memory>

class TKeyboardLayoutAgent;
class TProfile;

// Carries one run from logon to shutdown: holds the logged-on user's profile and a work
// profile for adding users, and is the storage every profile of the run loads and saves
// itself through. Where profiles are kept is the descendant's business.
class TZQStarterBase : public QObject {
public:
    // The keyboard layout agent works on the system's layouts unless a provider is given.
    explicit TZQStarterBase(QObject* AOwner = nullptr, std::unique_ptr<KeyboardLayoutProvider> provider = {});
    ~TZQStarterBase() override;

    // Opens the main window for the profile of the user who logs on.
    virtual void OpenMainForm(TProfile* AProfile);
    // Fills Sender from what is stored under Name.
    virtual void LoadProfileSection(TProfile* Sender, const QString& Name) = 0;
    // Stores Sender under Name.
    virtual void SaveProfileSection(TProfile* Sender, const QString& Name) = 0;

    // Binds a profile's load and save events to this starter's storage.
    void bindStorage(TProfile* profile);

    TProfile* Profile() const { return m_profile.get(); }
    TProfile* NewProfile() const { return m_newProfile.get(); }
    // The run's one agent, owned here and lent to the main window and the profile editor. It
    // is made, and its lists filled, when first asked for: reading the desktop's keyboard
    // layouts is nothing the logon window needs.
    TKeyboardLayoutAgent* KeyboardAgent();

private:
    // Created without owner and freed by the starter, the logged-on profile first.
    std::unique_ptr<TProfile> m_profile;
    std::unique_ptr<TProfile> m_newProfile;
    std::unique_ptr<KeyboardLayoutProvider> m_provider; // until the agent takes it
    TKeyboardLayoutAgent* m_keyboardAgent = nullptr;    // a child of the starter
};
