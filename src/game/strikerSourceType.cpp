#include "game/strikerSourceType.h"

#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/TextLines.h"

strikerSourceType::strikerSourceType(QString wordFile) : WordFile(std::move(wordFile)) {}

void strikerSourceType::Clear() {
    GroupCount = 0;
    ExhaustedCount = 0;
    Groups.clear();
    Exhausted.clear();
}

void strikerSourceType::LoadFromFile() {
    Clear();
    const std::vector<QByteArray> lines = loadLines(WordFile);
    // The groups grow as the file needs them: there is no fixed limit on their number.
    Groups.resize(1);
    size_t g = 0;
    bool previousEmpty = true;
    for (const QByteArray& line : lines) {
        if (line.isEmpty()) {
            if (!previousEmpty) {
                ++g;
                Groups.resize(g + 1);
            }
            previousEmpty = true;
            continue;
        }
        previousEmpty = false;
        // Only the space separates words; a tab belongs to the word.
        for (const QByteArray& word : line.split(' '))
            if (!word.isEmpty()) Groups[g].push_back(word);
    }
    GroupCount = int(g + 1);
    Exhausted.assign(Groups.size(), false);
}

bool strikerSourceType::NextStriker() {
    try {
        return nextStriker();
    } catch (const QuorvelError& e) {
        const QString message = e.message() + QStringLiteral(" StrikerSource available");
        reportError ? reportError(message) : dialogs().information(message);
    } catch (const std::exception& e) {
        const QString message = QString::fromLocal8Bit(e.what()) + QStringLiteral(" StrikerSource available");
        reportError ? reportError(message) : dialogs().information(message);
    }
    return false;
}

bool strikerSourceType::nextStriker() {
    using namespace game;
    if (GroupCount <= 0) return false;
    if (++CurrentGroup > GroupCount) CurrentGroup = 1;
    for (;;) {
        // A cursor carried over from a game with more groups starts again at the first.
        if (CurrentGroup < 1 || CurrentGroup > GroupCount) CurrentGroup = 1;
        std::vector<QByteArray>& group = Groups[size_t(CurrentGroup - 1)];
        if (Chance(GroupChance(CurrentGroup)) == 1 && !group.empty()) {
            auto word = std::make_unique<strikerType>();
            const int k = GameRandom::Random(int(group.size()));
            word->Text = group[size_t(k)];
            group.erase(group.begin() + k);
            word->Length = int32_t(word->Text.size());
            word->Y = 0;
            const int columns = std::max(1, Columns);
            word->Column = (GameRandom::Random(columns / 2) + LastColumn + LastLength) % columns + 1;
            if (word->Column + word->Length > columns) word->Column = 1;
            word->X = (word->Column - 1) * CellSize;
            word->Speed = FunSpeed ? GameRandom::Random(3) + 1 : 2;
            word->Typed = -1;
            LastColumn = word->Column;
            LastLength = word->Length;
            Striker = std::move(word);
            return true;
        }
        if (group.empty() && !Exhausted[size_t(CurrentGroup - 1)]) {
            Exhausted[size_t(CurrentGroup - 1)] = true;
            ++ExhaustedCount;
        }
        if (ExhaustedCount == GroupCount) return false;
        if (++CurrentGroup > GroupCount) CurrentGroup = 1;
    }
}
