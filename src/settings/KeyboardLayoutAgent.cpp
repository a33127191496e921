#include "settings/KeyboardLayoutAgent.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/Translation.h"

TKeyboardLayoutAgent::TKeyboardLayoutAgent(QObject* owner)
    : TKeyboardLayoutAgent(createSystemKeyboardLayoutProvider(), owner) {}

TKeyboardLayoutAgent::TKeyboardLayoutAgent(std::unique_ptr<KeyboardLayoutProvider> provider, QObject* owner)
    : QObject(owner), Layouts(std::make_unique<KeyboardLayoutList>(std::move(provider))) {
    SetStartLayoutName(Layouts->variationName(Layouts->activeHandle()));
}

TKeyboardLayoutAgent::~TKeyboardLayoutAgent() = default;

void TKeyboardLayoutAgent::Refresh() {
    Layouts->refresh();
    BuildLayoutNames();
    BuildInfo();
}

void TKeyboardLayoutAgent::BuildLayoutNames() {
    LayoutNames.clear();
    for (const InstalledKeyboardLayout& layout : Layouts->installed())
        LayoutNames.append(layout.name + QStringLiteral(" - ") +
                           QString::fromLatin1(KeyboardLayoutList::identifierText(layout.identifier)));
}

void TKeyboardLayoutAgent::BuildInfo() {
    InfoLines.clear();
    InfoLines.append(i18n("Loaded input locale identifiers:"));
    for (quint32 handle : Layouts->loaded())
        InfoLines.append(QStringLiteral("  ") + Layouts->displayName(handle) + QStringLiteral(" = ") +
                         Layouts->variationName(handle) + QLatin1Char('-') +
                         Layouts->localeText(handle, LocaleText::LanguageId));
    InfoLines.append(i18n("Current locale identifiers:"));
    // With no layout reported active, handle 0 describes nothing and the values stay empty.
    const quint32 active = Layouts->activeHandle();
    InfoLines.append(i18n("  Display name: ") + Layouts->displayName(active));
    InfoLines.append(i18n("  Variantion name: ") + Layouts->variationName(active));
    InfoLines.append(i18n("  Language: ") + Layouts->localeText(active, LocaleText::LanguageName));
    InfoLines.append(i18n("  Country: ") + Layouts->localeText(active, LocaleText::CountryName));
}

bool TKeyboardLayoutAgent::ActivateLayout(const QString& identifier) {
    if (!Layouts->activate(CodePage::fromUnicode(identifier))) return false;
    CurrentLayoutId = identifier;
    return true;
}

bool TKeyboardLayoutAgent::ActivateLayoutByIndex(int index) {
    const auto& installed = Layouts->installed();
    if (index < 0 || size_t(index) >= installed.size())
        throw QuorvelError(formatText(QStringLiteral("List index out of bounds (%d)"), {index}));
    return ActivateLayout(
        QString::fromLatin1(KeyboardLayoutList::identifierText(installed[size_t(index)].identifier)));
}

int TKeyboardLayoutAgent::IndexOfLayout(const QString& identifier) const {
    const auto& installed = Layouts->installed();
    for (size_t i = 0; i < installed.size(); ++i)
        if (QString::fromLatin1(KeyboardLayoutList::identifierText(installed[i].identifier)) == identifier)
            return int(i);
    return -1;
}
