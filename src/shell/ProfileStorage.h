#pragma once

#include <QString>
#include <QStringList>

class TProfile;

// One-off calls on the profiles of an ini file ("zqc.ini"), each reading the file afresh; see
// ProfileStore, which a caller that makes several calls keeps instead.
namespace ProfileStorage {

// Fills the profile from the section (a missing section or file gives the defaults). A bad
// number raises EConvertError, with the fields read before it already set.
void load(const QString& iniPath, TProfile& profile, const QString& section);
// Raises EIniFileError when the file cannot be written; it then keeps what it held.
void save(const QString& iniPath, const TProfile& profile, const QString& section);
// The users: the section names in file order.
QStringList userNames(const QString& iniPath);

} // namespace ProfileStorage
