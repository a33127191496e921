#pragma once

#include <QString>

// The six sounds named in section "wav" of "media/media.ini" below the program folder, each a
// full path: <appDir>media/<value>. A missing file or key leaves the media folder itself,
// which plays nothing.
struct MediaSettings {
    QString WordErrFile;
    QString WordOkFile;
    QString DifficultyIncreaseFile;
    QString CityHurtFile;
    QString CityShootFile;
    QString CityMissShootFile;

    // Reads the file once; it is never written.
    static MediaSettings load(const QString& appDir);
};
