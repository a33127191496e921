#include "platform/XkbKeyboardLayoutProvider.h"

#include "platform/XkbKeyTranslator.h"

#include <QLocale>
#include <algorithm>
#include <cctype>
#include <clocale>

namespace {

constexpr quint32 FallbackIdentifier = 0x00000409;

quint32 handleOf(quint32 identifier) {
    const XkbLayoutEntry* entry = findXkbLayout(identifier);
    return keyboardLayoutHandle(identifier, entry ? entry->layoutId : 0);
}

} // namespace

std::unique_ptr<KeyboardLayoutProvider> createSystemKeyboardLayoutProvider() {
    return std::make_unique<XkbKeyboardLayoutProvider>();
}

XkbKeyboardLayoutProvider::XkbKeyboardLayoutProvider()
    : XkbKeyboardLayoutProvider(
          readXkbDesktopLayouts(XkbContextPtr(xkb_context_new(XKB_CONTEXT_NO_FLAGS)).get())) {}

XkbKeyboardLayoutProvider::XkbKeyboardLayoutProvider(std::optional<XkbDesktopLayouts> desktop)
    : m_context(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    if (desktop)
        for (quint32 identifier : desktop->identifiers) {
            const quint32 handle = handleOf(identifier);
            if (std::find(m_loaded.begin(), m_loaded.end(), handle) == m_loaded.end())
                m_loaded.push_back(handle);
        }
    if (desktop && desktop->active) {
        m_active = handleOf(*desktop->active);
    } else {
        // A desktop that cannot be asked is taken to type US English.
        m_active = handleOf(FallbackIdentifier);
    }
    if (std::find(m_loaded.begin(), m_loaded.end(), m_active) == m_loaded.end())
        m_loaded.insert(m_loaded.begin(), m_active);
}

XkbKeyboardLayoutProvider::~XkbKeyboardLayoutProvider() {
    useTranslator(nullptr);
}

std::vector<InstalledKeyboardLayout> XkbKeyboardLayoutProvider::installedLayouts() {
    std::vector<InstalledKeyboardLayout> layouts;
    for (const XkbLayoutEntry& entry : xkbLayoutTable())
        layouts.push_back({entry.identifier, QString::fromLatin1(entry.layoutText), entry.layoutId});
    return layouts;
}

QString XkbKeyboardLayoutProvider::localeText(quint16 languageId, LocaleText kind) {
    const char* name = xkbLanguageLocale(languageId);
    if (!name) return {};
    const QLocale locale(QString::fromLatin1(name));
    switch (kind) {
    case LocaleText::LanguageName:
        return QLocale::languageToString(locale.language()) + QStringLiteral(" (") +
               QLocale::territoryToString(locale.territory()) + QLatin1Char(')');
    case LocaleText::CountryName:
        return QLocale::territoryToString(locale.territory());
    case LocaleText::LanguageId:
        return QStringLiteral("%1").arg(languageId, 4, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

std::optional<quint32> XkbKeyboardLayoutProvider::parseIdentifier(const QByteArray& identifierText) {
    if (identifierText.size() != 8) return std::nullopt;
    for (char c : identifierText)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return identifierText.toUInt(nullptr, 16);
}

XkbKeymapPtr XkbKeyboardLayoutProvider::compileKeymap(xkb_context* context, const XkbLayoutEntry& entry) {
    if (!context) return nullptr;
    const xkb_rule_names names{"evdev", "pc105", entry.xkbLayout, entry.xkbVariant, ""};
    return XkbKeymapPtr(xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

bool XkbKeyboardLayoutProvider::activate(const QByteArray& identifierText) {
    const std::optional<quint32> identifier = parseIdentifier(identifierText);
    const XkbLayoutEntry* entry = identifier ? findXkbLayout(*identifier) : nullptr;
    if (!entry) return false;
    const XkbKeymapPtr keymap = compileKeymap(m_context.get(), *entry);
    if (!keymap) return false;
    useTranslator(
        std::make_unique<XkbKeyTranslator>(keymap.get(), composeTable(), xkbKeyOverrides(entry->identifier)));
    m_active = handleOf(*identifier);
    if (std::find(m_loaded.begin(), m_loaded.end(), m_active) == m_loaded.end()) m_loaded.push_back(m_active);
    return true;
}

void XkbKeyboardLayoutProvider::useTranslator(std::unique_ptr<XkbKeyTranslator> translator) {
    if (m_translator && activeKeyTranslator() == m_translator.get()) setActiveKeyTranslator(nullptr);
    m_translator = std::move(translator);
    if (m_translator) setActiveKeyTranslator(m_translator.get());
}

// The dead-key sequences of the user's locale, or of en_US.UTF-8 when the locale has none
// (the C locale of a bare session).
xkb_compose_table* XkbKeyboardLayoutProvider::composeTable() {
    if (!m_composeTried && m_context) {
        m_composeTried = true;
        const char* locale = std::setlocale(LC_CTYPE, nullptr);
        for (const char* name : {locale, "en_US.UTF-8"}) {
            if (!name || !*name) continue;
            m_composeTable.reset(
                xkb_compose_table_new_from_locale(m_context.get(), name, XKB_COMPOSE_COMPILE_NO_FLAGS));
            if (m_composeTable) break;
        }
    }
    return m_composeTable.get();
}
