#include "shell/MediaSettings.h"

#include "platform/IniFile.h"

MediaSettings MediaSettings::load(const QString& appDir) {
    QString base = appDir;
    if (!base.endsWith(u'/')) base += u'/';
    const QString mediaDir = base + QStringLiteral("media/");
    TIniFile ini(mediaDir + QStringLiteral("media.ini"));
    const QString section = QStringLiteral("wav");
    const auto path = [&](const char* key) {
        // Names written on Windows may use backslashes.
        return mediaDir + ini.ReadString(section, QString::fromLatin1(key), QString()).replace(u'\\', u'/');
    };
    MediaSettings media;
    media.WordErrFile = path("word_err");
    media.WordOkFile = path("word_ok");
    media.CityHurtFile = path("Game_CityHurt");
    media.CityShootFile = path("Game_CityShoot");
    media.CityMissShootFile = path("Game_CityMissShoot");
    media.DifficultyIncreaseFile = path("Game_DifficultyIncrease");
    return media;
}
