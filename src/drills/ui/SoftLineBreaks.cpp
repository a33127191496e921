#include "drills/ui/SoftLineBreaks.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <optional>
#include <vector>

namespace SoftLineBreaks {

namespace {
constexpr int ContinuedState = 0x50F7; // user state of a block that the next one continues
constexpr int PlainState = -1;         // QTextBlock's own default

// The character format of a block's text when it has one only.
std::optional<QTextCharFormat> singleFormat(const QTextBlock& block) {
    std::optional<QTextCharFormat> format;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        if (format && *format != f) return std::nullopt;
        format = f;
    }
    return format;
}
} // namespace

bool continues(const QTextBlock& block) {
    return block.isValid() && block.userState() == ContinuedState;
}

QTextBlock split(QTextDocument* document, const QTextBlock& block) {
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    if (!layout || !block.isValid()) return block;
    layout->ensureBlockLayout(block);
    const QTextLayout* lines = block.layout();
    if (!lines || lines->lineCount() <= 1) return block;

    const int first = block.position();
    const int end = first + block.length() - 1; // the block's own separator
    std::vector<int> starts;
    starts.reserve(size_t(lines->lineCount()));
    for (int i = 1; i < lines->lineCount(); ++i) {
        const int start = first + lines->lineAt(i).textStart();
        if (start > (starts.empty() ? first : starts.back()) && start < end) starts.push_back(start);
    }
    if (starts.empty()) return block;
    const int state = block.userState();

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (const auto format = singleFormat(block)) {
        // One format throughout (a sample): the paragraph is written again with its breaks, each
        // new block appended after the one before. Splitting the one long block again and again
        // would cost the rest of the paragraph at every break.
        const QString text = block.text();
        QString broken;
        broken.reserve(text.size() + qsizetype(starts.size()));
        int from = 0;
        for (const int start : starts) {
            broken += QStringView(text).mid(from, start - first - from);
            broken += QChar::ParagraphSeparator;
            from = start - first;
        }
        broken += QStringView(text).mid(from);
        cursor.setPosition(first);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.insertText(broken, *format);
    } else {
        for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
            cursor.setPosition(*it);
            cursor.insertBlock();
        }
    }
    cursor.endEditBlock();

    QTextBlock piece = document->findBlock(first);
    for (size_t i = 0; i < starts.size(); ++i) {
        piece.setUserState(ContinuedState);
        piece = piece.next();
    }
    piece.setUserState(state);
    return piece;
}

QTextBlock joinWithPrevious(QTextDocument* document, const QTextBlock& block) {
    if (!block.isValid() || !continues(block.previous())) return block;
    const int state = block.userState();
    const int position = block.position();
    QTextCursor cursor(document);
    cursor.setPosition(position);
    cursor.deletePreviousChar(); // the soft break
    QTextBlock joined = document->findBlock(position - 1);
    joined.setUserState(state);
    return joined;
}

std::vector<int> rewrap(QTextDocument* document, int longerThan, bool hadBreaks) {
    if (hadBreaks) {
        std::vector<int> breaks;
        for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next()) {
            if (continues(b)) breaks.push_back(b.position() + b.length() - 1);
        }
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        for (auto it = breaks.rbegin(); it != breaks.rend(); ++it) {
            cursor.setPosition(*it);
            cursor.deleteChar();
        }
        cursor.endEditBlock();
    }
    std::vector<int> breaks;
    int removed = 0; // soft breaks before the block
    for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next()) {
        if (b.userState() != PlainState) b.setUserState(PlainState);
        if (b.length() - 1 <= longerThan) continue;
        const int first = b.position();
        const QTextBlock last = split(document, b);
        for (QTextBlock piece = document->findBlock(first); piece != last; piece = piece.next()) {
            removed += 1;
            breaks.push_back(piece.next().position() - removed);
        }
        b = last;
    }
    return breaks;
}

