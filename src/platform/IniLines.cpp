#include "platform/IniLines.h"

#include "platform/CodePage.h"

#include <array>
#include <cstring>

namespace IniLines {
namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// Bounds of text without the blanks around it.
std::pair<qsizetype, qsizetype> trimmedBounds(QByteArrayView text, qsizetype from, qsizetype to) {
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    return {from, to};
}

QByteArrayView trimmedPart(QByteArrayView text, qsizetype from, qsizetype to) {
    const auto [b, e] = trimmedBounds(text, from, to);
    return text.sliced(b, e - b);
}

qsizetype find(QByteArrayView text, char c, qsizetype from) {
    // An empty text may have no data at all, which memchr must not be given.
    if (from >= text.size()) return text.size();
    const void* hit = std::memchr(text.data() + from, c, size_t(text.size() - from));
    return hit ? static_cast<const char*>(hit) - text.data() : text.size();
}

} // namespace

qsizetype EndFinder::next(qsizetype from, uint8_t& endLength) {
    if (m_cr < from) m_cr = find(m_text, '\r', from);
    if (m_lf < from) m_lf = find(m_text, '\n', from);
    const qsizetype end = std::min(m_cr, m_lf);
    if (end == m_text.size())
        endLength = 0;
    else
        endLength = (m_text[end] == '\r' && end + 1 < m_text.size() && m_text[end + 1] == '\n') ? 2 : 1;
    return end;
}

std::vector<Line> split(QByteArrayView text) {
    std::vector<Line> lines;
    EndFinder ends(text);
    for (qsizetype start = 0; start < text.size();) {
        Line line;
        line.start = start;
        line.length = ends.next(start, line.endLength) - start;
        classify(text, line);
        start += line.length + line.endLength;
        lines.push_back(line);
    }
    return lines;
}

void classify(QByteArrayView text, Line& line) {
    const QByteArrayView t = text.sliced(line.start, line.length);
    line.kind = Kind::Other;
    line.valueOffset = 0;
    const auto [b, e] = trimmedBounds(t, 0, t.size());
    if (b == e) return;
    if (t[b] == '[') {
        line.kind = Kind::Section;
        return;
    }
    if (t[b] == ';') return;
    const qsizetype eq = t.indexOf('=', b);
    if (eq < 0 || eq >= e) return;
    line.kind = Kind::Key;
    line.valueOffset = eq + 1;
}

QByteArray name(QByteArrayView text, const Line& line) {
    return nameView(text, line).toByteArray();
}

QByteArrayView nameView(QByteArrayView text, const Line& line) {
    const QByteArrayView t = text.sliced(line.start, line.length);
    if (line.kind == Kind::Key) return trimmedPart(t, 0, line.valueOffset - 1);
    // A header's name runs to its last "]", or to the end of the line when it has none.
    const auto [b, e] = trimmedBounds(t, 0, t.size());
    qsizetype close = t.lastIndexOf(']', e - 1);
    if (close <= b) close = e;
    return trimmedPart(t, b + 1, close);
}

QByteArray value(QByteArrayView text, const Line& line) {
    return trimmedPart(text, line.start + line.valueOffset, line.start + line.length).toByteArray();
}

bool isBlank(QByteArrayView text, const Line& line) {
    const auto [b, e] = trimmedBounds(text, line.start, line.start + line.length);
    return b == e;
}

QString folded(const QByteArray& name) {
    return CodePage::toUnicode(name).toCaseFolded();
}

bool foldedEquals(QByteArrayView name, QStringView folded) {
    // What each code-page character folds to, so that comparing a name makes no string.
    static const std::array<QString, 256> folds = [] {
        std::array<QString, 256> table;
        for (int c = 0; c < 256; ++c)
            table[size_t(c)] = CodePage::toUnicode(QByteArray(1, char(c))).toCaseFolded();
        return table;
    }();
    qsizetype at = 0;
    for (const char c : name) {
        const QString& fold = folds[uchar(c)];
        if (folded.size() - at < fold.size() || folded.sliced(at, fold.size()) != fold) return false;
        at += fold.size();
    }
    return at == folded.size();
}

} // namespace IniLines
