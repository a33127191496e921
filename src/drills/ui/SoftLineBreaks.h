#pragma once

#include <QString>
#include <QTextBlock>
#include <vector>

class QTextDocument;

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

// The index in the document of a character of the text without soft breaks.
int documentIndex(const std::vector<int>& breaks, int index);

// The document's text without its soft breaks, paragraphs separated by '\n'.
QString plainText(const QTextDocument* document);

} // namespace SoftLineBreaks
