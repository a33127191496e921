#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>

class ButtonType;
class QTimer;
class TKbFm;

// Blink phase shared by every keyboard window; starts true and is never reset, so a newly
// highlighted key may begin its blinking either way.
extern bool KeyBlinkPhase;

// The small tool window that shows the on-screen keyboard of the course's layout and highlights
// the key of the next character a drill expects. Its blink timer runs exactly while it is shown.
class TVKeyboard : public QWidget {
    Q_OBJECT
public:
    explicit TVKeyboard(QWidget* parent = nullptr);
    ~TVKeyboard() override;

    TKbFm* KbFrame = nullptr;
    QTimer* TimerofKB = nullptr;
    // The key currently highlighted, or nullptr.
    QPointer<ButtonType> HighlightedKey;
    // Blink mode: the highlighted key blinks instead of showing its inverted picture. Set it
    // before LoadLayout.
    bool Blink = true;

    // Loads the layout archive "layout.zqt" at FileName into the data module and rebuilds the
    // keys from what the tables then hold. The data module's result: false when the archive did
    // not load whole, and the caller decides what to show.
    bool LoadLayout(const QString& FileName);
    // Highlights the key of Ch and returns its finger code, or a code above 9 when Ch has no key.
    // A closed character table raises its error here.
    int32_t HighlightChar(char Ch);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private slots:
    void FormCreate();
    void FormShow();
    void FormHide();
    void TimerofKBTimer();
};

// The keyboard window of the run; the main window creates it.
extern TVKeyboard* VKeyboard;
