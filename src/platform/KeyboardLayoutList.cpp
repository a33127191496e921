#include "platform/KeyboardLayoutList.h"

KeyboardLayoutList::KeyboardLayoutList(std::unique_ptr<KeyboardLayoutProvider> provider)
    : m_provider(std::move(provider)), m_installed(m_provider->installedLayouts()) {
    refresh();
}

void KeyboardLayoutList::refresh() {
    m_loaded = m_provider->loadedLayouts();
    if (m_loaded.size() > size_t(MaxLoaded)) m_loaded.resize(MaxLoaded);
}

QString KeyboardLayoutList::variationName(quint32 handle) const {
    const quint32 low = handle & 0xFFFFu;
    const quint32 high = handle >> 16;
    // A primary layout's handle repeats the language in its high word; a variant carries its
    // layout id there below a marker nibble.
    const quint32 key = high == low ? low : (handle & 0x0FFFFFFFu);
    const quint32 language = key & 0xFFFFu;
    const quint32 layoutId = key >> 16;
    for (const InstalledKeyboardLayout& layout : m_installed)
        if ((layout.identifier & 0xFFFFu) == language && layout.layoutId == layoutId) return layout.name;
    return {};
}

QString KeyboardLayoutList::displayName(quint32 handle) const {
    QString name = localeText(handle, LocaleText::LanguageName);
    if ((handle >> 16) != (handle & 0xFFFFu)) name += QStringLiteral(" - ") + variationName(handle);
    return name;
}

QString KeyboardLayoutList::localeText(quint32 handle, LocaleText kind) const {
    return m_provider->localeText(quint16(handle & 0xFFFFu), kind);
}

bool KeyboardLayoutList::activate(const QByteArray& identifierText) {
    if (!m_provider->activate(identifierText)) return false;
    refresh();
    return true;
}

QByteArray KeyboardLayoutList::identifierText(quint32 identifier) {
    return QByteArray::number(identifier, 16).toUpper().rightJustified(8, '0');
}
