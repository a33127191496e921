#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Chooses the language of the run and tells gettext about it.
namespace Language {

// Whether a code can name a catalogue folder: letters, digits and "_@.-", no "..", at most
// 32 characters. Anything else (a path, an option) is never handed to gettext.
bool isValidCode(const QString& code);

// The language asked for: the first command-line argument (arguments[0] is the program),
// else the first of LANGUAGE, LC_ALL, LC_MESSAGES, LANG that names a language (not "C" or
// "POSIX"; of LANGUAGE's colon-separated list the first entry), else systemName.
// An empty result means English, the program's own language.
QString choose(const QStringList& arguments, const std::function<QString(const char*)>& environment,
               const QString& systemName);

// The code reduced to what names a catalogue: "de_DE.UTF-8" gives "de_DE"; "C" and "POSIX"
// give an empty text.
QString catalogueCode(const QString& code);

// Makes gettext answer in the language: sets LANGUAGE (gettext's own list, which names
// "de_DE" before "de") and, where the message locale is C or POSIX (in which glibc ignores
// LANGUAGE), switches the messages to C.UTF-8. Call after the QApplication exists, whose
// constructor sets the locale from the environment. An empty code keeps English.
void apply(const QString& code);

// Reads the process environment, for choose().
QString environmentValue(const char* name);

} // namespace Language
