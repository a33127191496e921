#include "platform/IniSectionEditor.h"

using IniLines::Kind;
using IniLines::Line;

IniSectionEditor::IniSectionEditor(QByteArray text, QByteArray newLine)
    : m_text(std::move(text)), m_newLine(std::move(newLine)), m_lines(IniLines::split(m_text)) {}

void IniSectionEditor::write(const QByteArray& key, const QByteArray& value) {
    const qsizetype end = sectionEnd();
    if (const qsizetype at = findKey(IniLines::folded(key), end); at >= 0)
        replaceValue(at, value);
    else
        insertLine(appendPoint(end), key + '=' + value);
}

// A key whose name begins with "[" makes a header of its own: the section ends there.
qsizetype IniSectionEditor::sectionEnd() const {
    qsizetype end = 1;
    while (end < qsizetype(m_lines.size()) && m_lines[end].kind != Kind::Section)
        ++end;
    return end;
}

// Key names are compared folded, without a string made for each line.
qsizetype IniSectionEditor::findKey(const QString& folded, qsizetype end) const {
    for (qsizetype i = 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Key &&
            IniLines::foldedEquals(IniLines::nameView(m_text, m_lines[i]), folded))
            return i;
    }
    return -1;
}

qsizetype IniSectionEditor::appendPoint(qsizetype end) const {
    qsizetype at = end;
    while (at > 1 && IniLines::isBlank(m_text, m_lines[at - 1]))
        --at;
    return at;
}

void IniSectionEditor::shiftLines(qsizetype from, qsizetype delta) {
    for (auto it = m_lines.begin() + from; it != m_lines.end(); ++it)
        it->start += delta;
}

void IniSectionEditor::insertLine(qsizetype at, const QByteArray& text) {
    // Only the last line of a file can lack its end; a line after it needs one.
    if (Line& before = m_lines[at - 1]; before.endLength == 0) {
        m_text.insert(before.start + before.length, m_newLine);
        before.endLength = uint8_t(m_newLine.size());
    }
    Line line;
    line.start = at < qsizetype(m_lines.size()) ? m_lines[at].start : m_text.size();
    line.length = text.size();
    // A lone CR before an empty LF line would read as one CR LF, and the empty line would go.
    const bool beforeLf = line.start < m_text.size() && m_text[line.start] == '\n';
    const QByteArray end = (beforeLf && m_newLine == "\r") ? QByteArray("\r\n") : m_newLine;
    line.endLength = uint8_t(end.size());
    m_text.insert(line.start, text + end);
    IniLines::classify(m_text, line);
    shiftLines(at, line.length + line.endLength);
    m_lines.insert(m_lines.begin() + at, line);
}

void IniSectionEditor::replaceValue(qsizetype at, const QByteArray& value) {
    Line& line = m_lines[at];
    const qsizetype oldLength = line.length - line.valueOffset;
    m_text.replace(line.start + line.valueOffset, oldLength, value);
    const qsizetype delta = value.size() - oldLength;
    line.length += delta;
    shiftLines(at + 1, delta);
}
