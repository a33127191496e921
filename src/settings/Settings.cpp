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

QString TSettings::readProblem() const {
    return TIniFile(iniPath()).ReadProblem();
}

void TSettings::Save() {
    // One write: a first save never leaves a file with only some of the keys.
    TIniFile ini(iniPath());
    ini.WriteSectionValues(QString::fromLatin1(Section),
                           {QStringLiteral("User=") + UserName,
                            QStringLiteral("ToRestoreLayout=") + (RestoreLayout ? u'1' : u'0'),
                            QStringLiteral("FontName=") + FontName,
                            QStringLiteral("FontCharset=") + QString::number(FontCharset)});
}
