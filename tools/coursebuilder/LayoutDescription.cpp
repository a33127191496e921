#include "LayoutDescription.h"

#include "platform/CodePage.h"
#include "settings/DataMod.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace {

// Key-table finger codes by name: the left hand counts from the little finger, the right hand
// from the thumb.
const std::map<QString, int> kFingerCodes = {
    {"LLittle", 0}, {"LRing", 1},  {"LMiddle", 2}, {"LIndex", 3}, {"LThumb", 4},
    {"RThumb", 5},  {"RIndex", 6}, {"RMiddle", 7}, {"RRing", 8},  {"RLittle", 9},
};

const std::map<QString, int> kDeadKinds = {
    {"Grave", 2001},  {"Acute", 2002}, {"Circumflex", 2003}, {"Tilde", 2004},
    {"Umlaut", 2005}, {"Ring", 2006},  {"Ese", 2007},        {"Cedilia", 2008},
};

const std::map<QString, int> kKindNames = {
    {"letter", 1},  {"char", 2},     {"space", 3},     {"Backspace", 8}, {"CapsLock", 20},
    {"Delete", 46}, {"AltGr", 1000}, {"LShift", 1002}, {"RShift", 1003},
};

bool isDeadKind(int kind) {
    return kind >= 2001 && kind <= 2008;
}

struct Token {
    QString text;
    QString attribute; // set when the token is name=value; text is then the value
};

[[noreturn]] void fail(int line, const QString& message) {
    throw LayoutDescriptionError(line, message);
}

// Splits at blanks; an attribute's value may be quoted to hold blanks (label="Caps Lock").
std::vector<Token> tokenize(const QString& line, int lineNo) {
    static const QRegularExpression attributeStart(QStringLiteral("^([a-z][a-z0-9]*)="));
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && line[i].isSpace())
            ++i;
        if (i >= n) break;
        qsizetype end = i;
        while (end < n && !line[end].isSpace())
            ++end;
        Token token;
        token.text = line.mid(i, end - i);
        const auto match = attributeStart.match(token.text);
        if (match.hasMatch()) {
            token.attribute = match.captured(1);
            const qsizetype valueStart = i + match.capturedLength(0);
            if (valueStart < n && line[valueStart] == QLatin1Char('"')) {
                const qsizetype close = line.indexOf(QLatin1Char('"'), valueStart + 1);
                if (close < 0) fail(lineNo, QStringLiteral("unclosed quote in %1").arg(token.attribute));
                token.text = line.mid(valueStart + 1, close - valueStart - 1);
                end = close + 1;
            } else {
                token.text = line.mid(valueStart, end - valueStart);
            }
        }
        tokens.push_back(token);
        i = end;
    }
    return tokens;
}

int parseInteger(const QString& text, int lineNo, const QString& what) {
    bool ok = false;
    const int value = text.startsWith(QLatin1String("0x")) ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok, 10);
    if (!ok) fail(lineNo, QStringLiteral("%1 '%2' is not a whole number").arg(what, text));
    return value;
}

double parseUnits(const QString& text, int lineNo, const QString& what) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > 100)
        fail(lineNo, QStringLiteral("%1 '%2' is not a size in key units").arg(what, text));
    return value;
}

QColor parseColor(const QString& text, int lineNo) {
    static const QRegularExpression rgb(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!rgb.match(text).hasMatch())
        fail(lineNo, QStringLiteral("colour '%1' is not of the form #RRGGBB").arg(text));
    return QColor(text);
}

