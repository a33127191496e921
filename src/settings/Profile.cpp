#include "settings/Profile.h"

#include "platform/StrictInt.h"

namespace {

QString BoolTo01(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

int32_t IntOrDefault(const QString& text, int32_t defaultValue) {
    return text.isEmpty() ? defaultValue : StrToInt(text);
}

QString StrOrDefault(const QString& text, const char* defaultValue) {
    return text.isEmpty() ? QString::fromLatin1(defaultValue) : text;
}

// The value of the first line whose text before its first "=" is the key, in any letter case;
// empty when no line names the key.
QString valueOf(const QStringList& list, QLatin1StringView key) {
    for (const QString& line : list) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return QString();
}

void writeFont(QStringList& out, const char* prefix, const TFontValue& font, bool allStyles) {
    const QString p = QString::fromLatin1(prefix);
    out << p + QStringLiteral("Name=") + font.Name;
    out << p + QStringLiteral("Size=") + QString::number(font.Size);
    out << p + QStringLiteral("Color=") + QString::number(font.Color);
    out << p + QStringLiteral("Bold=") + BoolTo01(font.Bold);
    out << p + QStringLiteral("Italic=") + BoolTo01(font.Italic);
    if (allStyles) {
        out << p + QStringLiteral("UnderLine=") + BoolTo01(font.Underline);
        out << p + QStringLiteral("StrikeOut=") + BoolTo01(font.StrikeOut);
    }
}

// Reads a font in record order. Each attribute is set as soon as it is read, so a bad size
// leaves the name already changed.
void readFont(const QStringList& list, const char* prefix, TFontValue& font, bool allStyles) {
    const QByteArray p(prefix);
    const auto value = [&](const char* attribute) {
        const QByteArray key = p + attribute;
        return valueOf(list, QLatin1StringView(key));
    };
    font.Name = StrOrDefault(value("Name"), TProfile::DefaultFontName);
    font.Size = IntOrDefault(value("Size"), TProfile::DefaultFontSize);
    font.Color = IntOrDefault(value("Color"), 0);
    font.Bold = value("Bold") == u"1";
    font.Italic = value("Italic") == u"1";
    if (allStyles) {
        font.Underline = value("UnderLine") == u"1";
        font.StrikeOut = value("StrikeOut") == u"1";
    }
}

} // namespace

TProfile::TProfile(QObject* AOwner) : QObject(AOwner) {}

TProfile::~TProfile() = default;

QStringList TProfile::ToStrings() const {
    QStringList out;
    out.reserve(37);
    out << QStringLiteral("FullScreen=") + BoolTo01(FullScreen);
    out << QStringLiteral("BgColor=") + QString::number(BgColor);
    out << QStringLiteral("Course=") + Course;
    out << QStringLiteral("Progress=") + QString::number(Progress);
    out << QStringLiteral("TimeTotal=") + QString::number(TimeTotal);
    out << QStringLiteral("KeyboardLayout=") + KeyboardLayout;
    writeFont(out, "PracticeFont", PracticeFont, false);
    writeFont(out, "TextFont", TextFont, false);
    writeFont(out, "GameFont", GameFont, true);
    out << QStringLiteral("GameBgColor=") + QString::number(GameBgColor);
    out << QStringLiteral("FunSpeed=") + BoolTo01(FunSpeed);
    out << QStringLiteral("HelpFile=") + HelpFile;
    out << QStringLiteral("HighLight=") + BoolTo01(HighLight);
    out << QStringLiteral("Blinking=") + BoolTo01(Blinking);
    out << QStringLiteral("GameEnabled=") + BoolTo01(GameEnabled);
    out << QStringLiteral("GameSoundEnabled=") + BoolTo01(GameSoundEnabled);
    out << QStringLiteral("DrillSoundEnabled=") + BoolTo01(DrillSoundEnabled);
    out << QStringLiteral("PopupAtEnd=") + BoolTo01(PopupAtEnd);
    out << QStringLiteral("GScore1=") + QString::number(GScore1);
    out << QStringLiteral("GScore2=") + QString::number(GScore2);
    out << QStringLiteral("GScore3=") + QString::number(GScore3);
    out << QStringLiteral("GScore4=") + QString::number(GScore4);
    out << QStringLiteral("GScore5=") + QString::number(GScore5);
    return out;
}

void TProfile::FromStrings(const QStringList& List) {
    const auto value = [&List](const char* key) { return valueOf(List, QLatin1StringView(key)); };
    const auto flag = [&](const char* key) { return value(key) == u"1"; };

    FullScreen = flag("FullScreen");
    BgColor = IntOrDefault(value("BgColor"), DefaultBgColor);
    Course = value("Course");
    Progress = IntOrDefault(value("Progress"), 0);
    TimeTotal = IntOrDefault(value("TimeTotal"), 0);
    KeyboardLayout = StrOrDefault(value("KeyboardLayout"), DefaultKeyboardLayout);

    readFont(List, "PracticeFont", PracticeFont, false);
    readFont(List, "TextFont", TextFont, false);

    HelpFile = StrOrDefault(value("HelpFile"), DefaultHelpFile);
    HighLight = flag("HighLight");
    Blinking = flag("Blinking");

    readFont(List, "GameFont", GameFont, true);

    GameBgColor = IntOrDefault(value("GameBgColor"), 0);
    FunSpeed = flag("FunSpeed");
    GameEnabled = flag("GameEnabled");
    GameSoundEnabled = flag("GameSoundEnabled");
    DrillSoundEnabled = flag("DrillSoundEnabled");
    PopupAtEnd = flag("PopupAtEnd");

    GScore1 = IntOrDefault(value("GScore1"), 0);
    GScore2 = IntOrDefault(value("GScore2"), 0);
    GScore3 = IntOrDefault(value("GScore3"), 0);
    GScore4 = IntOrDefault(value("GScore4"), 0);
    GScore5 = IntOrDefault(value("GScore5"), 0);
}

void TProfile::AssignTemplate(const TProfile& Source) {
    FromStrings(Source.ToStrings());
    Progress = 0;
    TimeTotal = 0;
    GScore1 = GScore2 = GScore3 = GScore4 = GScore5 = 0;
}

void TProfile::DoLoad(const QString& Name) {
    if (OnLoad) OnLoad(this, Name);
}

void TProfile::DoSave(const QString& Name) {
    if (OnSave) OnSave(this, Name);
}
