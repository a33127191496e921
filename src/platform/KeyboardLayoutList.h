#pragma once

#include "platform/KeyboardLayoutProvider.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

// The keyboard layouts as the layout agent sees them: the installed list, read once; the loaded
// layouts, re-read on refresh; and the names built from them. Owns its provider.
class KeyboardLayoutList {
public:
    // Room for this many loaded layouts; further ones are not listed.
    static constexpr int MaxLoaded = 16;

    explicit KeyboardLayoutList(std::unique_ptr<KeyboardLayoutProvider> provider);

    const std::vector<InstalledKeyboardLayout>& installed() const { return m_installed; }
    const std::vector<quint32>& loaded() const { return m_loaded; }
    quint32 activeHandle() const { return m_provider->activeLayout(); }

    void refresh();

    // The name of the installed layout a handle stands for; empty when none matches.
    QString variationName(quint32 handle) const;
    // The language name, and for a variant " - " and its variation name.
    QString displayName(quint32 handle) const;
    QString localeText(quint32 handle, LocaleText kind) const;

    // Loads and activates a layout; on success the loaded layouts are re-read.
    bool activate(const QByteArray& identifierText);

    // "%.8X": eight digits, upper-case letters.
    static QByteArray identifierText(quint32 identifier);

private:
    std::unique_ptr<KeyboardLayoutProvider> m_provider;
    std::vector<InstalledKeyboardLayout> m_installed;
    std::vector<quint32> m_loaded;
};
