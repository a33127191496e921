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

// The translation of a Qt text from the second domain, looked up under its context the way
// msgfmt stores a msgctxt (context, byte 4, text); a null string when there is none.
QString qtText(const char* context, const char* sourceText);

// Makes gettext forget what it has cached, after the language changed during the run.
void flushCache();

} // namespace Gettext
