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

    QString WordFile;
    std::vector<std::vector<QByteArray>> Groups; // Groups[0] is group 1
    std::unique_ptr<strikerType> Striker;        // the caller takes it
    std::vector<bool> Exhausted;
    int ExhaustedCount = 0;
    int GroupCount = 0;
    int LastColumn = 0;
    int LastLength = 0;

private:
    bool nextStriker();
};
