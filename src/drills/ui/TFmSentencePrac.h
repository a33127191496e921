#pragma once

#include "drills/ui/TFmLinePractice.h"
#include "platform/TextLines.h"

#include <QRandomGenerator>
#include <vector>

// The sentence drill: random sentences of the course's "Practice.txt", one at a time. A sentence
// completed with less than 95 % accuracy comes again; every other line end brings a new one.
class TFmSentencePrac : public TFmLinePractice {
    Q_OBJECT
public:
    explicit TFmSentencePrac(QWidget* owner = nullptr);

    TextLines Lines;
    QString FileName;

    void SetFileName(const QString& Name);
    // Reads the lines of FileName and prepares the first one; true when there is a line.
    // A file that cannot be read, or that holds no line with text, raises EInOutError with a message that
    // says so, and the drill is not to be shown.
    bool LoadFile();
    void NextLine() override;

protected:
    TFmSentencePrac(QWidget* owner, Creation creation);
    void FormCreate() override;
    // Reads the lines; the variants share it.
    void readLines();
    // Puts a trimmed line in the sample box and counts its words; `Position` 1, stopwatch reset.
    void prepareLine(const QByteArray& line);

    QRandomGenerator m_random;
};
