#include "drills/ui/TFmLinePractice.h"

#include "drills/DrillColors.h"
#include "drills/DrillRules.h"
#include "drills/DrillStopwatch.h"
#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/GlobalDrillCompanions.h"
#include "drills/ui/SoftLineBreaks.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Translation.h"
#include "platform/ui/OuterFrameFit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace {
// Sample paragraphs up to this many characters stay whole: one costs a key little.
constexpr int LongParagraph = 400;
// A long paragraph's screen lines are found this far ahead of the character being typed, so that
// the lines the box shows are its own, and this many characters at a time.
constexpr int LinesAhead = 16384;
constexpr int LinesAtATime = 8192;
constexpr int StatusBarHeight = 26;
constexpr int DesignClientWidth = 592;
constexpr int DesignClientHeight = 230;
} // namespace

TFmLinePractice::TFmLinePractice(QWidget* owner) : TFmLinePractice(owner, Creation::Deferred) {
    FormCreate();
}

TFmLinePractice::TFmLinePractice(QWidget* owner, Creation creation) : QDialog(owner) {
    build();
    if (creation == Creation::Now) FormCreate();
}

TFmLinePractice::~TFmLinePractice() {
    FormDestroy();
}

void TFmLinePractice::build() {
    setObjectName(QStringLiteral("FmLinePractice"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    m_frameFit = new OuterFrameFit(this);
    resize(DesignClientWidth, DesignClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, DrillColors::toQColor(DrillColors::clMoneyGreen));
    setPalette(pal);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Box);
    Panel1->setFrameShadow(QFrame::Sunken);

    InputEdit = new DrillInputEdit(Panel1);
    InputEdit->setObjectName(QStringLiteral("InputEdit"));
    InputEdit->setGeometry(3, 115, 581, 80);
    QPalette inputPal = InputEdit->palette();
    inputPal.setColor(QPalette::Base, inputPal.color(QPalette::ToolTipBase)); // clInfoBk
    InputEdit->setPalette(inputPal);
    InputEdit->setKeyDownHandler([this](quint16& key) { handleKeyDown(key); });
    InputEdit->setKeyPressHandler([this](KeyInput::KeyChar& key) { handleKeyPress(key); });

    SampleEdit = new QPlainTextEdit(Panel1);
    SampleEdit->setObjectName(QStringLiteral("SampleEdit"));
    SampleEdit->setGeometry(4, 4, 577, 80);
    SampleEdit->setFrameShape(QFrame::NoFrame);
    SampleEdit->setReadOnly(true);
    SampleEdit->setUndoRedoEnabled(false);
    SampleEdit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SampleEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    SampleEdit->installEventFilter(this);
    connect(SampleEdit->verticalScrollBar(), &QScrollBar::valueChanged, this, &TFmLinePractice::measureShownSample);
    setTabOrder(InputEdit, SampleEdit);

    LbMark = new QLabel(QStringLiteral("V"), Panel1);
    LbMark->setObjectName(QStringLiteral("LbMark"));
    QFont markFont(QStringLiteral("Courier New"));
    markFont.setBold(true);
    markFont.setPixelSize(21);
    LbMark->setFont(markFont);
    LbMark->move(4, 90);
    LbMark->adjustSize();
    LbMark->hide();

    SBHelp = new QStatusBar(this);
    SBHelp->setObjectName(QStringLiteral("SBHelp"));
    SBHelp->setSizeGripEnabled(false);
    m_statusLabel = new QLabel(SBHelp);
    m_statusLabel->setObjectName(QStringLiteral("SBHelpText"));
    SBHelp->addWidget(m_statusLabel, 1);

    setWindowTitle(i18n("Line Practice"));
    InputEdit->setFocus();
    layoutClientArea();
}

void TFmLinePractice::layoutClientArea() {
    const int w = width();
    const int h = height();
    Panel1->setGeometry(0, 0, w, std::max(0, h - StatusBarHeight));
    SBHelp->setGeometry(0, h - StatusBarHeight, w, StatusBarHeight);
    SampleEdit->resize(std::max(0, w - 15), SampleEdit->height());
    InputEdit->resize(std::max(0, w - 11), InputEdit->height());
}

void TFmLinePractice::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutClientArea();
    followLateFrame();
}

