#pragma once

#include <QtGlobal>
#include <span>
#include <vector>

// One keyboard layout the program offers: the identifier and "Layout Text" by which profiles
// and the layout list know it, its layout id (0 for a language's primary layout), the XKB
// layout and variant that type like it, and the locale of its language.
struct XkbLayoutEntry {
    quint32 identifier;
    const char* layoutText;
    quint16 layoutId;
    const char* xkbLayout;
    const char* xkbVariant; // "" for the layout's default variant
    const char* locale;     // QLocale name of the language identifier (low word)
};

// A key where the XKB layout of an identifier types other than the Windows layout of that
// identifier: what the Windows layout types there, in one shift state.
struct XkbKeyOverride {
    quint32 identifier;
    const char* keyName; // the XKB key name, "AE02"
    bool shift;
    bool altGr;
    quint32 keysym; // an XKB keysym: a character or a dead key
};

// The offered layouts, in list order.
std::span<const XkbLayoutEntry> xkbLayoutTable();
// The entry of an identifier, or nullptr.
const XkbLayoutEntry* findXkbLayout(quint32 identifier);
// The entry of an XKB layout and variant, or nullptr.
const XkbLayoutEntry* findXkbLayout(const char* xkbLayout, const char* xkbVariant);
// The keys that the layout of an identifier types otherwise than its XKB layout.
std::vector<XkbKeyOverride> xkbKeyOverrides(quint32 identifier);
// The locale name of a language identifier, or nullptr when no offered layout has that language.
const char* xkbLanguageLocale(quint16 languageId);