std::vector<int> lineStarts(QStringView paragraph, const QFont& font, const QTextOption& option, qreal width,
                            qsizetype from, qsizetype until, qsizetype* reached, bool whole,
                            int chunkLength) {
    std::vector<int> starts;
    const qsizetype length = paragraph.size();
    if (reached) *reached = length;
    if (width <= 0) return starts;
    qsizetype chunk = chunkLength;
    while (from < length) {
        if (from >= until) {
            if (reached) *reached = from;
            break;
        }
        const qsizetype take = std::min(chunk, length - from);
        const bool lastChunk = from + take == length;
        QTextLayout layout(paragraph.mid(from, take).toString(), font);
        layout.setTextOption(option);
        layout.beginLayout();
        std::vector<int> found; // line starts after the chunk's first line
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true); // as the plain text layout does
            line.setLineWidth(width);
            if (line.lineNumber() > 0) found.push_back(line.textStart());
        }
        layout.endLayout();
        if (lastChunk && whole) {
            for (const int start : found)
                starts.push_back(int(from + start));
            break;
        }
        if (found.empty()) {
            if (lastChunk) { // the text ends within this line
                if (reached) *reached = from;
                break;
            }
            chunk *= 2; // one line runs past the chunk
            continue;
        }
        // The chunk's last line may be cut short by the chunk's end; the next chunk starts with it.
        // Every line before it ends where it ends in the whole paragraph, since the word after it
        // lies in the chunk.
        for (const int start : found)
            starts.push_back(int(from + start));
        from += found.back();
        chunk = chunkLength;
    }
    return starts;
}

qreal lineWidth(const QPlainTextEdit* box) {
    // The plain text layout's own rule: the viewport's width less the document's margins.
    if (box->lineWrapMode() != QPlainTextEdit::WidgetWidth || box->viewport()->width() <= 0) return 0;
    return box->viewport()->width() - 2 * box->document()->documentMargin();
}

namespace {
constexpr qsizetype ProvisionalLength = 200;

// Provisional pieces of a paragraph from `from` on: at most ProvisionalLength characters, cut
// after a space where there is one.
void addProvisionalStarts(QStringView paragraph, qsizetype from, std::vector<int>& starts) {
    while (paragraph.size() - from > ProvisionalLength) {
        const qsizetype space = paragraph.lastIndexOf(u' ', from + ProvisionalLength - 1);
        from = space > from ? space + 1 : from + ProvisionalLength;
        starts.push_back(int(from));
    }
}
} // namespace

QFont textFont(const QTextDocument* document, const QTextCharFormat& format) {
    return format.font().resolve(document->defaultFont());
}

Wrap fill(QPlainTextEdit* box, QStringView text, const QTextCharFormat& format, int longerThan,
          qsizetype exactUntil) {
    QTextDocument* document = box->document();
    const QFont font = textFont(document, format);
    const QTextOption option = document->defaultTextOption();
    const qreal width = lineWidth(box);
    constexpr qsizetype PieceLength = 1 << 20; // what goes into the document at a time

    Wrap wrap;
    wrap.exactUntil = text.size();
    wrap.font = font;
    wrap.width = width;
    std::vector<int> continued; // numbers of the blocks that the next one continues
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    QString piece;
    piece.reserve(std::min(text.size(), PieceLength) + 1024);
    int block = 0;
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0) end = text.size();
        const QStringView paragraph = text.mid(from, end - from);
        qsizetype written = 0;
        if (paragraph.size() > longerThan) {
            wrap.hasLongParagraph = true;
            qsizetype exact = 0;
            std::vector<int> starts;
            if (wrap.exactUntil == text.size())
                starts = lineStarts(paragraph, font, option, width, 0, exactUntil - from, &exact);
            if (exact < paragraph.size()) {
                if (wrap.exactUntil == text.size()) wrap.exactUntil = from + exact;
                addProvisionalStarts(paragraph, exact, starts);
            }
            for (const int start : starts) {
                piece += paragraph.mid(written, start - written);
                piece += QChar::ParagraphSeparator;
                wrap.breaks.push_back(int(from) + start);
                continued.push_back(block++);
                written = start;
            }
        }
        piece += paragraph.mid(written);
        if (end < text.size()) {
            piece += u'\n';
            ++block;
        }
        if (piece.size() >= PieceLength || end == text.size()) {
            cursor.insertText(piece, format);
            piece.clear();
        }
        from = end + 1;
    }
    cursor.endEditBlock();

    auto next = continued.begin();
    int number = 0;
    for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next(), ++number) {
        const bool continues = next != continued.end() && *next == number;
        if (continues) ++next;
        const int state = continues ? ContinuedState : PlainState;
        if (b.userState() != state) b.setUserState(state);
    }
    return wrap;
}

