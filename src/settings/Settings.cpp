#include "settings/Settings.h"

#include "platform/IniFile.h"

#include <QCoreApplication>

TSettings* Settings = nullptr;

namespace {
QString withSlash(QString dir) {
    if (!dir.endsWith(u'/')) dir += u'/';
    return dir;
}
} // namespace

TSettings::TSettings(QObject* AOwner) : TSettings(AOwner, QCoreApplication::applicationDirPath()) {}

TSettings::TSettings(QObject* AOwner, const QString& appDir) : QObject(AOwner), AppDir(withSlash(appDir)) {}

void TSettings::Load() {
    TIniFile ini(iniPath());
    const QString section = QString::fromLatin1(Section);
    UserName = ini.ReadString(section, QStringLiteral("User"), QStringLiteral("Default"));
    RestoreLayout = ini.ReadBool(section, QStringLiteral("ToRestoreLayout"), true);
    FontName = ini.ReadString(section, QStringLiteral("FontName"), QStringLiteral("Arial"));
    FontCharset = ini.ReadInteger(section, QStringLiteral("FontCharset"), 1);
}

void TSettings::Save() {
    TIniFile ini(iniPath());
    const QString section = QString::fromLatin1(Section);
    ini.WriteString(section, QStringLiteral("User"), UserName);
    ini.WriteBool(section, QStringLiteral("ToRestoreLayout"), RestoreLayout);
    ini.WriteString(section, QStringLiteral("FontName"), FontName);
    ini.WriteInteger(section, QStringLiteral("FontCharset"), FontCharset);
}
