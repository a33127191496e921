#include "game/strikerSourceType.h"

#include "game/GameRandom.h"
#include "game/GameSettings.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/RegularFile.h"
#include "platform/TextLines.h"

#include <algorithm>

strikerSourceType::strikerSourceType(QString wordFile) : WordFile(std::move(wordFile)) {}

void strikerSourceType::Clear() {
    GroupCount = 0;
    ExhaustedCount = 0;
    m_text.clear();
    m_words.clear();
    m_groups.clear();
    Exhausted.clear();
}

namespace {
// Calls word(view) for every word and newGroup() where a run of empty lines after a line ends a
// group. Only the space separates words; a tab belongs to the word.
template <typename Word, typename NewGroup>
void scanWords(const QByteArray& text, Word word, NewGroup newGroup) {
    bool previousEmpty = true;
    forEachLine(text, [&](QByteArrayView line) {
        if (line.isEmpty()) {
            if (!previousEmpty) newGroup();
            previousEmpty = true;
            return;
        }
        previousEmpty = false;
        for (qsizetype i = 0; i < line.size();) {
            while (i < line.size() && line[i] == ' ')
                ++i;
            qsizetype end = i;
            while (end < line.size() && line[end] != ' ')
                ++end;
            if (end > i) word(line.sliced(i, end - i));
            i = end;
        }
    });
}
} // namespace

void strikerSourceType::LoadFromFile() {
    Clear();
    QByteArray text = RegularFile::read(WordFile, MaxTextFileSize);
    // The groups grow as the file needs them: there is no fixed limit on their number. Counted
    // first, so that words and groups take exactly their room.
    size_t words = 0;
    size_t groups = 1;
    scanWords(
        text, [&](QByteArrayView) { ++words; }, [&] { ++groups; });
    m_words.reserve(words);
    m_groups.reserve(groups);
    m_groups.push_back({0, 0});
    const char* first = text.constData();
    scanWords(
        text,
        [&](QByteArrayView word) {
            m_words.push_back({quint32(word.data() - first), quint32(word.size())});
            ++m_groups.back().count;
        },
        [&] {
            m_groups.push_back({quint32(m_words.size()), 0});
        });
    m_text = std::move(text);
    GroupCount = int(m_groups.size());
    Exhausted.assign(m_groups.size(), false);
}

std::vector<QByteArray> strikerSourceType::groupWords(int index) const {
    std::vector<QByteArray> words;
    const Group& group = m_groups.at(size_t(index));
    for (quint32 i = 0; i < group.count; ++i)
        words.push_back(wordText(m_words[group.first + i]));
    return words;
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
        Group& group = m_groups[size_t(CurrentGroup - 1)];
        if (Chance(GroupChance(CurrentGroup)) == 1 && group.count > 0) {
            auto word = std::make_unique<strikerType>();
            const int k = GameRandom::Random(int(group.count));
            const auto words = m_words.begin() + group.first;
            word->Text = wordText(words[k]);
            std::copy(words + k + 1, words + group.count, words + k);
            --group.count;
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
        if (group.count == 0 && !Exhausted[size_t(CurrentGroup - 1)]) {
            Exhausted[size_t(CurrentGroup - 1)] = true;
            ++ExhaustedCount;
        }
        if (ExhaustedCount == GroupCount) return false;
        if (++CurrentGroup > GroupCount) CurrentGroup = 1;
    }
}
