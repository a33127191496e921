#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

class TProfile;

// Profiles kept as sections of one ini file ("zqc.ini"): the section is the user name, matched
// without regard to letter case. A save writes the record's keys into the section in record
// order and puts the file in place once, so a reader or a crash sees the old or the new
// section, never a mixture; the section is never cleared, so keys the record does not carry
// keep their values; a new user's section goes to the end of the file.
//
// The store keeps the file as it read it and reads it again only when it has changed on disk:
// the logon list and the chosen user's profile cost one reading of the file. A save reads it
// afresh under a lock and writes it once, so a save of another program is never undone.
class ProfileStore {
public:
    explicit ProfileStore(QString iniPath);

    const QString& path() const { return m_ini.FileName(); }

    // The users: the section names in file order.
    QStringList userNames();
    // Why the file could not be read, when it is there but unusable; empty otherwise.
    QString readProblem() { return m_ini.ReadProblem(); }
    // Fills the profile from the section (a missing section or file gives the defaults). A bad
    // number raises EConvertError, with the fields read before it already set.
    void load(TProfile& profile, const QString& section);
    // Raises EIniFileError when the file cannot be written; it then keeps what it held.
    void save(const TProfile& profile, const QString& section);

private:
    TIniFile m_ini;
};
