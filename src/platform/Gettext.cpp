#include "platform/Gettext.h"

#include <QDir>
#include <QFile>
#include <libintl.h>

extern "C" int _nl_msg_cat_cntr; // glibc's catalogue generation counter

namespace Gettext {

void bindDomains(const QString& appDir) {
    const QByteArray localeDir = QFile::encodeName(QDir(appDir).filePath(QStringLiteral("locale")));
    for (const char* domain : {kProgramDomain, kQtDomain}) {
        bindtextdomain(domain, localeDir.constData());
        bind_textdomain_codeset(domain, "UTF-8");
    }
}

QString qtText(const char* context, const char* sourceText) {
    if (!sourceText || !*sourceText) return QString();
    QByteArray key;
    if (context && *context) {
        key = context;
        key += '\004';
    }
    key += sourceText;
    const char* found = dgettext(kQtDomain, key.constData());
    // dgettext hands back its argument itself when the catalogue has no entry.
    if (found == key.constData()) return QString();
    return QString::fromUtf8(found);
}

void flushCache() {
    ++_nl_msg_cat_cntr;
}

} // namespace Gettext
