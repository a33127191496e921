#pragma once

#include "platform/IniLines.h"

#include <QByteArray>
#include <vector>

// Writes keys into the text of one ini section, from its header line to the line before the
// next header: an existing key gets the new value in place and keeps its spelling; a missing
// key goes after the last line of the section that is not blank, so the empty lines that
// separate it from the next section stay where they are. Everything else keeps its bytes.
class IniSectionEditor {
public:
    // newLine: the line end of the file, for the lines added.
    IniSectionEditor(QByteArray text, QByteArray newLine);

    // key: a name without blanks around it; neither key nor value holds a line end.
    void write(const QByteArray& key, const QByteArray& value);
    const QByteArray& text() const { return m_text; }

private:
    qsizetype sectionEnd() const;
    qsizetype findKey(const QString& folded, qsizetype end) const;
    qsizetype appendPoint(qsizetype end) const;
    void insertLine(qsizetype at, const QByteArray& text);
    void replaceValue(qsizetype at, const QByteArray& value);
    void shiftLines(qsizetype from, qsizetype delta);

    QByteArray m_text;
    QByteArray m_newLine;
    std::vector<IniLines::Line> m_lines; // the header first
};
