#pragma once

#include <QtGlobal>
#include <span>

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

// The offered layouts, in list order.
std::span<const XkbLayoutEntry> xkbLayoutTable();
// The entry of an identifier, or nullptr.
const XkbLayoutEntry* findXkbLayout(quint32 identifier);
// The entry of an XKB layout and variant, or nullptr.
const XkbLayoutEntry* findXkbLayout(const char* xkbLayout, const char* xkbVariant);
// The locale name of a language identifier, or nullptr when no offered layout has that language.
const char* xkbLanguageLocale(quint16 languageId);
