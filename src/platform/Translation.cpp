#include "platform/Translation.h"

#include <clocale>
#include <libintl.h>
#include <locale.h>

namespace {
const char* const kDomain = "quorvel";
}

QString i18n(const char* english) {
    if (!english || !*english) return QString();
    return QString::fromUtf8(dgettext(kDomain, english));
}

QString i18n(const QString& english) {
    if (english.isEmpty()) return english;
    const QByteArray utf8 = english.toUtf8();
    return QString::fromUtf8(dgettext(kDomain, utf8.constData()));
}

// gettext, in glibc and for the system's own texts as well, consults no catalogue while the
// thread's message locale is "C"; a locale of the thread's own leaves the other threads alone.
EnglishMessages::EnglishMessages() : m_english(nullptr), m_previous(nullptr) {
    const locale_t current = duplocale(uselocale(locale_t(0)));
    if (!current) return;
    const locale_t english = newlocale(LC_MESSAGES_MASK, "C", current);
    if (!english) {
        freelocale(current);
        return;
    }
    m_english = english;
    m_previous = uselocale(english);
}

EnglishMessages::~EnglishMessages() {
    if (!m_english) return;
    uselocale(static_cast<locale_t>(m_previous));
    freelocale(static_cast<locale_t>(m_english));
}

QString formatText(const QString& pattern, std::initializer_list<QVariant> args) {
    QString out;
    out.reserve(pattern.size() + 16);
    auto arg = args.begin();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const QChar conversion = pattern[++i];
        if (conversion == u'%') {
            out += u'%';
        } else if (arg == args.end()) {
            out += u'%';
            out += conversion;
        } else if (conversion == u'd') {
            out += QString::number((arg++)->toLongLong());
        } else if (conversion == u'x') {
            out += QString::number((arg++)->toLongLong(), 16);
        } else if (conversion == u's') {
            out += (arg++)->toString();
        } else {
            out += u'%';
            out += conversion;
        }
    }
    return out;
}
