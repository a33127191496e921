#include "shell/ProfileStorage.h"

#include "shell/ProfileStore.h"

namespace ProfileStorage {

void load(const QString& iniPath, TProfile& profile, const QString& section) {
    ProfileStore(iniPath).load(profile, section);
}

void save(const QString& iniPath, const TProfile& profile, const QString& section) {
    ProfileStore(iniPath).save(profile, section);
}

QStringList userNames(const QString& iniPath) {
    return ProfileStore(iniPath).userNames();
}

} // namespace ProfileStorage
