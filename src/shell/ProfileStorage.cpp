#include "shell/ProfileStorage.h"

#include "platform/IniFile.h"
#include "settings/Profile.h"

namespace ProfileStorage {

void load(const QString& iniPath, TProfile& profile, const QString& section) {
    TIniFile ini(iniPath);
    profile.FromStrings(ini.ReadSectionValues(section));
}

void save(const QString& iniPath, const TProfile& profile, const QString& section) {
    const QStringList lines = profile.ToStrings();
    TIniFile ini(iniPath);
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        ini.WriteString(section, line.left(eq), line.mid(eq + 1));
    }
}

QStringList userNames(const QString& iniPath) {
    return TIniFile(iniPath).ReadSections();
}

} // namespace ProfileStorage