unsigned char codeOf(QChar ch, int lineNo) {
    const auto code = CodePage::unicodeToChar(ch);
    if (!code || *code == 0)
        fail(lineNo,
             QStringLiteral("character U+%1 has no Windows-1252 code")
                 .arg(QString::number(ch.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    return *code;
}

// A character token: the character itself, or U+XXXX for blanks, controls and look-alikes.
std::optional<unsigned char> parseCharacter(const QString& text, int lineNo) {
    static const QRegularExpression codePoint(QStringLiteral("^U\\+([0-9A-Fa-f]{4})$"));
    const auto match = codePoint.match(text);
    if (match.hasMatch()) return codeOf(QChar(char16_t(match.captured(1).toUShort(nullptr, 16))), lineNo);
    if (text.size() == 1) return codeOf(text[0], lineNo);
    return std::nullopt;
}

KeyLevel parseLevel(const QString& text, int lineNo) {
    KeyLevel level;
    if (text == QLatin1String("-")) return level;
    if (text.startsWith(QLatin1String("dead:"))) {
        const auto it = kDeadKinds.find(text.mid(5));
        if (it == kDeadKinds.end()) fail(lineNo, QStringLiteral("unknown dead key '%1'").arg(text.mid(5)));
        level.kind = KeyLevel::Kind::DeadKey;
        level.deadKind = it->second;
        return level;
    }
    const auto code = parseCharacter(text, lineNo);
    if (!code) fail(lineNo, QStringLiteral("'%1' is not one character, U+XXXX, dead:Name or -").arg(text));
    level.kind = KeyLevel::Kind::Character;
    level.code = *code;
    return level;
}

int parseKind(const QString& text, int lineNo) {
    if (const auto it = kKindNames.find(text); it != kKindNames.end()) return it->second;
    if (const auto it = kDeadKinds.find(text); it != kDeadKinds.end()) return it->second;
    return parseInteger(text, lineNo, QStringLiteral("key kind"));
}

int parseFinger(const QString& text, int lineNo) {
    if (text == QLatin1String("-")) return NoFinger;
    const auto it = kFingerCodes.find(text);
    if (it == kFingerCodes.end()) fail(lineNo, QStringLiteral("unknown finger '%1'").arg(text));
    return it->second;
}

QString restOfLine(const QString& line, const QString& keyword) {
    return line.mid(keyword.size()).trimmed();
}

// The characters of a key as its default hint: plain, Shift and AltGr, visible ones only.
QString defaultHint(const KeyDescription& key, const LayoutDescription& layout) {
    QStringList parts;
    for (const KeyLevel& level : key.levels) {
        unsigned char code = 0;
        if (level.kind == KeyLevel::Kind::Character)
            code = level.code;
        else if (level.kind == KeyLevel::Kind::DeadKey)
            if (const DeadKeyDescription* dead = layout.deadKey(level.deadKind)) code = dead->spacing;
        if (code > 32) parts << CodePage::charToUnicode(code);
    }
    return parts.join(QLatin1Char(' '));
}

struct RowCursor {
    bool started = false;
    double x = 0;
    double y = 0;
};

struct Geometry {
    int unit = 40;
    int keyGap = 2;
    int originX = 5;
    int originY = 5;
};

void parseKey(const std::vector<Token>& tokens, int lineNo, RowCursor& row, const Geometry& geometry,
              LayoutDescription& layout) {
    if (!row.started) fail(lineNo, QStringLiteral("a key must follow a row line"));
    if (tokens.size() < 5) fail(lineNo, QStringLiteral("a key needs a name, a value, a kind and a finger"));
    for (size_t i = 1; i < 5; ++i)
        if (!tokens[i].attribute.isEmpty())
            fail(lineNo, QStringLiteral("a key needs a name, a value, a kind and a finger"));
    KeyDescription key;
    key.line = lineNo;
    key.name = tokens[1].text;
    key.value = parseInteger(tokens[2].text, lineNo, QStringLiteral("key value"));
    key.kind = parseKind(tokens[3].text, lineNo);
    key.finger = parseFinger(tokens[4].text, lineNo);
    double width = 1, height = 1;
    int levelCount = 0;
    for (size_t i = 5; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.attribute.isEmpty()) {
            if (levelCount == LevelCount)
                fail(lineNo, QStringLiteral("a key gives at most three characters (plain, Shift, AltGr)"));
            key.levels[levelCount++] = parseLevel(token.text, lineNo);
        } else if (token.attribute == QLatin1String("w")) {
            width = parseUnits(token.text, lineNo, QStringLiteral("width"));
        } else if (token.attribute == QLatin1String("h")) {
            height = parseUnits(token.text, lineNo, QStringLiteral("height"));
        } else if (token.attribute == QLatin1String("x")) {
            row.x = parseUnits(token.text, lineNo, QStringLiteral("position"));
        } else if (token.attribute == QLatin1String("kind2")) {
            key.kind2 = parseKind(token.text, lineNo);
        } else if (token.attribute == QLatin1String("label")) {
            key.label = token.text;
        } else if (token.attribute == QLatin1String("hint")) {
            key.hint = token.text;
        } else {
            fail(lineNo, QStringLiteral("unknown key attribute '%1'").arg(token.attribute));
        }
    }
    if (width <= 0 || height <= 0) fail(lineNo, QStringLiteral("a key needs a width and a height above 0"));
    key.x = geometry.originX + int(std::lround(row.x * geometry.unit));
    key.y = geometry.originY + int(std::lround(row.y * geometry.unit));
    key.width = std::max(1, int(std::lround(width * geometry.unit)) - geometry.keyGap);
    key.height = std::max(1, int(std::lround(height * geometry.unit)) - geometry.keyGap);
    row.x += width;
    layout.keys.push_back(key);
}

void parseDeadKey(const std::vector<Token>& tokens, int lineNo, LayoutDescription& layout) {
    if (tokens.size() < 3)
        fail(lineNo, QStringLiteral("a dead key needs its name and the character it gives before a space"));
    DeadKeyDescription dead;
    dead.line = lineNo;
    const auto kind = kDeadKinds.find(tokens[1].text);
    if (kind == kDeadKinds.end()) fail(lineNo, QStringLiteral("unknown dead key '%1'").arg(tokens[1].text));
    dead.kind = kind->second;
    if (layout.deadKey(dead.kind))
        fail(lineNo, QStringLiteral("dead key %1 is described twice").arg(tokens[1].text));
    if (tokens[2].text != QLatin1String("-")) {
        const auto spacing = parseCharacter(tokens[2].text, lineNo);
        if (!spacing) fail(lineNo, QStringLiteral("'%1' is not one character").arg(tokens[2].text));
        dead.spacing = *spacing;
    }
    // The remaining tokens are base=result pairs; U+XXXX is allowed on either side.
    for (size_t i = 3; i < tokens.size(); ++i) {
        const QString pair = tokens[i].attribute.isEmpty()
                                 ? tokens[i].text
                                 : tokens[i].attribute + QLatin1Char('=') + tokens[i].text;
        const qsizetype split = pair.startsWith(QLatin1String("U+")) ? 6 : 1;
        if (pair.size() <= split + 1 || pair[split] != QLatin1Char('='))
            fail(lineNo, QStringLiteral("'%1' is not of the form letter=result").arg(pair));
        const auto base = parseCharacter(pair.left(split), lineNo);
        const auto result = parseCharacter(pair.mid(split + 1), lineNo);
        if (!base || !result) fail(lineNo, QStringLiteral("'%1' is not of the form letter=result").arg(pair));
        dead.combinations.emplace_back(*base, *result);
    }
    layout.deadKeys.push_back(dead);
}

void parseFingerLine(const std::vector<Token>& tokens, int lineNo, LayoutDescription& layout) {
    if (tokens.size() < 2) fail(lineNo, QStringLiteral("a finger line needs the finger's name"));
    int index = -1;
    for (int i = 0; i < FingerValueCount; ++i)
        if (tokens[1].text == QLatin1String(fingerValueNames()[i])) index = i;
    if (index < 0) fail(lineNo, QStringLiteral("unknown finger '%1'").arg(tokens[1].text));
    FingerDescription& finger = layout.fingers[index];
    if (finger.defined) fail(lineNo, QStringLiteral("finger %1 is described twice").arg(tokens[1].text));
    bool hasColor = false;
    for (size_t i = 2; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.attribute == QLatin1String("length")) {
            finger.length = parseInteger(token.text, lineNo, QStringLiteral("length"));
        } else if (token.attribute == QLatin1String("x")) {
            finger.x = parseInteger(token.text, lineNo, QStringLiteral("x"));
        } else if (token.attribute == QLatin1String("color")) {
            finger.color = parseColor(token.text, lineNo);
            hasColor = true;
        } else {
            fail(lineNo, QStringLiteral("unknown finger attribute '%1'")
                             .arg(token.attribute.isEmpty() ? token.text : token.attribute));
        }
    }
    if (!hasColor) fail(lineNo, QStringLiteral("finger %1 needs a color").arg(tokens[1].text));
    finger.defined = true;
}

// Checks what single lines cannot: references between keys and dead keys, uniqueness, limits.
void validate(LayoutDescription& layout, int lastLine) {
    if (!layout.background.isValid())
        fail(lastLine, QStringLiteral("the description names no background colour"));
    for (int i = 0; i < FingerValueCount; ++i)
        if (!layout.fingers[i].defined)
            fail(lastLine,
                 QStringLiteral("finger %1 is not described").arg(QLatin1String(fingerValueNames()[i])));
    if (layout.keys.empty()) fail(lastLine, QStringLiteral("the description has no keys"));

    std::set<QString> names;
    std::set<int> values;
    const KeyDescription* spaceKey = nullptr;
    for (KeyDescription& key : layout.keys) {
        const QByteArray name = CodePage::fromUnicode(key.name);
        if (name.size() > 20 || CodePage::toUnicode(name) != key.name)
            fail(key.line,
                 QStringLiteral("key name '%1' must be at most 20 Windows-1252 characters").arg(key.name));
        if (!names.insert(key.name).second)
            fail(key.line, QStringLiteral("key name '%1' is used twice").arg(key.name));
        if (!values.insert(key.value).second)
            fail(key.line, QStringLiteral("key value %1 is used twice").arg(key.value));
        if (isDeadKind(key.kind) && !layout.deadKey(key.kind))
            fail(key.line, QStringLiteral("key %1 is a dead key that no dead line describes").arg(key.name));
        if (key.kind2 != 0 && (!isDeadKind(key.kind2) || !layout.deadKey(key.kind2)))
            fail(key.line, QStringLiteral("kind2 of key %1 must be 0 or a described dead key").arg(key.name));
        for (const KeyLevel& level : key.levels)
            if (level.kind == KeyLevel::Kind::DeadKey && !layout.deadKey(level.deadKind))
                fail(key.line,
                     QStringLiteral("key %1 gives a dead key that no dead line describes").arg(key.name));
        if (key.hint.isEmpty()) key.hint = key.label.isEmpty() ? defaultHint(key, layout) : key.label;
        const QByteArray hint = CodePage::fromUnicode(key.hint);
        if (hint.size() > 127 || CodePage::toUnicode(hint) != key.hint)
            fail(key.line,
                 QStringLiteral("hint of key %1 must be at most 127 Windows-1252 characters").arg(key.name));
        if (!spaceKey && key.levels[PlainLevel].kind == KeyLevel::Kind::Character &&
            key.levels[PlainLevel].code == ' ')
            spaceKey = &key;
    }

    for (const DeadKeyDescription& dead : layout.deadKeys) {
        if (dead.spacing != 0 && !spaceKey)
            fail(dead.line, QStringLiteral("a dead key followed by a space needs a key that gives a space"));
        for (const auto& [base, result] : dead.combinations) {
            bool typeable = false;
            for (const KeyDescription& key : layout.keys)
                for (const KeyLevel& level : key.levels)
                    typeable = typeable || (level.kind == KeyLevel::Kind::Character && level.code == base);
            if (!typeable)
                fail(dead.line, QStringLiteral("no key gives '%1', which the dead key combines with")
                                    .arg(CodePage::charToUnicode(base)));
        }
    }
}

} // namespace

