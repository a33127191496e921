#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

// One keyboard layout installed on the machine, described the way the program's profiles name
// layouts: an eight-hex-digit identifier, a readable name and the number that tells a language's
// variant layouts apart (0 for the language's primary layout).
struct InstalledKeyboardLayout {
    quint32 identifier = 0;
    QString name;
    quint16 layoutId = 0;
};

// The locale texts that can be asked of a language identifier.
enum class LocaleText {
    LanguageName, // "English (United States)"
    CountryName,  // "United States"
    LanguageId,   // the language identifier as four hexadecimal digits, "0409"
};

// Where keyboard layouts come from. A loaded layout is known by its handle: the low word is the
// language identifier; the high word equals it for the language's primary layout, otherwise it
// is 0xF000 plus the variant's layout id.
class KeyboardLayoutProvider {
public:
    virtual ~KeyboardLayoutProvider() = default;

    // Every installed layout, in a fixed order.
    virtual std::vector<InstalledKeyboardLayout> installedLayouts() = 0;
    // The handles of the layouts loaded now, in their order.
    virtual std::vector<quint32> loadedLayouts() = 0;
    // The handle of the layout in force for the program.
    virtual quint32 activeLayout() = 0;
    // A locale text of a language identifier; empty when the language is unknown.
    virtual QString localeText(quint16 languageId, LocaleText kind) = 0;
    // Loads the layout named by an identifier text and makes it the program's layout.
    // False, with nothing changed, when the text names no layout that can be used.
    virtual bool activate(const QByteArray& identifierText) = 0;
};

// The handle under which an installed layout is loaded.
inline quint32 keyboardLayoutHandle(quint32 identifier, quint16 layoutId) {
    const quint32 language = identifier & 0xFFFFu;
    const quint32 high = layoutId == 0 ? language : (0xF000u | layoutId);
    return (high << 16) | language;
}

// The provider of this system (XKB). Defined with the XKB provider.
std::unique_ptr<KeyboardLayoutProvider> createSystemKeyboardLayoutProvider();