void TFmLinePractice::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // A window manager raises the owner of a modal window with it when it activates it, which
    // may hide the keyboard and hands behind the main window: once it is done they come to the
    // front again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, &TFmLinePractice::bringCompanionsToFront);
}

void TFmLinePractice::bringCompanionsToFront() {
    if (!m_companionsPlaced || !ShowKeyboard || !isVisible()) return;
    const DrillCompanions& c = activeDrillCompanions();
    if (c.keyboard) c.keyboard->BringToFront();
    if (c.leftHand) c.leftHand->ShowIfUsed();
    if (c.rightHand) c.rightHand->ShowIfUsed();
}

void TFmLinePractice::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    followLateFrame();
}

QSize TFmLinePractice::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

QColor TFmLinePractice::panelColor() const {
    return palette().color(QPalette::Window);
}

void TFmLinePractice::setStatusText(const QString& text) {
    m_statusLabel->setText(text);
}

QString TFmLinePractice::statusText() const {
    return m_statusLabel->text();
}

// ---- creation, showing, hiding -------------------------------------------------------------

void TFmLinePractice::FormCreate() {
    ArrangeLayout();
    EndReason = lerNone;
    SetSampleText(QByteArray());
    SampleLength = 0;
    TotalTime = 0;
    Timing = false;
    LineFinished = false;
    LineAccepted = true;
    ShowKeyboard = true;
    ReturnEndsLine = true;
}

void TFmLinePractice::ArrangeLayout() {
    const QSize screen = screenSize();
    const int w = screen.width() * 90 / 100;
    const int left = (screen.width() - w) / 2;
    int top = screen.height() / 8;
    if (screen.height() <= 640) top = 20;
    // The width and the position are the whole window's, frame included; the client area keeps
    // its design height. The text boxes follow the client width (layoutClientArea).
    m_frameFit->fit(QPoint(left, top), WindowExtent::outer(w), WindowExtent::client(DesignClientHeight));
    layoutClientArea();
}

void TFmLinePractice::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFmLinePractice::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) FormHide();
}

void TFmLinePractice::FormShow() {
    QPalette pal = LbMark->palette();
    pal.setColor(QPalette::WindowText, DrillColors::contrasting(panelColor()));
    LbMark->setPalette(pal);
    InputEdit->setFocus();
    PlaceKeyboardAndHands();
    LineAccepted = true;
}

void TFmLinePractice::FormHide() {
    m_companionsPlaced = false;
    const DrillCompanions& c = activeDrillCompanions();
    if (c.keyboard) c.keyboard->whenFrameChanges({});
    if (c.keyboard) c.keyboard->Hide();
    if (c.leftHand) c.leftHand->Hide();
    if (c.rightHand) c.rightHand->Hide();
}

void TFmLinePractice::FormDestroy() {
    Marks.clear();
}

void TFmLinePractice::PlaceKeyboardAndHands() {
    if (!ShowKeyboard) return;
    const DrillCompanions& c = activeDrillCompanions();
    placeCompanions();
    // The keyboard's frame, and with it its outer width, is known once the window manager has
    // framed it: the keyboard is centred again then.
    if (c.keyboard) {
        c.keyboard->whenFrameChanges([drill = QPointer<TFmLinePractice>(this)] {
            if (drill) drill->followKeyboardFrame();
        });
        c.keyboard->Show(this);
    }
    if (c.leftHand) c.leftHand->ShowIfUsed();
    if (c.rightHand) c.rightHand->ShowIfUsed();
    // The keyboard and hands outlive the drill: with no sample yet (the free drill before its first
    // entry) the key and finger that the previous drill left lit are released.
    showHint(m_sample.isEmpty() ? '\0' : m_sample.at(Position));
}

