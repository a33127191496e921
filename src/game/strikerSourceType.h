#pragma once

#include "game/strikerType.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

// The word supply of one game: the word file read into groups (separated by runs of empty
// lines), each entry handed out at most once, the group chosen by a table of chances and each
// word placed to the right of the previous one.
class strikerSourceType {
public:
    // Nothing is read yet.
    explicit strikerSourceType(QString wordFile);

    // Empties the supply and reads the word file. Raises EInOutError when it cannot be read.
    void LoadFromFile();
    // True with a new word in Striker; false once every group has been found empty.
    bool NextStriker();
    void Clear();

    // Where a failure inside NextStriker is reported (a message for the user). By default an
    // information dialog.
    std::function<void(const QString&)> reportError;

    // The words of a group (0 is group 1) not handed out yet, in file order.
    std::vector<QByteArray> groupWords(int index) const;

    QString WordFile;
    std::unique_ptr<strikerType> Striker; // the caller takes it
    std::vector<bool> Exhausted;
    int ExhaustedCount = 0;
    int GroupCount = 0;
    int LastColumn = 0;
    int LastLength = 0;

private:
    bool nextStriker();

    // The words are kept compactly, as places in the file's text: a file of millions of short
    // words or groups costs a few bytes of memory for each of its bytes.
    struct Word {
        quint32 start;
        quint32 length;
    };
    struct Group {
        quint32 first; // its words not handed out yet are m_words[first, first + count)
        quint32 count;
    };
    QByteArray wordText(const Word& word) const { return m_text.mid(word.start, word.length); }

    QByteArray m_text;
    std::vector<Word> m_words;
    std::vector<Group> m_groups;
};
