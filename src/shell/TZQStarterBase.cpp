#include "shell/TZQStarterBase.h"

#include "platform/KeyboardLayoutProvider.h"
#include "settings/KeyboardLayoutAgent.h"
#include "settings/Profile.h"

TZQStarterBase::TZQStarterBase(QObject* AOwner, std::unique_ptr<KeyboardLayoutProvider> provider)
    : QObject(AOwner), m_profile(std::make_unique<TProfile>()), m_newProfile(std::make_unique<TProfile>()) {
    bindStorage(m_profile.get());
    bindStorage(m_newProfile.get());
    m_provider = std::move(provider);
}

TKeyboardLayoutAgent* TZQStarterBase::KeyboardAgent() {
    if (!m_keyboardAgent) {
        m_keyboardAgent = m_provider ? new TKeyboardLayoutAgent(std::move(m_provider), this)
                                     : new TKeyboardLayoutAgent(this);
        m_keyboardAgent->Refresh();
    }
    return m_keyboardAgent;
}

TZQStarterBase::~TZQStarterBase() {
    m_profile.reset();
    m_newProfile.reset();
}

void TZQStarterBase::OpenMainForm(TProfile*) {}

void TZQStarterBase::bindStorage(TProfile* profile) {
    // The events call the virtual operations, so the descendant's storage serves both.
    profile->OnLoad = [this](TProfile* sender, const QString& name) { LoadProfileSection(sender, name); };
    profile->OnSave = [this](TProfile* sender, const QString& name) { SaveProfileSection(sender, name); };
}
