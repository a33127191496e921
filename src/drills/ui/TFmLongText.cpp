#include "drills/ui/TFmLongText.h"

#include "drills/DrillRules.h"
#include "drills/DrillStopwatch.h"
#include "drills/DrillText.h"
#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/GlobalDrillCompanions.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Translation.h"
#include "platform/ui/OuterFrameFit.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
// The file's bytes, the conversions and the one-time layout of a long text are freed once it is in
// the sample box, but the allocator keeps their pages unless asked: they are handed back, so that
// a text costs only what the boxes and the engine hold.
void releaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// The hourglass for the time of a long step; it goes whatever way the step ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

TFmLongText::TFmLongText(QWidget* owner) : TFmLinePractice(owner, Creation::Deferred) {
    setObjectName(QStringLiteral("FmLongText"));
    setWindowTitle(i18n("Text drill"));

    ToolBar1 = new QToolBar(Panel1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    BnLoad = addButton("BnLoad", i18n("&Load text"), i18n("Load from file"));
    BnPaste = addButton("BnPaste", i18n("&Paste"), i18n("Paste from clipboard"));
    BnRestart = addButton("BnRestart", i18n("&Restart"), i18n("Restart with current content"));
    BnClose = addButton("BnClose", i18n("&Close"), QString());
    ToolBar1->setGeometry(4, 2, 400, 30);
    ToolBar1->adjustSize();

    BnShowReturn = new QToolButton(Panel1);
    BnShowReturn->setObjectName(QStringLiteral("BnShowReturn"));
    BnShowReturn->setText(QStringLiteral("#"));
    BnShowReturn->setToolTip(i18n("Press return key if you see this button"));
    BnShowReturn->setGeometry(40, 90, 21, 21);
    BnShowReturn->setFocusPolicy(Qt::NoFocus);
    BnShowReturn->hide();

    SampleEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InputEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    OpenDialog1.Filter = QStringLiteral("Text|*.Txt|All|*.*");
    OpenDialog1.DefaultExt = QStringLiteral("txt");

    connect(BnLoad, &QToolButton::clicked, this, &TFmLongText::BnLoadClick);
    connect(BnPaste, &QToolButton::clicked, this, &TFmLongText::BnPasteClick);
    connect(BnRestart, &QToolButton::clicked, this, &TFmLongText::BnRestartClick);
    connect(BnClose, &QToolButton::clicked, this, &TFmLongText::BnCloseClick);
    FormCreate();
}

QToolButton* TFmLongText::addButton(const char* objectName, const QString& caption, const QString& hint) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setText(caption);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus); // the input box keeps the keys
    ToolBar1->addWidget(button);
    return button;
}

void TFmLongText::FormCreate() {
    TFmLinePractice::FormCreate();
    ShowKeyboard = false;
    ReturnEndsLine = false;
    OpenDialog1.InitialDir = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Courses"));
}

void TFmLongText::ArrangeLayout() {
    // The whole window, frame included, 1 pixel in from the left and the top, as wide as the
    // screen and 25 pixels less than its height; the boxes share its client height.
    const QSize screen = screenSize();
    frameFit()->fit(QPoint(1, 1), WindowExtent::outer(screen.width()), WindowExtent::outer(screen.height() - 25));
    layoutClientArea();
}

void TFmLongText::layoutClientArea() {
    TFmLinePractice::layoutClientArea();
    const int clientWidth = width();
    const int clientHeight = height();
    const int boxHeight = std::max(0, clientHeight / 2 - 48);
    SampleEdit->setGeometry(4, 35, std::max(0, clientWidth - 15), boxHeight);
    const int markTop = SampleEdit->y() + SampleEdit->height() + 3;
    LbMark->move(LbMark->x(), markTop);
    if (BnShowReturn) BnShowReturn->move(BnShowReturn->x(), markTop);
    InputEdit->setGeometry(4, markTop + 22, std::max(0, clientWidth - 11), boxHeight);
}

void TFmLongText::SetBackgroundColor(int32_t Color) {
    TFmLinePractice::SetBackgroundColor(Color);
}

void TFmLongText::ShowKeyHint(char Ch) {
    if (Ch == DrillRules::Return) {
        if (OnReturnExpected) OnReturnExpected(this);
        BnShowReturn->show();
    } else {
        BnShowReturn->hide();
    }
}

void TFmLongText::MarkCorrect() {
    TFmLinePractice::MarkCorrect();
}

void TFmLongText::MarkWrong() {
    TFmLinePractice::MarkWrong();
}

bool TFmLongText::HighlightCurrent() {
    return true;
}

void TFmLongText::NextLine() {
    InputEdit->setReadOnly(true);
}

void TFmLongText::BnLoadClick() {
    LoadTextFromFile();
}

void TFmLongText::BnPasteClick() {
    PasteText();
}

void TFmLongText::BnRestartClick() {
    StartText();
}

void TFmLongText::BnCloseClick() {
    close();
}

void TFmLongText::LoadTextFromFile() {
    if (!OpenDialog1.Execute(this)) return;
    try {
        {
            WaitCursor wait;
            setSampleBoxText(DrillText::loadFile(OpenDialog1.FileName));
            ApplySampleFont();
        }
        StartText();
    } catch (const QuorvelError& e) {
        dialogs().error(e.message());
    }
}

void TFmLongText::PasteText() {
    try {
        {
            WaitCursor wait;
            const QClipboard* clipboard = QGuiApplication::clipboard();
            const QString text = clipboard ? clipboard->text() : QString();
            DrillText::checkLength(text.size());
            setSampleBoxText(DrillText::fromUnicode(text));
            ApplySampleFont();
        }
        StartText();
    } catch (const QuorvelError& e) {
        dialogs().error(e.message());
    }
}

void TFmLongText::ApplySampleFont() {
    SampleEdit->setEnabled(false);
    QTextCursor sampleAll(SampleEdit->document());
    sampleAll.select(QTextCursor::Document);
    sampleAll.setCharFormat(sampleCharFormat());
    QTextCursor inputAll(InputEdit->document());
    inputAll.select(QTextCursor::Document);
    inputAll.setCharFormat(sampleCharFormat());
    SampleEdit->setEnabled(true);
    SampleEdit->setTextCursor(QTextCursor(SampleEdit->document()));
}

void TFmLongText::StartText() {
    WaitCursor wait;
    LbMark->hide();
    const int length = sample().length();
    Marks.assign(size_t(length) + 1, false);
    SampleLength = length;
    WordCount = 0;
    Position = 1;
    DrillStopwatch.SetElapsed(0);
    Timing = false;
    WordCount = DrillRules::countTextWords(sample().bytes());
    if (!sample().isEmpty()) {
        if (DrillKeyboard* keyboard = activeDrillCompanions().keyboard) {
            try {
                keyboard->HighlightChar(sample().at(1));
            } catch (const QuorvelError& e) {
                dialogs().error(e.message());
            }
        }
        selectSampleCharacter(0); // a restarted text shows its beginning again
    }
    BnShowReturn->setVisible(sample().at(1) == DrillRules::Return);
    InputEdit->clear();
    InputEdit->setInsertFormat(sampleCharFormat());
    InputEdit->setReadOnly(false);
    InputEdit->setEnabled(true);
    InputEdit->setFocus();
    releaseFreedMemory(); // after the sample box has split its long paragraphs
}
