#include "platform/XkbLayoutTable.h"

#include <cstring>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

// Identifiers, names and layout ids as profiles written on other systems carry them, so that a
// stored "KeyboardLayout" finds the layout that types the same characters here.
constexpr XkbLayoutEntry table[] = {
    {0x00000409, "US", 0x0000, "us", "", "en_US"},
    {0x00020409, "United States-International", 0x0001, "us", "intl", "en_US"},
    {0x00010409, "United States-Dvorak", 0x0002, "us", "dvorak", "en_US"},
    {0x00000809, "United Kingdom", 0x0000, "gb", "", "en_GB"},
    {0x00000452, "United Kingdom Extended", 0x0000, "gb", "extd", "cy_GB"},
    {0x00001809, "Irish", 0x0000, "ie", "", "en_IE"},
    {0x00000407, "German", 0x0000, "de", "", "de_DE"},
    {0x00000807, "Swiss German", 0x0000, "ch", "", "de_CH"},
    {0x0000100C, "Swiss French", 0x0000, "ch", "fr", "fr_CH"},
    {0x0000040C, "French", 0x0000, "fr", "", "fr_FR"},
    {0x0000080C, "Belgian French", 0x0000, "be", "", "fr_BE"},
    {0x00001009, "Canadian French", 0x0000, "ca", "", "en_CA"},
    {0x00000C0C, "Canadian French (Legacy)", 0x0000, "ca", "fr-legacy", "fr_CA"},
    {0x00011009, "Canadian Multilingual Standard", 0x0020, "ca", "multix", "en_CA"},
    {0x00000410, "Italian", 0x0000, "it", "", "it_IT"},
    {0x0000040A, "Spanish", 0x0000, "es", "", "es_ES"},
    {0x0000080A, "Latin American", 0x0000, "latam", "", "es_MX"},
    {0x00000816, "Portuguese", 0x0000, "pt", "", "pt_PT"},
    {0x00000416, "Portuguese (Brazilian ABNT)", 0x0000, "br", "", "pt_BR"},
    {0x00000413, "Dutch", 0x0000, "nl", "", "nl_NL"},
    {0x00000813, "Belgian (Period)", 0x0000, "be", "", "nl_BE"},
    {0x00000406, "Danish", 0x0000, "dk", "", "da_DK"},
    {0x00000414, "Norwegian", 0x0000, "no", "", "nb_NO"},
    {0x0000041D, "Swedish", 0x0000, "se", "", "sv_SE"},
    {0x0000040B, "Finnish", 0x0000, "fi", "", "fi_FI"},
    {0x0000040F, "Icelandic", 0x0000, "is", "", "is_IS"},
    {0x00000415, "Polish (Programmers)", 0x0000, "pl", "", "pl_PL"},
    {0x00010415, "Polish (214)", 0x0004, "pl", "qwertz", "pl_PL"},
    {0x00000405, "Czech", 0x0000, "cz", "", "cs_CZ"},
    {0x00010405, "Czech (QWERTY)", 0x0005, "cz", "qwerty", "cs_CZ"},
    {0x0000041B, "Slovak", 0x0000, "sk", "", "sk_SK"},
    {0x0001041B, "Slovak (QWERTY)", 0x0006, "sk", "qwerty", "sk_SK"},
    {0x0000040E, "Hungarian", 0x0000, "hu", "", "hu_HU"},
    {0x0001040E, "Hungarian 101-key", 0x0006, "hu", "101_qwertz_comma_dead", "hu_HU"},
    {0x00000424, "Slovenian", 0x0000, "si", "", "sl_SI"},
    {0x0000041A, "Croatian", 0x0000, "hr", "", "hr_HR"},
    {0x00000418, "Romanian", 0x0000, "ro", "", "ro_RO"},
    {0x00000425, "Estonian", 0x0000, "ee", "", "et_EE"},
    {0x00000426, "Latvian", 0x0000, "lv", "", "lv_LV"},
    {0x00010426, "Latvian (QWERTY)", 0x0015, "lv", "apostrophe", "lv_LV"},
    {0x00000427, "Lithuanian IBM", 0x0000, "lt", "ibm", "lt_LT"},
    {0x00010427, "Lithuanian", 0x0014, "lt", "", "lt_LT"},
    {0x00000408, "Greek", 0x0000, "gr", "", "el_GR"},
    {0x0000041F, "Turkish Q", 0x0000, "tr", "", "tr_TR"},
    {0x0001041F, "Turkish F", 0x0014, "tr", "f", "tr_TR"},
    {0x00000419, "Russian", 0x0000, "ru", "", "ru_RU"},
    {0x00010419, "Russian (Typewriter)", 0x0008, "ru", "typewriter", "ru_RU"},
    {0x00000422, "Ukrainian", 0x0000, "ua", "", "uk_UA"},
    {0x00000402, "Bulgarian", 0x0000, "bg", "", "bg_BG"},
};

// French (0000040C) has a dead tilde on AltGr+2 and a dead grave on AltGr+7; XKB's "fr" types the
// spacing characters there at once, so ã, ñ, ò or À could not be typed as the layout teaches.
constexpr XkbKeyOverride overrides[] = {
    {0x0000040C, "AE02", false, true, XKB_KEY_dead_tilde},
    {0x0000040C, "AE07", false, true, XKB_KEY_dead_grave},
};

} // namespace

std::span<const XkbLayoutEntry> xkbLayoutTable() {
    return table;
}

const XkbLayoutEntry* findXkbLayout(quint32 identifier) {
    for (const XkbLayoutEntry& entry : table)
        if (entry.identifier == identifier) return &entry;
    return nullptr;
}

const XkbLayoutEntry* findXkbLayout(const char* xkbLayout, const char* xkbVariant) {
    const char* variant = xkbVariant ? xkbVariant : "";
    for (const XkbLayoutEntry& entry : table)
        if (std::strcmp(entry.xkbLayout, xkbLayout) == 0 && std::strcmp(entry.xkbVariant, variant) == 0)
            return &entry;
    return nullptr;
}

std::vector<XkbKeyOverride> xkbKeyOverrides(quint32 identifier) {
    std::vector<XkbKeyOverride> found;
    for (const XkbKeyOverride& key : overrides)
        if (key.identifier == identifier) found.push_back(key);
    return found;
}

const char* xkbLanguageLocale(quint16 languageId) {
    for (const XkbLayoutEntry& entry : table)
        if ((entry.identifier & 0xFFFFu) == languageId) return entry.locale;
    return nullptr;
}
