#include "platform/Language.h"

#include "platform/Gettext.h"

#include <clocale>
#include <cstdlib>

namespace Language {

namespace {

bool namesNoLanguage(const QString& code) {
    return code.isEmpty() || code == QLatin1String("C") || code == QLatin1String("POSIX") ||
           code.startsWith(QLatin1String("C.")) || code.startsWith(QLatin1String("POSIX."));
}

bool isPlainCLocale(const char* name) {
    if (!name) return true;
    const QString locale = QString::fromLatin1(name);
    return namesNoLanguage(locale);
}

} // namespace

bool isValidCode(const QString& code) {
    if (code.isEmpty() || code.size() > 32 || code.contains(QLatin1String("..")) || code.startsWith(u'-') ||
        code.startsWith(u'.'))
        return false;
    for (const QChar c : code) {
        const char16_t u = c.unicode();
        const bool letterOrDigit = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9');
        if (!letterOrDigit && u != '_' && u != '@' && u != '.' && u != '-') return false;
    }
    return true;
}

QString catalogueCode(const QString& code) {
    QString result = code;
    const qsizetype dot = result.indexOf(u'.');
    if (dot >= 0) {
        // "de_DE.UTF-8@euro" keeps its modifier: "de_DE@euro".
        const qsizetype at = result.indexOf(u'@', dot);
        result = result.left(dot) + (at >= 0 ? result.mid(at) : QString());
    }
    if (namesNoLanguage(code) || namesNoLanguage(result)) return QString();
    return result;
}

QString choose(const QStringList& arguments, const std::function<QString(const char*)>& environment,
               const QString& systemName) {
    if (arguments.size() > 1) {
        const QString& wanted = arguments.at(1);
        return isValidCode(wanted) ? catalogueCode(wanted) : QString();
    }
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        QString value = environment(name);
        if (qstrcmp(name, "LANGUAGE") == 0) value = value.section(u':', 0, 0);
        if (!namesNoLanguage(value) && isValidCode(value)) return catalogueCode(value);
    }
    return isValidCode(systemName) ? catalogueCode(systemName) : QString();
}

void apply(const QString& code) {
    if (code.isEmpty()) {
        // English: no catalogue is consulted at all.
        setenv("LANGUAGE", "C", 1);
    } else {
        QString list = code;
        const qsizetype underscore = code.indexOf(u'_');
        if (underscore > 0) list += u':' + code.left(underscore);
        setenv("LANGUAGE", list.toLatin1().constData(), 1);
        if (isPlainCLocale(std::setlocale(LC_MESSAGES, nullptr))) std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    Gettext::flushCache();
}

QString environmentValue(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

} // namespace Language
