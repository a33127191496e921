#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

// The program-wide settings, kept in section "General" of "zq.ini" in the program folder.
class TSettings : public QObject {
public:
    // AppDir becomes the folder of the executable with a trailing "/"; the other fields stay
    // empty until Load.
    explicit TSettings(QObject* AOwner = nullptr);
    // The same with another program folder (a trailing "/" is added when missing).
    TSettings(QObject* AOwner, const QString& appDir);

    virtual void Load();
    // Writes the four keys with one write of the file. Raises EIniFileError when the file cannot
    // be written, which then keeps what it held.
    virtual void Save();

    // Why "zq.ini", present, was read as empty (no regular file, or too large); empty when it was
    // read or is missing. Such a file is never written over.
    QString readProblem() const;

    QString iniPath() const { return AppDir + QStringLiteral("zq.ini"); }

    QString AppDir;
    bool RestoreLayout = false;
    QString UserName;
    QString FontName;
    int32_t FontCharset = 0; // its users take the low byte

    static constexpr const char* Section = "General";
};

// The one settings object of a run: start-up creates and loads it before any window.
extern TSettings* Settings;
