#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <stdexcept>
#include <vector>

// A keyboard layout as its readable description states it (format: README.md beside this file).
// Characters are already Windows-1252 codes; positions are already pixels of the keyboard frame.

// Fingers in the order of the readme's finger values: left little .. thumb, right little .. thumb.
inline constexpr int FingerValueCount = 10;
inline constexpr int NoFinger = 10;

struct FingerDescription {
    bool defined = false;
    int length = 0;
    int x = 0;
    QColor color;
};

// What a key gives at one level (plain, Shift, AltGr): nothing, a character or a dead key.
struct KeyLevel {
    enum class Kind { None, Character, DeadKey };
    Kind kind = Kind::None;
    unsigned char code = 0; // Character: its code
    int deadKind = 0;       // DeadKey: 2001..2008
};

enum LevelIndex { PlainLevel = 0, ShiftLevel = 1, AltGrLevel = 2, LevelCount = 3 };

struct KeyDescription {
    int line = 0;
    QString name;
    int value = 0;
    int kind = 0;
    int kind2 = 0;
    int finger = NoFinger; // key-table finger code: 0..4 left little..thumb, 5..9 right thumb..little
    int x = 0, y = 0, width = 0, height = 0;
    QString label; // caption drawn on keys that give no visible character
    QString hint;
    std::array<KeyLevel, LevelCount> levels;
};

struct DeadKeyDescription {
    int line = 0;
    int kind = 0;              // 2001..2008
    unsigned char spacing = 0; // what the dead key gives before a space (0: nothing)
    std::vector<std::pair<unsigned char, unsigned char>> combinations; // base letter -> result
};

struct LayoutDescription {
    QString author;
    QString misc;
    QColor background;
    std::array<FingerDescription, FingerValueCount> fingers;
    std::vector<KeyDescription> keys;
    std::vector<DeadKeyDescription> deadKeys;

    const DeadKeyDescription* deadKey(int kind) const;
};

class LayoutDescriptionError : public std::runtime_error {
public:
    LayoutDescriptionError(int line, const QString& message);
    int line() const { return m_line; }
    const QString& message() const { return m_message; }

private:
    int m_line;
    QString m_message;
};

// Reads a whole description (UTF-8 text). Raises LayoutDescriptionError naming the first faulty line.
LayoutDescription parseLayoutDescription(const QString& text);

// The names of the readme's finger values, in readme order (those of the layout data module).
const std::array<const char*, FingerValueCount>& fingerValueNames();
// Readme position (0..9) of a key-table finger code (0..9).
int fingerValueIndex(int fingerCode);
