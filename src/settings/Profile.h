#pragma once

#include "settings/FontValue.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class TProfile;

// Stores a profile under a name, or fills it from what is stored under a name. The holder of a
// profile supplies both; an empty one does nothing.
using TProfileNameEvent = std::function<void(TProfile* Sender, const QString& Name)>;

// One user's profile. It converts itself to and from a record of 37 "key=value" lines and is
// stored and read through OnSave and OnLoad.
class TProfile : public QObject {
public:
    explicit TProfile(QObject* AOwner = nullptr);
    ~TProfile() override;

    // The record, in its fixed order.
    QStringList ToStrings() const;
    // Sets the fields from a record. A value that is neither empty nor an integer where one is
    // expected raises EConvertError "'<value>' is not a valid integer value"; the fields set
    // before it keep their new values, the later ones their old.
    void FromStrings(const QStringList& List);
    // Everything the record holds, but with progress, practice time and scores at 0.
    void AssignTemplate(const TProfile& Source);

    void Load() { DoLoad(UserName); }
    void Save() { DoSave(UserName); }
    void DoLoad(const QString& Name);
    void DoSave(const QString& Name);

    void SetPracticeFont(const TFontValue& Font) { PracticeFont = Font; }
    void SetTextFont(const TFontValue& Font) { TextFont = Font; }
    void SetGameFont(const TFontValue& Font) { GameFont = Font; }

    TProfileNameEvent OnSave;
    TProfileNameEvent OnLoad;
    TFontValue PracticeFont;
    TFontValue GameFont;
    TFontValue TextFont;
    QString UserName;
    bool FullScreen = false;
    int32_t BgColor = 0;
    QString Course;
    int32_t Progress = 0;
    int32_t TimeTotal = 0; // milliseconds
    QString HelpFile;
    bool HighLight = false;
    bool Blinking = false;
    int32_t GameBgColor = 0;
    bool FunSpeed = false;
    bool GameEnabled = false;
    bool DrillSoundEnabled = false;
    bool GameSoundEnabled = false;
    bool PopupAtEnd = false;
    int32_t GScore1 = 0;
    int32_t GScore2 = 0;
    int32_t GScore3 = 0;
    int32_t GScore4 = 0;
    int32_t GScore5 = 0;
    QString KeyboardLayout;

    // Values an empty record gives.
    static constexpr int32_t DefaultBgColor = 8421504; // grey, 128 each
    static constexpr int32_t DefaultFontSize = 10;
    static constexpr const char* DefaultFontName = "courier";
    static constexpr const char* DefaultHelpFile = "zqhelp.chm";
    static constexpr const char* DefaultKeyboardLayout = "00000409";
};
