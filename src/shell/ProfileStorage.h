#pragma once

#include <QString>
#include <QStringList>

class TProfile;

// Profiles kept as sections of one ini file ("zqc.ini"): the section is the user name, matched
// without regard to letter case; a save writes the record key by key into the section and
// never clears it, so keys the record does not carry keep their values; a new user's section
// goes to the end of the file. Each call opens the file afresh.
namespace ProfileStorage {

// Fills the profile from the section (a missing section or file gives the defaults). A bad
// number raises EConvertError, with the fields read before it already set.
void load(const QString& iniPath, TProfile& profile, const QString& section);
// Raises EIniFileError when the file cannot be written; keys written before stay written.
void save(const QString& iniPath, const TProfile& profile, const QString& section);
// The users: the section names in file order.
QStringList userNames(const QString& iniPath);

} // namespace ProfileStorage