void refine(QPlainTextEdit* box, Wrap& wrap, int longerThan, qsizetype until) {
    QTextDocument* document = box->document();
    const QFont& font = wrap.font;
    const QTextOption option = document->defaultTextOption();
    const qreal width = lineWidth(box);
    const qsizetype textLength = document->characterCount() - 1 - qsizetype(wrap.breaks.size());
    while (wrap.exactUntil < until && wrap.exactUntil < textLength) {
        // The rest of the paragraph from the first provisional piece (a block of its own), as far
        // as the lines up to `until` need.
        const qsizetype from = wrap.exactUntil;
        QTextBlock block = document->findBlock(documentIndex(wrap.breaks, int(from)));
        const bool startsParagraph = !continues(block.previous());
        QString rest;
        bool whole = false;
        const qsizetype wanted = until - from + 8192;
        for (QTextBlock b = block; b.isValid(); b = b.next()) {
            rest += b.text();
            if (!continues(b)) {
                whole = true;
                break;
            }
            if (rest.size() >= wanted) break;
        }
        if (whole && startsParagraph && rest.size() <= longerThan) {
            wrap.exactUntil = from + rest.size() + 1; // a short paragraph: nothing to split
            continue;
        }
        qsizetype reached = 0;
        std::vector<int> exact = lineStarts(rest, font, option, width, 0, until - from, &reached, whole);
        for (int& start : exact)
            start += int(from);
        const qsizetype newFrontier = from + reached;
        const bool paragraphDone = whole && reached == rest.size();

        const auto first = std::upper_bound(wrap.breaks.begin(), wrap.breaks.end(), int(from));
        const auto last = std::upper_bound(first, wrap.breaks.end(), int(newFrontier));
        const auto i0 = int(first - wrap.breaks.begin());
        const int lastState = document->findBlock(documentIndex(wrap.breaks, int(newFrontier))).userState();

        QTextCursor cursor(document);
        cursor.beginEditBlock();
        // The provisional breaks go, from the last; a break's separator stands at its index plus
        // the number of breaks before it.
        for (auto it = last; it != first;) {
            --it;
            cursor.setPosition(*it + int(it - wrap.breaks.begin()));
            cursor.deleteChar();
        }
        for (size_t j = exact.size(); j-- > 0;) {
            cursor.setPosition(exact[j] + i0); // the breaks before it are not in yet
            cursor.insertBlock();
        }
        cursor.endEditBlock();
        wrap.breaks.insert(wrap.breaks.erase(first, last), exact.begin(), exact.end());

        QTextBlock piece = document->findBlock(documentIndex(wrap.breaks, int(from)));
        for (size_t j = 0; j < exact.size(); ++j) {
            piece.setUserState(ContinuedState);
            piece = piece.next();
        }
        piece.setUserState(lastState);
        wrap.exactUntil = paragraphDone ? newFrontier + 1 : newFrontier;
        if (!paragraphDone && newFrontier == from) break; // no room to lay out: stays provisional
    }
}

int documentIndex(const std::vector<int>& breaks, int index) {
    return index + int(std::upper_bound(breaks.begin(), breaks.end(), index) - breaks.begin());
}

int textIndex(const std::vector<int>& breaks, int position) {
    // The separator of break i stands at breaks[i] + i: count those before the position.
    size_t low = 0;
    size_t high = breaks.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (breaks[middle] + int(middle) < position)
            low = middle + 1;
        else
            high = middle;
    }
    return position - int(low);
}

QString plainText(const QTextDocument* document) {
    QString text;
    text.reserve(document->characterCount());
    for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next()) {
        text += b.text();
        if (b.next().isValid() && !continues(b)) text += u'\n';
    }
    return text;
}

} // namespace SoftLineBreaks