LayoutDescriptionError::LayoutDescriptionError(int line, const QString& message)
    : std::runtime_error(QStringLiteral("line %1: %2").arg(line).arg(message).toStdString()), m_line(line),
      m_message(message) {}

const DeadKeyDescription* LayoutDescription::deadKey(int kind) const {
    for (const DeadKeyDescription& dead : deadKeys)
        if (dead.kind == kind) return &dead;
    return nullptr;
}

const std::array<const char*, FingerValueCount>& fingerValueNames() {
    return TDataMod::fingerNames();
}

int fingerValueIndex(int fingerCode) {
    return fingerCode < 5 ? fingerCode : 14 - fingerCode;
}

LayoutDescription parseLayoutDescription(const QString& text) {
    LayoutDescription layout;
    Geometry geometry;
    RowCursor row;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) lines.removeLast(); // the end of the last line starts no new one
    int lineNo = 0;
    for (const QString& rawLine : lines) {
        ++lineNo;
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const std::vector<Token> tokens = tokenize(line, lineNo);
        const QString keyword = line.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\t'), 0, 0);
        const bool geometryLine = keyword == QLatin1String("unit") || keyword == QLatin1String("keygap") ||
                                  keyword == QLatin1String("origin");
        if (geometryLine && row.started)
            fail(lineNo, QStringLiteral("%1 must come before the first row").arg(keyword));
        if (keyword == QLatin1String("author")) {
            layout.author = restOfLine(line, keyword);
        } else if (keyword == QLatin1String("misc")) {
            layout.misc = restOfLine(line, keyword);
        } else if (keyword == QLatin1String("background")) {
            if (tokens.size() != 2) fail(lineNo, QStringLiteral("background needs one colour"));
            layout.background = parseColor(tokens[1].text, lineNo);
        } else if (keyword == QLatin1String("unit") || keyword == QLatin1String("keygap")) {
            if (tokens.size() != 2)
                fail(lineNo, QStringLiteral("%1 needs one number of pixels").arg(keyword));
            const int value = parseInteger(tokens[1].text, lineNo, keyword);
            if (keyword == QLatin1String("unit") && (value < 4 || value > 400))
                fail(lineNo, QStringLiteral("unit must be 4 to 400 pixels"));
            if (keyword == QLatin1String("keygap") && (value < 0 || value > 20))
                fail(lineNo, QStringLiteral("keygap must be 0 to 20 pixels"));
            (keyword == QLatin1String("unit") ? geometry.unit : geometry.keyGap) = value;
        } else if (keyword == QLatin1String("origin")) {
            if (tokens.size() != 3) fail(lineNo, QStringLiteral("origin needs two numbers of pixels"));
            geometry.originX = parseInteger(tokens[1].text, lineNo, keyword);
            geometry.originY = parseInteger(tokens[2].text, lineNo, keyword);
            if (geometry.originX < 0 || geometry.originY < 0 || geometry.originX > 1000 ||
                geometry.originY > 1000)
                fail(lineNo, QStringLiteral("origin must be 0 to 1000 pixels"));
        } else if (keyword == QLatin1String("finger")) {
            parseFingerLine(tokens, lineNo, layout);
        } else if (keyword == QLatin1String("dead")) {
            parseDeadKey(tokens, lineNo, layout);
        } else if (keyword == QLatin1String("row")) {
            if (tokens.size() != 2) fail(lineNo, QStringLiteral("row needs its position in key units"));
            row.started = true;
            row.x = 0;
            row.y = parseUnits(tokens[1].text, lineNo, QStringLiteral("row"));
        } else if (keyword == QLatin1String("gap")) {
            if (!row.started || tokens.size() != 2)
                fail(lineNo, QStringLiteral("gap needs a row and a width in key units"));
            row.x += parseUnits(tokens[1].text, lineNo, QStringLiteral("gap"));
        } else if (keyword == QLatin1String("key")) {
            parseKey(tokens, lineNo, row, geometry, layout);
        } else {
            fail(lineNo, QStringLiteral("unknown line '%1'").arg(keyword));
        }
    }
    validate(layout, lineNo);
    return layout;
}
