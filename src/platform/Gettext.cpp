#include "platform/Gettext.h"

#include "platform/Errors.h"
#include "platform/RegularFile.h"
#include "platform/Translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
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

namespace {
// The folder names gettext tries for a language: language[_territory][@modifier] with and without
// the territory and the modifier.
QStringList catalogueFolders(const QString& language) {
    const qsizetype at = language.indexOf(u'@');
    const QString modifier = at >= 0 ? language.mid(at) : QString();
    const QString base = at >= 0 ? language.left(at) : language;
    const qsizetype underscore = base.indexOf(u'_');
    QStringList folders;
    for (const QString& name : {base, underscore > 0 ? base.left(underscore) : QString()}) {
        if (name.isEmpty()) continue;
        if (!modifier.isEmpty()) folders << name + modifier;
        folders << name;
    }
    folders.removeDuplicates();
    return folders;
}
} // namespace

void bindPrivateCopies(const QString& appDir, const QString& language, const QString& copyDir) {
    bindDomains(copyDir);
    if (language.isEmpty()) return;
    for (const QString& folder : catalogueFolders(language)) {
        for (const char* domain : {kProgramDomain, kQtDomain}) {
            const QString name =
                QStringLiteral("locale/%1/LC_MESSAGES/%2.mo").arg(folder, QLatin1String(domain));
            const QString source = QDir(appDir).filePath(name);
            // Looking at the name opens nothing; a name that is not there is a language without it.
            if (!QFileInfo(source).exists() && !QFileInfo(source).isSymLink()) continue;
            const QByteArray bytes = RegularFile::read(source, MaxCatalogueSize);
            const QString copy = QDir(copyDir).filePath(name);
            if (!QDir().mkpath(QFileInfo(copy).path()) || !RegularFile::write(copy, bytes))
                throw EInOutError(
                    formatText(i18n("Unable to write to %s"), {QDir::toNativeSeparators(copy)}));
        }
    }
    flushCache();
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
