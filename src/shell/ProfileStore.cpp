#include "shell/ProfileStore.h"

#include "settings/Profile.h"

ProfileStore::ProfileStore(QString iniPath) : m_ini(std::move(iniPath)) {}

QStringList ProfileStore::userNames() {
    return m_ini.ReadSections();
}

void ProfileStore::load(TProfile& profile, const QString& section) {
    // The record's own keys: other lines of the section are never read, however many.
    static const QStringList keys = [] {
        QStringList names;
        for (const QString& line : TProfile().ToStrings())
            names << line.section(u'=', 0, 0);
        return names;
    }();
    profile.FromStrings(m_ini.ReadSectionValues(section, keys));
}

void ProfileStore::save(const TProfile& profile, const QString& section) {
    m_ini.WriteSectionValues(section, profile.ToStrings());
    // On the device before the caller goes on, as when each save had a file object of its own.
    m_ini.UpdateFile();
}
