#pragma once

#include "platform/KeyboardLayoutProvider.h"

#include <QHash>
#include <QSet>

// A keyboard layout provider whose layouts are set by hand, for tests. Activation succeeds
// for the identifier texts listed in `accepted`, compared exactly as written: it adds the layout to the
// loaded ones and makes it active.
class FakeKeyboardLayoutProvider final : public KeyboardLayoutProvider {
public:
    struct State {
        std::vector<InstalledKeyboardLayout> installed;
        std::vector<quint32> loaded;
        quint32 active = 0;
        QSet<QByteArray> accepted;
        // Language id -> texts (language, country, id); unknown ones give empty texts.
        QHash<quint16, QStringList> locales;
        QList<QByteArray> activations; // every identifier handed to activate(), in order
        int installedReads = 0;
    };

    // The state lives outside the provider so that a test can watch it after handing the
    // provider to its owner.
    explicit FakeKeyboardLayoutProvider(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    std::vector<InstalledKeyboardLayout> installedLayouts() override;
    std::vector<quint32> loadedLayouts() override { return m_state->loaded; }
    quint32 activeLayout() override { return m_state->active; }
    QString localeText(quint16 languageId, LocaleText kind) override;
    bool activate(const QByteArray& identifierText) override;

private:
    std::shared_ptr<State> m_state;
};