void TFmLinePractice::placeCompanions() {
    const DrillCompanions& c = activeDrillCompanions();
    const QRect drill = windowFrame();
    m_placedFrameMargins = frameMarginsNow();
    m_companionsPlaced = true;
    if (!c.keyboard) return;
    const QRect kb = c.keyboard->frameGeometry();
    const int kbTop = drill.top() + drill.height() + 10;
    const int kbLeft = drill.left() + (drill.width() - kb.width()) / 2;
    c.keyboard->moveTo(kbLeft, kbTop);
    if (c.leftHand) c.leftHand->moveTo(kbLeft - c.leftHand->frameGeometry().width() - 5, kbTop);
    if (c.rightHand) c.rightHand->moveTo(kbLeft + kb.width() + 5, kbTop);
}

void TFmLinePractice::followLateFrame() {
    // A window manager frames the window only after it is shown, so when the keyboard and hands
    // were placed the frame was not known yet and they would sit under its lower edge. Once the
    // frame changes they are placed again below it; moving the window leaves them where they are.
    if (!m_companionsPlaced || !ShowKeyboard || !isVisible()) return;
    if (frameMarginsNow() != m_placedFrameMargins) placeCompanions();
}

void TFmLinePractice::followKeyboardFrame() {
    if (m_companionsPlaced && ShowKeyboard && isVisible()) placeCompanions();
}

QRect TFmLinePractice::windowFrame() const {
    return m_frameFit->frameGeometry();
}

QMargins TFmLinePractice::frameMarginsNow() const {
    const QRect frame = windowFrame();
    const QRect client = geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

bool TFmLinePractice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SampleEdit && event->type() == QEvent::FocusIn) SampleEditEnter();
    // The box lays its text out for the new width once it has handled the resize; the long
    // paragraphs are split again after that.
    if (watched == SampleEdit && event->type() == QEvent::Resize && m_sampleWrap.hasLongParagraph)
        QTimer::singleShot(0, this, [this] { wrapSampleIfStale(); });
    return QDialog::eventFilter(watched, event);
}

void TFmLinePractice::SampleEditEnter() {
    InputEdit->setFocus();
}

// ---- what the main window sets -------------------------------------------------------------

void TFmLinePractice::SetPracticeFont(const TFontValue& Font) {
    SetPracticeFont(DrillFont{Font.toQFont(), Font.toQColor()});
}

void TFmLinePractice::SetPracticeFont(const DrillFont& Font) {
    m_sampleFont = Font;
    SampleEdit->setFont(Font.font);
    InputEdit->setFont(Font.font);
    SampleEdit->document()->setDefaultFont(Font.font);
    InputEdit->document()->setDefaultFont(Font.font);
    QTextCharFormat format;
    ApplyFontToAttributes(Font, format);
    m_sampleFormat = format;
    QTextCursor all(InputEdit->document());
    all.select(QTextCursor::Document);
    all.setCharFormat(format);
    InputEdit->setInsertFormat(format);
}

