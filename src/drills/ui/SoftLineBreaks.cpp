#include "drills/ui/SoftLineBreaks.h"

#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <vector>

namespace SoftLineBreaks {

namespace {
constexpr int ContinuedState = 0x50F7; // user state of a block that the next one continues
constexpr int PlainState = -1;         // QTextBlock's own default
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
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.insertBlock();
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

void rewrap(QTextDocument* document) {
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
    for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next()) {
        b.setUserState(PlainState);
        b = split(document, b);
    }
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
