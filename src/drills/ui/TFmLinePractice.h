#pragma once

#include "drills/DrillSample.h"
#include "drills/TLineEndReason.h"
#include "drills/ui/SoftLineBreaks.h"
#include "platform/KeyInput.h"
#include "settings/FontValue.h"

#include <QDialog>
#include <QFont>
#include <QMargins>
#include <QTextBlock>
#include <QTextCharFormat>
#include <cstdint>
#include <functional>
#include <vector>

class DrillInputEdit;
class OuterFrameFit;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QStatusBar;

// A notification whose sender is the drill window.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// The font of a drill's texts: the face with its colour.
struct DrillFont {
    QFont font;
    QColor color = Qt::black;
};

// The drill window from which every drill derives. It holds the whole typing engine: the sample
// box, the input box, the comparison of every typed character with the expected one, right and
// wrong marks, the timing of a line with the shared stopwatch, the end of a line and its reason,
// the statistics of a completed line, and the hints on the keyboard and hand windows. The
// variants decide where a sample comes from and what follows a line by overriding the virtual
// operations. The window itself is never shown; its own NextLine does nothing.
//
// Both boxes are plain text edits carrying per-character formats: on long texts their cost of
// moving the selection and inserting a character stays flat, where a rich text edit's grows.
//
// Creation runs FormCreate, which calls the variant's overrides: every variant constructor hands
// Creation::Deferred to the class it derives from and runs FormCreate itself when it is the one
// being created.
class TFmLinePractice : public QDialog {
    Q_OBJECT
public:
    explicit TFmLinePractice(QWidget* owner = nullptr);
    ~TFmLinePractice() override;

    // Components.
    QFrame* Panel1 = nullptr;
    QLabel* LbMark = nullptr;
    QPlainTextEdit* SampleEdit = nullptr;
    DrillInputEdit* InputEdit = nullptr;
    QStatusBar* SBHelp = nullptr;

    // Fields.
    int32_t TotalTime = 0;
    bool LineAccepted = true;
    bool HighlightOn = false;
    bool ShowKeyboard = true;
    TNotifyEvent OnLineComplete;
    TNotifyEvent OnWrongKey;
    TNotifyEvent OnReturnExpected;
    bool PopupStatistics = false;
    int32_t LineTime = 0;
    // Per sample position 1..SampleLength: 1 typed right, 0 not. One bit each, since a text
    // drill's sample may run to millions of characters.
    std::vector<bool> Marks;
    TLineEndReason EndReason = lerNone;
    int32_t ErrorCount = 0;
    int32_t SampleLength = 0;
    int32_t WordCount = 0;
    int32_t Position = 0;
    bool Timing = false;
    bool LineFinished = false;
    bool ReturnEndsLine = true;

    // Used by the main window.
    void SetPracticeFont(const TFontValue& Font);
    void SetPracticeFont(const DrillFont& Font);
    virtual void SetBackgroundColor(int32_t Color);
    int32_t GetTotalTime() const { return TotalTime; }

    // Used by the variants.
    void SetSampleText(const QByteArray& S);
    void ResetInput();
    static void ApplyFontToAttributes(const DrillFont& Font, QTextCharFormat& Attributes);
    void ShowFinger(int32_t F);

    // The 8-bit sample, kept in step with the sample box.
    const DrillSample& sample() const { return m_sample; }
    const DrillFont& practiceFont() const { return m_sampleFont; }
    // The line the status bar shows.
    QString statusText() const;

    // Virtual operations.
    virtual void ShowKeyHint(char Ch);
    virtual void ArrangeLayout();
    virtual void MarkCorrect();
    virtual void MarkWrong();
    virtual bool HighlightCurrent();
    virtual void NextLine();

    // The key handlers of the input box (public so that tests and the box reach them).
    virtual void InputEditKeyDown(quint16& Key);
    void InputEditKeyPress(char& Key);

protected:
    enum class Creation { Now, Deferred };
    TFmLinePractice(QWidget* owner, Creation creation);

    virtual void FormCreate();
    virtual void FormShow();
    virtual void FormHide();
    void FormDestroy();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The window with its frame, from the one record of it (frameFit).
    virtual QRect windowFrame() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void ShowLineStatistics();
    void PlaceKeyboardAndHands();
    // The size of the screen the window is laid out for.
    static QSize screenSize();
    // Shows the statistics line of the status bar ("simple text").
    void setStatusText(const QString& text);
    // Places the client area's parts for the window's client size; runs again whenever that size
    // changes (the frame, and with it the client area, is known only once the window is shown).
    virtual void layoutClientArea();
    // Holds the window at the size and position ArrangeLayout gives it, frame included.
    OuterFrameFit* frameFit() const { return m_frameFit; }
    // Replaces the sample box's text without a new Marks array (the text drill sizes them).
    void setSampleBoxText(const QByteArray& S);
    // The format of the sample's characters, which right and wrong marks start from.
    QTextCharFormat sampleCharFormat() const { return m_sampleFormat; }
    void setSampleCharFormat(const QTextCharFormat& format) { m_sampleFormat = format; }
    QColor panelColor() const;
    // Selects the character at a 0-based index of the sample box (collapsed past its end).
    void selectSampleCharacter(int index);
    // ShowKeyHint for a character; a keyboard that cannot show it (its layout failed to load)
    // is reported and the drill goes on, so that a line is always prepared or typed whole.
    void showHint(char ch);

private slots:
    void SampleEditEnter();

private:
    void build();
    void handleKeyDown(quint16& key);
    void handleKeyPress(KeyInput::KeyChar& key);
    void startTiming();
    void showHintAtPosition();
    void endLine(char key);
    void selectNextExpected();
    void keepLayoutOf(const QTextBlock& block);
    void fillSampleBox();
    void wrapSampleIfStale();
    void measureShownSample();
    void placeCompanions();
    void followLateFrame();
    void followKeyboardFrame();
    void bringCompanionsToFront();
    QMargins frameMarginsNow() const;

    OuterFrameFit* m_frameFit = nullptr;
    DrillSample m_sample;
    // The paragraph of the sample box that holds the selected character keeps its text layout
    // (see keepLayoutOf); invalid while none does.
    QTextBlock m_keptBlock;
    // A long paragraph of the sample box is split at its screen lines (soft breaks, see
    // SoftLineBreaks) before it goes into the box, so that neither filling nor formatting the box
    // nor selecting, measuring and painting a character goes through the whole paragraph; these are
    // the breaks, by index of the unsplit text. The box is filled again when the line width or the
    // font they were made for changes.
    SoftLineBreaks::Wrap m_sampleWrap;
    bool m_measuringSample = false; // measureShownSample is changing the box
    DrillFont m_sampleFont;
    QTextCharFormat m_sampleFormat;
    QLabel* m_statusLabel = nullptr;
    bool m_keyUnmappable = false;
    bool m_companionsPlaced = false;
    QMargins m_placedFrameMargins; // the frame the keyboard and hands were placed below
};
