#include "drills/DrillRules.h"

#include "platform/StrictInt.h"

#include <string_view>

namespace DrillRules {

KeyAction decideKey(const QByteArray& sample, int sampleLength, int position, char key, bool unmappable) {
    if (sampleLength < position || sampleLength <= 0) return KeyAction::EndLine;
    const char expected = position >= 1 && position <= sample.size() ? sample[position - 1] : '\0';
    if (!unmappable && key == expected) return KeyAction::Correct;
    if (!unmappable) {
        switch (key) {
        case Backspace:
            return KeyAction::StepBack;
        case Return:
            return KeyAction::ReturnKey;
        case Escape:
            return KeyAction::Cancel;
        case '\0':
            return KeyAction::Nothing;
        default:
            break;
        }
        if (key == ' ' && expected == Return) return KeyAction::SpaceAsReturn;
    }
    if (expected == Return) return KeyAction::SwallowAtBreak;
    return KeyAction::Wrong;
}

int positionAfterBackspace(const QByteArray& sample, int position) {
    if (position <= 1) return position;
    const int before = position - 1;
    if (before >= 1 && before <= sample.size() && sample[before - 1] == LineFeed && position > 2)
        return position - 2;
    return position - 1;
}

LineStatistics lineStatistics(int64_t sampleLength, int64_t errorCount, int64_t wordCount, int64_t lineTime) {
    LineStatistics s;
    if (sampleLength <= 0) return s;
    const int64_t time = lineTime > 0 ? lineTime : 1;
    s.keysPerMin = sampleLength * 60 * 1000 / time;
    s.accuracy = (sampleLength - errorCount) * 100 / sampleLength;
    s.wordsPerMin = wordCount * 60 * 1000 / time;
    return s;
}

int countSpaceSeparatedWords(const QByteArray& text) {
    int words = 0;
    bool inWord = false;
    for (const char c : text) {
        const bool wordChar = c != ' ';
        if (wordChar && !inWord) ++words;
        inWord = wordChar;
    }
    return words;
}

bool IsWordChar(char c) {
    switch (c) {
    case '\n':
    case '\r':
    case ' ':
    case ',':
    case '.':
    case '/':
        return false;
    default:
        return true;
    }
}

int countTextWords(const QByteArray& text) {
    int words = 0;
    bool inWord = false;
    for (const char c : text) {
        const bool wordChar = IsWordChar(c);
        if (wordChar && !inWord) ++words;
        inWord = wordChar;
    }
    return words;
}

QByteArray trimLine(const QByteArray& line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= ' ')
        --end;
    return line.mid(begin, end - begin);
}

QByteArray buildFreeLine(const QByteArray& entry) {
    const QByteArray e = entry.left(MaxFreeEntry);
    if (e.isEmpty()) return {};
    const QByteArray unit = e.size() < MaxFreeEntry ? e + ' ' : e;
    const int copies = 80 / int(unit.size() + 1);
    QByteArray line = unit.repeated(copies);
    // Only the space that separates copies goes; a full-length entry keeps its own last space.
    if (unit.size() > e.size()) line.chop(1);
    return line;
}

std::optional<int> gotoLineNumber(const QByteArray& answer) {
    const QByteArray cut = answer.left(255).left(10);
    return tryStrToInt(std::string_view(cut.constData(), size_t(cut.size())));
}

} // namespace DrillRules
