#include "game/GameSpeedFile.h"

#include "game/GameSettings.h"
#include "platform/StrictInt.h"

#include <QFile>
#include <QHash>

namespace {

// The name=value pairs of one section, names in lower case (names match without regard to
// case; the first occurrence of a name counts).
QHash<QByteArray, QByteArray> readSection(const QString& path, const QByteArray& section) {
    QHash<QByteArray, QByteArray> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return values;
    bool inSection = false;
    const QByteArray wanted = section.toLower();
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            const int end = line.indexOf(']');
            inSection = end > 0 && line.mid(1, end - 1).trimmed().toLower() == wanted;
            continue;
        }
        const int eq = line.indexOf('=');
        if (!inSection || eq <= 0) continue;
        const QByteArray name = line.left(eq).trimmed().toLower();
        if (!values.contains(name)) values.insert(name, line.mid(eq + 1).trimmed());
    }
    return values;
}

int32_t readInteger(const QHash<QByteArray, QByteArray>& values, const char* name, int32_t fallback) {
    const auto it = values.constFind(QByteArray(name).toLower());
    if (it == values.constEnd()) return fallback;
    return tryStrToInt(std::string_view(it->constData(), size_t(it->size()))).value_or(fallback);
}

} // namespace

void LoadGameSettings(const QString& iniPath) {
    const auto values = readSection(iniPath, "General");
    game::NewWordSpeed = readInteger(values, "NewWordSpeed", 3500);
    game::NewWordSpeedBy = readInteger(values, "NewWordSpeedBy", 250);
    game::DropSpeed = readInteger(values, "DropSpeed", 250);
    game::DropSpeedBy = readInteger(values, "DropSpeedBy", 20);
}
