#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

// The lines of ini text and what each one is. A line ends at CR LF, CR or LF. A line whose first
// character that is not a blank is "[" is a section header; within a section, a line with an
// "=" that is neither blank nor begins with ";" is a key line; every other line is kept but
// never read.
namespace IniLines {

enum class Kind : uint8_t { Other, Section, Key };

struct Line {
    qsizetype start = 0;   // offset in the text
    qsizetype length = 0;  // without the line end
    uint8_t endLength = 0; // 2 for CR LF, 1 for CR or LF, 0 for a last line without an end
    Kind kind = Kind::Other;
    qsizetype valueOffset = 0; // key lines: where the value starts, from the line's start
};

// Every line of the text, each classified as a line within a section.
std::vector<Line> split(QByteArrayView text);
// Sets kind and valueOffset from the line's text.
void classify(QByteArrayView text, Line& line);
// The name of a section header or a key line, without the blanks around it.
QByteArray name(QByteArrayView text, const Line& line);
QByteArrayView nameView(QByteArrayView text, const Line& line);
// The value of a key line, without the blanks around it.
QByteArray value(QByteArrayView text, const Line& line);
// Whether the line holds nothing but blanks.
bool isBlank(QByteArrayView text, const Line& line);
// A name as names are compared: through the code page, without regard to letter case.
QString folded(const QByteArray& name);
// Whether folded(name) == folded, found without making a string.
bool foldedEquals(QByteArrayView name, QStringView folded);

// The first line end at or after from: its offset and length (0 when the text ends first).
// Searches for CR and LF resume where the last one stopped, so going through a text line by
// line stays linear whichever line ends it uses.
class EndFinder {
public:
    explicit EndFinder(QByteArrayView text) : m_text(text) {}
    qsizetype next(qsizetype from, uint8_t& endLength);

private:
    QByteArrayView m_text;
    qsizetype m_cr = -1;
    qsizetype m_lf = -1;
};

} // namespace IniLines
