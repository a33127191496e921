#include "drills/ui/TFmCoursePrac.h"

#include "drills/DrillColors.h"
#include "drills/DrillRules.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/KeyInput.h"
#include "platform/Translation.h"

#include <QLabel>

TFmCoursePrac::TFmCoursePrac(QWidget* owner) : TFmSentencePrac(owner, Creation::Deferred) {
    setObjectName(QStringLiteral("FmCoursePrac"));
    setWindowTitle(i18n("Course"));
    Label1 = new QLabel(QStringLiteral("00 / 00"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("Courier New"));
    font.setBold(true);
    font.setPixelSize(21);
    Label1->setFont(font);
    Label1->setGeometry(480, 90, 91, 23);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FormCreate();
}

void TFmCoursePrac::FormCreate() {
    TFmSentencePrac::FormCreate();
    NavCommand = cnNone;
    CurrentLine = 0;
    setStatusText(
        i18n("Press the -> key to the next, the <- key to the previous, the Insert key to anywhere."));
}

void TFmCoursePrac::FormShow() {
    TFmSentencePrac::FormShow();
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, DrillColors::contrasting(panelColor()));
    Label1->setPalette(pal);
}

void TFmCoursePrac::InputEditKeyDown(quint16& Key) {
    using namespace KeyInput;
    switch (Key) {
    case VK_END:
    case VK_HOME:
    case VK_DELETE:
        Key = 0;
        NavCommand = cnNone;
        break;
    case VK_LEFT:
    case VK_UP:
        NavCommand = cnPrevious;
        NextLine();
        break;
    case VK_RIGHT:
    case VK_DOWN:
        NavCommand = cnNext;
        NextLine();
        break;
    case VK_INSERT:
        NavCommand = cnGoto;
        NextLine();
        break;
    default:
        NavCommand = cnNone;
        break;
    }
}

void TFmCoursePrac::showEndOfCourse() {
    dialogs().information(i18n("End of the course."));
}

void TFmCoursePrac::NextLine() {
    const int32_t count = int32_t(Lines.size());
    switch (NavCommand) {
    case cnPrevious:
        --CurrentLine;
        if (CurrentLine < 0) {
            CurrentLine = 0;
            dialogs().information(i18n("Beginning of the course."));
        }
        break;
    case cnNext:
        ++CurrentLine;
        if (CurrentLine >= count) {
            --CurrentLine;
            showEndOfCourse();
        }
        break;
    case cnGoto: {
        const QString answer = dialogs().inputBox(
            i18n("Input Box"), i18n("Please input a number to goto somewhere of the course:"),
            QString::number(CurrentLine + 1));
        const std::optional<int> number = DrillRules::gotoLineNumber(CodePage::fromUnicode(answer));
        if (!number)
            dialogs().information(i18n("Invalid input."));
        else if (*number >= 1 && *number <= count) // no arithmetic: the answer may be INT_MIN
            CurrentLine = *number - 1;
        break;
    }
    case cnNone:
        break;
    }

    if (LineFinished && EndReason != lerCancelled && LineAccepted) {
        ++CurrentLine;
        if (CurrentLine >= count) {
            --CurrentLine;
            showEndOfCourse();
        }
    }

    // A stored position outside the file (a shortened course, a damaged profile) is brought
    // back into it rather than asking the list for a line it does not have.
    CurrentLine = count > 0 ? std::clamp(CurrentLine, 0, count - 1) : 0;
    prepareLine(count > 0 ? Lines[CurrentLine] : QByteArray());

    LbMark->hide();
    Timing = false;
    LineFinished = false;
    if (!sample().isEmpty()) showHint(sample().at(1));
    Label1->setText(QString::number(CurrentLine + 1) + QStringLiteral(" / ") + QString::number(count));
    // The label grows with its text, so that long courses ("123 / 456") show whole.
    Label1->resize(std::max(Label1->sizeHint().width(), 91), Label1->height());
    LineAccepted = true;
    ResetInput();
}