void TFmLinePractice::SetBackgroundColor(int32_t Color) {
    const QColor color = DrillColors::toQColor(Color);
    if (!color.isValid()) return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

void TFmLinePractice::ApplyFontToAttributes(const DrillFont& Font, QTextCharFormat& Attributes) {
    Attributes.setFont(Font.font, QTextCharFormat::FontPropertiesAll);
    Attributes.setForeground(Font.color);
}

// ---- what the variants use -----------------------------------------------------------------

void TFmLinePractice::SetSampleText(const QByteArray& S) {
    setSampleBoxText(S);
    Marks.assign(size_t(S.size()) + 1, false);
}

void TFmLinePractice::setSampleBoxText(const QByteArray& S) {
    m_sample.setText(S);
    fillSampleBox();
}

void TFmLinePractice::fillSampleBox() {
    m_keptBlock = QTextBlock(); // its paragraph goes with the old text
    SampleEdit->clear();
    m_sampleWrap = SoftLineBreaks::fill(SampleEdit, m_sample.displayText(), m_sampleFormat, LongParagraph,
                                        std::max(m_sample.boxIndex(Position), 0) + LinesAhead + LinesAtATime);
}

void TFmLinePractice::ResetInput() {
    SampleEdit->setEnabled(false);
    QTextCursor sampleAll(SampleEdit->document());
    sampleAll.select(QTextCursor::Document);
    sampleAll.setCharFormat(m_sampleFormat);
    QTextCursor inputAll(InputEdit->document());
    inputAll.select(QTextCursor::Document);
    inputAll.setCharFormat(m_sampleFormat);
    SampleEdit->setEnabled(true);
    QTextCursor collapsed(SampleEdit->document());
    SampleEdit->setTextCursor(collapsed);
    InputEdit->clear();
    InputEdit->setInsertFormat(m_sampleFormat);
}

void TFmLinePractice::ShowFinger(int32_t F) {
    if (!ShowKeyboard) return;
    const DrillCompanions& c = activeDrillCompanions();
    if (F >= 0 && F <= 4) {
        if (c.rightHand) c.rightHand->UnlightCurrent();
        if (c.leftHand) c.leftHand->LightFinger(F + 1);
    } else if (F >= 5 && F <= 9) {
        if (c.leftHand) c.leftHand->UnlightCurrent();
        if (c.rightHand) c.rightHand->LightFinger(10 - F);
    } else if (F > 9) {
        if (c.leftHand) c.leftHand->UnlightCurrent();
        if (c.rightHand) c.rightHand->UnlightCurrent();
    } else {
        // A negative code: the right hand is asked for a position outside 1..5 and ignores it.
        if (c.leftHand) c.leftHand->UnlightCurrent();
        if (c.rightHand) c.rightHand->LightFinger(10 - F);
    }
}

// ---- the virtual operations ----------------------------------------------------------------

void TFmLinePractice::ShowKeyHint(char Ch) {
    DrillKeyboard* keyboard = activeDrillCompanions().keyboard;
    ShowFinger(keyboard ? keyboard->HighlightChar(Ch) : 10);
}

void TFmLinePractice::MarkCorrect() {
    QTextCharFormat format = m_sampleFormat;
    format.setForeground(DrillColors::toQColor(DrillColors::clNavy));
    InputEdit->setInsertFormat(format);
}

void TFmLinePractice::MarkWrong() {
    QTextCharFormat format = m_sampleFormat;
    format.setForeground(DrillColors::toQColor(DrillColors::clRed));
    InputEdit->setInsertFormat(format);
}

bool TFmLinePractice::HighlightCurrent() {
    return HighlightOn;
}

void TFmLinePractice::NextLine() {}

// ---- the typing engine ---------------------------------------------------------------------

void TFmLinePractice::handleKeyDown(quint16& key) {
    try {
        InputEditKeyDown(key);
    } catch (const QuorvelError& e) {
        key = 0;
        dialogs().error(e.message());
    }
}

void TFmLinePractice::handleKeyPress(KeyInput::KeyChar& key) {
    m_keyUnmappable = key.unmappable;
    try {
        char code = key.code;
        InputEditKeyPress(code);
        if (code != key.code) {
            key.code = code;
            key.unmappable = false;
        }
    } catch (const QuorvelError& e) {
        key.code = '\0';
        key.unmappable = false;
        Timing = false;
        LineFinished = false;
        dialogs().error(e.message());
    }
    m_keyUnmappable = false;
}

void TFmLinePractice::InputEditKeyDown(quint16& Key) {
    using namespace KeyInput;
    switch (Key) {
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
        Key = 0; // the caret stays at the end and nothing ahead of it can be deleted
        break;
    default:
        break;
    }
}

void TFmLinePractice::InputEditKeyPress(char& Key) {
    using DrillRules::KeyAction;
    if (InputEdit->isReadOnly()) return;

    auto mark = [this](int position, uint8_t value) {
        // Nothing is marked beyond the sample (a CR at its very end has no LF to cover).
        if (position >= 1 && position <= SampleLength && size_t(position) < Marks.size())
            Marks[size_t(position)] = value != 0;
    };

    bool swallowAfterwards = false;
    switch (DrillRules::decideKey(m_sample.bytes(), SampleLength, Position, Key, m_keyUnmappable)) {
    case KeyAction::EndLine:
        LineFinished = true;
        Key = '\0';
        break;
    case KeyAction::Correct:
        MarkCorrect();
        mark(Position, 1);
        ++Position;
        if (!ReturnEndsLine && Key == DrillRules::Return) {
            mark(Position, 1);
            ++Position;
        }
        showHintAtPosition();
        startTiming();
        break;
    case KeyAction::StepBack:
        if (Position > 1) {
            Position = DrillRules::positionAfterBackspace(m_sample.bytes(), Position);
            showHint(m_sample.at(Position));
        }
        break;
    case KeyAction::ReturnKey:
        if (ReturnEndsLine) LineFinished = true;
        // Enter that does not type the expected line break never reaches the box: the box would
        // show a line break that no position stands for (or, when it ends the line, one in the
        // emptied box of the next line).
        swallowAfterwards = true;
        break;
    case KeyAction::Cancel:
        LineFinished = true;
        break;
    case KeyAction::Nothing:
        break;
    case KeyAction::SpaceAsReturn:
        Key = DrillRules::Return;
        mark(Position, 1);
        mark(Position + 1, 1);
        Position += 2;
        showHintAtPosition();
        startTiming();
        break;
    case KeyAction::SwallowAtBreak:
        Key = '\0';
        break;
    case KeyAction::Wrong:
        MarkWrong();
        if (OnWrongKey) OnWrongKey(this);
        mark(Position, 0);
        ++Position;
        showHintAtPosition();
        startTiming();
        break;
    }

    if (LineFinished) {
        endLine(Key);
    } else if (HighlightCurrent()) {
        selectNextExpected();
    }
    if (swallowAfterwards) Key = '\0';
}

void TFmLinePractice::showHintAtPosition() {
    showHint(Position > SampleLength ? '\0' : m_sample.at(Position));
}

void TFmLinePractice::showHint(char ch) {
    // The key is still typed, so that the box and the position stay in step.
    try {
        ShowKeyHint(ch);
    } catch (const QuorvelError& e) {
        dialogs().error(e.message());
    }
}

void TFmLinePractice::startTiming() {
    if (Timing) return;
    LbMark->show();
    DrillStopwatch.Start();
    Timing = true;
}

void TFmLinePractice::endLine(char key) {
    DrillStopwatch.Stop();
    LineTime = DrillStopwatch.GetElapsed();
    TotalTime += LineTime;
    LbMark->hide();
    if (key != DrillRules::Escape) {
        int32_t errors = 0;
        for (int32_t i = 1; i <= SampleLength; ++i) {
            if (size_t(i) >= Marks.size() || !Marks[size_t(i)]) ++errors;
        }
        ErrorCount = errors;
    }
    if (Position > SampleLength)
        EndReason = lerCompleted;
    else if (key == DrillRules::Escape)
        EndReason = lerCancelled;
    else if (key == DrillRules::Return)
        EndReason = lerSkipped;
    else
        EndReason = lerNone;

    const bool cancelled = EndReason == lerCancelled;
    if (EndReason == lerCompleted) {
        if (OnLineComplete) OnLineComplete(this);
        ShowLineStatistics();
    }
    NextLine();
    Timing = false;
    LineFinished = false;
    // Esc closes the window once the key is handled: what NextLine does for the closing window
    // (the free drill may ask for its entry once more) still happens in front of it.
    if (cancelled) close();
}

void TFmLinePractice::selectNextExpected() {
    selectSampleCharacter(m_sample.boxIndex(Position));
}

void TFmLinePractice::wrapSampleIfStale() {
    if (!m_sampleWrap.hasLongParagraph) return;
    if (SoftLineBreaks::lineWidth(SampleEdit) == m_sampleWrap.width &&
        SoftLineBreaks::textFont(SampleEdit->document(), m_sampleFormat) == m_sampleWrap.font)
        return;
    fillSampleBox();
}

void TFmLinePractice::measureShownSample() {
    // Scrolled ahead of the typing, the box may come to lines of a long paragraph that still stand
    // in provisional pieces: they are measured before the box paints them, so that it shows its
    // own lines. The scroll bar counts lines; the text at the top stays at the top.
    if (!m_sampleWrap.hasLongParagraph || m_measuringSample) return;
    QTextDocument* doc = SampleEdit->document();
    QScrollBar* bar = SampleEdit->verticalScrollBar();
    const int lineHeight = std::max(1, QFontMetrics(m_sampleWrap.font).lineSpacing());
    const int shownLines = SampleEdit->viewport()->height() / lineHeight + 1;
    QTextBlock bottom = doc->findBlockByLineNumber(bar->value() + shownLines);
    if (!bottom.isValid()) bottom = doc->lastBlock();
    const int end = SoftLineBreaks::textIndex(m_sampleWrap.breaks, bottom.position() + bottom.length() - 1);
    if (end < m_sampleWrap.exactUntil) return;
    const int top = SoftLineBreaks::textIndex(m_sampleWrap.breaks, doc->findBlockByLineNumber(bar->value()).position());
    m_measuringSample = true;
    SoftLineBreaks::refine(SampleEdit, m_sampleWrap, LongParagraph, end + LinesAtATime);
    bar->setValue(doc->findBlock(SoftLineBreaks::documentIndex(m_sampleWrap.breaks, top)).firstLineNumber());
    m_measuringSample = false;
}

void TFmLinePractice::selectSampleCharacter(int index) {
    wrapSampleIfStale();
    if (m_sampleWrap.hasLongParagraph && index + LinesAhead > m_sampleWrap.exactUntil)
        SoftLineBreaks::refine(SampleEdit, m_sampleWrap, LongParagraph, index + LinesAhead + LinesAtATime);
    QTextDocument* doc = SampleEdit->document();
    const int last = std::max(0, doc->characterCount() - 1);
    index = std::clamp(SoftLineBreaks::documentIndex(m_sampleWrap.breaks, index), 0, last);
    keepLayoutOf(doc->findBlock(index));
    QTextCursor cursor(doc);
    cursor.setPosition(index);
    cursor.setPosition(std::min(index + 1, last), QTextCursor::KeepAnchor);
    SampleEdit->setTextCursor(cursor);
}

void TFmLinePractice::keepLayoutOf(const QTextBlock& block) {
    // A paragraph's layout normally drops its shaped text once laid out, so every repaint of the
    // moving selection and every cursor placement shapes the whole paragraph again: a key would
    // cost in proportion to the paragraph, which for a text pasted without line breaks is the
    // whole text. The paragraph being typed keeps its shaped text instead (about 35 bytes a
    // character); the one left behind is laid out once more, which gives its memory back.
    if (block == m_keptBlock) return;
    if (m_keptBlock.isValid() && m_keptBlock.layout()) {
        m_keptBlock.layout()->setCacheEnabled(false);
        SampleEdit->document()->markContentsDirty(m_keptBlock.position(), m_keptBlock.length());
    }
    m_keptBlock = block;
    if (m_keptBlock.isValid() && m_keptBlock.layout()) m_keptBlock.layout()->setCacheEnabled(true);
}

void TFmLinePractice::ShowLineStatistics() {
    LineAccepted = true;
    if (SampleLength <= 0) return;
    const DrillRules::LineStatistics s =
        DrillRules::lineStatistics(SampleLength, ErrorCount, WordCount, LineTime);
    setStatusText(formatText(i18n("Keys/Min: %d   Accuracy: %d%%   WPM: %d"),
                             {qint64(s.keysPerMin), qint64(s.accuracy), qint64(s.wordsPerMin)}));
    if (PopupStatistics) dialogs().information(statusText());
    if (s.keysPerMin > DrillRules::MaxPlausibleKeysPerMin)
        dialogs().warning(i18n("Can you really type so fast?  Do be patient."));
    if (s.accuracy < DrillRules::AcceptedAccuracy) LineAccepted = false;
}
