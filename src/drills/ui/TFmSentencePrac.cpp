#include "drills/ui/TFmSentencePrac.h"

#include "drills/DrillCompanions.h"
#include "drills/DrillRules.h"
#include "drills/DrillStopwatch.h"
#include "platform/Errors.h"
#include "platform/TextLines.h"
#include "platform/Translation.h"

#include <QDateTime>
#include <algorithm>

TFmSentencePrac::TFmSentencePrac(QWidget* owner) : TFmSentencePrac(owner, Creation::Deferred) {
    FormCreate();
}

TFmSentencePrac::TFmSentencePrac(QWidget* owner, Creation creation)
    : TFmLinePractice(owner, Creation::Deferred) {
    setObjectName(QStringLiteral("FmSentencePrac"));
    setWindowTitle(i18n("Sentence Drills"));
    if (creation == Creation::Now) FormCreate();
}

void TFmSentencePrac::FormCreate() {
    TFmLinePractice::FormCreate();
    Lines = TextLines();
    m_random.seed(quint32(QDateTime::currentMSecsSinceEpoch()));
}

void TFmSentencePrac::SetFileName(const QString& Name) {
    FileName = Name;
    Lines = TextLines();
}

void TFmSentencePrac::readLines() {
    TextLines lines = loadLines(FileName);
    // A file of blank lines only would offer nothing but empty lines, each ended by any key.
    const bool nothingToType = std::all_of(lines.begin(), lines.end(), [](QByteArrayView line) {
        return DrillRules::trimLine(line.toByteArray()).isEmpty();
    });
    if (nothingToType)
        throw EInOutError(formatText(i18n("The file %s holds no lines to practise."), {FileName}));
    Lines = std::move(lines);
}

bool TFmSentencePrac::LoadFile() {
    readLines();
    NextLine();
    return !Lines.empty();
}

void TFmSentencePrac::prepareLine(const QByteArray& line) {
    SetSampleText(DrillRules::trimLine(line));
    SampleLength = sample().length();
    WordCount = 0;
    Position = 1;
    DrillStopwatch.SetElapsed(0);
    WordCount = DrillRules::countSpaceSeparatedWords(sample().bytes());
}

void TFmSentencePrac::NextLine() {
    if (LineAccepted && !Lines.empty()) {
        const int index = int(m_random.bounded(quint32(Lines.size())));
        prepareLine(Lines[index]);
    } else {
        // The same sentence again; every position is typed again before it can complete.
        SampleLength = sample().length();
        Position = 1;
        DrillStopwatch.SetElapsed(0);
        WordCount = DrillRules::countSpaceSeparatedWords(sample().bytes());
    }
    if (!sample().isEmpty()) showHint(sample().at(1));
    LineAccepted = true;
    ResetInput();
}
