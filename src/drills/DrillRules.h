#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

// The typing engine's decisions that need no window: what a key does at a position of the
// sample, the statistics of a line, word counts and the building of practice lines. Samples
// and keys are 8-bit Windows-1252 text compared byte by byte; positions are 1-based and a
// CR LF line break takes two of them.
namespace DrillRules {

constexpr char Backspace = '\b';
constexpr char Return = '\r';
constexpr char LineFeed = '\n';
constexpr char Escape = '\x1b';
constexpr int AcceptedAccuracy = 95;
constexpr int64_t MaxPlausibleKeysPerMin = 700;

// What a key-press does, in the order the engine tries the cases.
enum class KeyAction {
    EndLine,        // the line is already typed to its end: this key ends it and is swallowed
    Correct,        // the expected character: marked right, one position on (two for Enter at CR LF)
    StepBack,       // Backspace: one position back, two over a line break
    ReturnKey,      // Enter where no line break is expected: ends the line if Enter ends lines
    Cancel,         // Esc: ends the line, which closes the window
    Nothing,        // no character at all
    SpaceAsReturn,  // a space where a line break is expected: taken as Enter
    SwallowAtBreak, // any other key where a line break is expected: ignored
    Wrong,          // any other key: marked wrong, one position on
};

// `sample` holds `sampleLength` bytes; `position` is the next expected one.
// An `unmappable` key (a character without a code) never equals the expected character.
KeyAction decideKey(const QByteArray& sample, int sampleLength, int position, char key,
                    bool unmappable = false);

// Where Backspace at `position` leads (position > 1): back over a whole CR LF.
int positionAfterBackspace(const QByteArray& sample, int position);

struct LineStatistics {
    int64_t keysPerMin = 0;
    int64_t accuracy = 0;
    int64_t wordsPerMin = 0;
};

// Computed in 64 bits, so texts of any length give right numbers. lineTime is at least 25 ms
// (the stopwatch's floor); a smaller value is taken as 1 to keep the division defined.
LineStatistics lineStatistics(int64_t sampleLength, int64_t errorCount, int64_t wordCount, int64_t lineTime);

// Words of the sentence, course and free drills: maximal runs of characters other than the space.
int countSpaceSeparatedWords(const QByteArray& text);
// Words of the text drill: maximal runs of characters other than LF, CR, space, comma, full stop
// and slash.
bool IsWordChar(char c);
int countTextWords(const QByteArray& text);

// Removes leading and trailing blanks and control characters (every byte up to the space).
QByteArray trimLine(const QByteArray& line);

// The free drill's practice line: the entry (first 40 characters) repeated to about 80
// characters, copies separated by a space. Empty for an empty entry.
QByteArray buildFreeLine(const QByteArray& entry);
constexpr int MaxFreeEntry = 40;

// The course drill's answer to "go to line": the 8-bit answer cut to 255 and then to its first
// 10 characters, as an integer; nothing when it is not a number.
std::optional<int> gotoLineNumber(const QByteArray& answer);

} // namespace DrillRules
