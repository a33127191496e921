#include "drills/ui/SoftLineBreaks.h"

#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
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

int documentIndex(const std::vector<int>& breaks, int index) {
    return index + int(std::upper_bound(breaks.begin(), breaks.end(), index) - breaks.begin());
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
