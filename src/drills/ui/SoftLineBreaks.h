#pragma once

#include <QFont>
#include <QString>
#include <QTextBlock>
#include <limits>
#include <vector>

class QPlainTextEdit;
class QTextCharFormat;
class QTextDocument;
class QTextOption;

// Soft line breaks in a plain text box: a long paragraph is kept as one block per screen line,
// split exactly where the box wraps it anyway. The box looks the same, but laying out, measuring
// and painting one line no longer goes through the whole paragraph. A block that the next one
// continues carries a mark (its user state); its block separator stands for no character.
namespace SoftLineBreaks {

// Whether the next block continues this one.
bool continues(const QTextBlock& block);

// Splits a block at the starts of its screen lines (as the document's plain text layout wraps
// it now); the pieces but the last are marked as continued. Returns the last piece.
QTextBlock split(QTextDocument* document, const QTextBlock& block);

// Joins a block to the block it continues, if any; returns the joined block.
QTextBlock joinWithPrevious(QTextDocument* document, const QTextBlock& block);

// Removes every soft break (when `hadBreaks`), then splits again every block longer than
// `longerThan` characters: after the text, its font or the box's width changed. Returns where the
// soft breaks now are, as indexes of the text without them (a break stands before that character).
std::vector<int> rewrap(QTextDocument* document, int longerThan = 0, bool hadBreaks = true);

// The starts of a paragraph's screen lines after the line that starts at `from`, as a plain text
// box wraps it at a line width of `width` pixels (none when it is 0 or less), up to the first line
// that starts at or after `until`. The paragraph is laid out a few thousand characters at a time,
// so that a long paragraph costs what the same text in lines costs. `reached` receives where the
// lines found end: the start of the last line found when it stopped at `until`, else the
// paragraph's length. When the text is only the beginning of the paragraph (`whole` false), its
// last line is never taken as found.
std::vector<int> lineStarts(QStringView paragraph, const QFont& font, const QTextOption& option, qreal width,
                            qsizetype from = 0, qsizetype until = std::numeric_limits<qsizetype>::max(),
                            qsizetype* reached = nullptr, bool whole = true, int chunkLength = 4096);

// The width that a plain text box gives a line of its document (0 when it does not wrap lines).
qreal lineWidth(const QPlainTextEdit* box);

// Where a box's soft breaks are (as indexes of the text without them, a break standing before that
// character), and up to where they are the box's own screen lines: beyond `exactUntil` a long
// paragraph is cut into provisional pieces of a few hundred characters at spaces, which refine()
// replaces by its screen lines when they are needed.
struct Wrap {
    std::vector<int> breaks;
    qsizetype exactUntil = 0;
    // What the breaks were found for: the text's font and the box's line width. Only a text with
    // a paragraph longer than `longerThan` has any to find.
    QFont font;
    qreal width = 0;
    bool hasLongParagraph = false;
};

// The font that a text of `format` takes in the document.
QFont textFont(const QTextDocument* document, const QTextCharFormat& format);

// Fills the empty document of a plain text box with a text ('\n' between paragraphs) in one
// format, every paragraph longer than `longerThan` characters already split, at its screen lines
// up to about `exactUntil` and provisionally after it: a long paragraph never stands whole in the
// document, so that no edit lays it out whole, and the screen lines of a long text are found a
// part at a time, as typing comes near them.
Wrap fill(QPlainTextEdit* box, QStringView text, const QTextCharFormat& format, int longerThan,
          qsizetype exactUntil);

// Replaces provisional pieces by screen lines up to at least `until` (a text index).
void refine(QPlainTextEdit* box, Wrap& wrap, int longerThan, qsizetype until);

// The index in the document of a character of the text without soft breaks.
int documentIndex(const std::vector<int>& breaks, int index);
// The other way: the index in the text without soft breaks of a document position (a soft break's
// separator gives the index of the character the break stands before).
int textIndex(const std::vector<int>& breaks, int position);

// The document's text without its soft breaks, paragraphs separated by '\n'.
QString plainText(const QTextDocument* document);

} // namespace SoftLineBreaks
