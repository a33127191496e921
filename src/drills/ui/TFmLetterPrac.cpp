#include "drills/ui/TFmLetterPrac.h"

#include "drills/DrillRules.h"
#include "drills/DrillStopwatch.h"
#include "drills/ui/DrillInputEdit.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Translation.h"

#include <QLabel>

TFmLetterPrac::TFmLetterPrac(QWidget* owner) : TFmLinePractice(owner, Creation::Deferred) {
    setObjectName(QStringLiteral("FmLetterPrac"));
    setWindowTitle(i18n("Free Drills"));
    FormCreate();
}

void TFmLetterPrac::FormCreate() {
    TFmLinePractice::FormCreate();
    LineDefined = false;
    setStatusText(i18n("Please press the Insert key for defining the example line."));
}

void TFmLetterPrac::InputEditKeyDown(quint16& Key) {
    using namespace KeyInput;
    if ((Key >= VK_END && Key <= VK_DOWN) || Key == VK_DELETE) {
        Key = 0;
    } else if (Key == VK_INSERT) {
        LineDefined = false;
        NextLine();
    }
}

void TFmLetterPrac::NextLine() {
    if (!LineDefined) {
        const QString answer =
            dialogs().inputBox(i18n("Input Box"), i18n("Please input what to practise:"), i18n("qwerty"));
        const QByteArray entry = CodePage::fromUnicode(answer).left(DrillRules::MaxFreeEntry);
        if (!entry.isEmpty()) {
            SetSampleText(DrillRules::buildFreeLine(entry));
            SampleLength = sample().length();
            WordCount = DrillRules::countSpaceSeparatedWords(sample().bytes());
            LineDefined = true;
            LbMark->hide();
        }
    }
    if (!sample().isEmpty()) {
        InputEdit->clear();
        Position = 1;
        DrillStopwatch.SetElapsed(0);
        // The line starts untimed, so the mark that shows a timed line goes too (Insert may
        // restart a line in the middle without ending it).
        LbMark->hide();
        Timing = false;
        LineFinished = false;
        showHint(sample().at(1));
    }
    ResetInput();
}
