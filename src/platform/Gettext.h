#pragma once

#include <QString>

// The program's catalogues: "quorvel" for its own messages (looked up by i18n()) and
// "quorvel-qt" for the texts Qt itself shows (standard buttons and the like). Both live in
// <program folder>/locale/<language>/LC_MESSAGES/<domain>.mo.
namespace Gettext {

inline constexpr const char* kProgramDomain = "quorvel";
inline constexpr const char* kQtDomain = "quorvel-qt";

// Points both domains at <appDir>/locale and asks for UTF-8 text from them.
void bindDomains(const QString& appDir);

// The largest catalogue read; the program's own are a few dozen kilobytes.
constexpr qint64 MaxCatalogueSize = 8 * 1024 * 1024;

// gettext opens the catalogues itself and would wait for good on a pipe or a device in their
// place. So the catalogues it would open for `language` below <appDir>/locale are read through the
// reader (regular files of at most MaxCatalogueSize bytes), copied below <copyDir>/locale, and
// both domains are bound there. Raises EInOutError with the reader's message when a catalogue is
// refused; both domains are then bound to the copies made so far, and the caller runs in English.
void bindPrivateCopies(const QString& appDir, const QString& language, const QString& copyDir);

// The translation of a Qt text from the second domain, looked up under its context the way
// msgfmt stores a msgctxt (context, byte 4, text); a null string when there is none.
QString qtText(const char* context, const char* sourceText);

// Makes gettext forget what it has cached, after the language changed during the run.
void flushCache();

} // namespace Gettext
