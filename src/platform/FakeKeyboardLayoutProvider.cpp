#include "platform/FakeKeyboardLayoutProvider.h"

#include "platform/KeyboardLayoutList.h"

#include <algorithm>

std::vector<InstalledKeyboardLayout> FakeKeyboardLayoutProvider::installedLayouts() {
    ++m_state->installedReads;
    return m_state->installed;
}

QString FakeKeyboardLayoutProvider::localeText(quint16 languageId, LocaleText kind) {
    const QStringList texts = m_state->locales.value(languageId);
    const int index = int(kind);
    return index < texts.size() ? texts.at(index) : QString();
}

bool FakeKeyboardLayoutProvider::activate(const QByteArray& identifierText) {
    m_state->activations.append(identifierText);
    if (!m_state->accepted.contains(identifierText)) return false;
    for (const InstalledKeyboardLayout& layout : m_state->installed) {
        if (KeyboardLayoutList::identifierText(layout.identifier) != identifierText.toUpper()) continue;
        const quint32 handle = keyboardLayoutHandle(layout.identifier, layout.layoutId);
        if (std::find(m_state->loaded.begin(), m_state->loaded.end(), handle) == m_state->loaded.end())
            m_state->loaded.push_back(handle);
        m_state->active = handle;
        return true;
    }
    return false;
}
