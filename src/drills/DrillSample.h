#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The 8-bit sample of a drill, kept beside the sample box so that a key never has to read the
// whole box. Positions are 1-based and a CR LF line break takes two of them; in the box a line
// break is one character, so the sample also maps its positions to the box's.
class DrillSample {
public:
    void setText(const QByteArray& bytes);
    const QByteArray& bytes() const { return m_bytes; }
    int length() const { return int(m_bytes.size()); }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    // The character at a position, #0 outside the sample.
    char at(int position) const {
        return position >= 1 && position <= length() ? m_bytes[position - 1] : '\0';
    }
    // The text the box shows: every line break (CR LF, CR or LF) one '\n'.
    QString displayText() const;
    // The 0-based index in the box of a sample position; costs log(number of line breaks).
    int boxIndex(int position) const;

private:
    QByteArray m_bytes;
    std::vector<int> m_mergedPositions; // positions of the LF of every CR LF, ascending
};
