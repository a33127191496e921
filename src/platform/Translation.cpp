#include "platform/Translation.h"

#include <libintl.h>

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
