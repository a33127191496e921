#include "keyboard/ui/TVKeyboard.h"

#include "keyboard/ColorValue.h"
#include "keyboard/KeyKinds.h"
#include "keyboard/ui/ButtonType.h"
#include "keyboard/ui/ScreenLimit.h"
#include "keyboard/ui/TKbFm.h"
#include "platform/ui/EmptyWindowTitle.h"
#include "settings/DataMod.h"

#include <QShowEvent>
#include <QTimer>

bool KeyBlinkPhase = true;
TVKeyboard* VKeyboard = nullptr;

namespace {
constexpr int BlinkInterval = 250;
constexpr int32_t Olive = 0x008080;
} // namespace

TVKeyboard::TVKeyboard(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowDoesNotAcceptFocus) {
    // Only shown, never typed into: were the window manager to give it the keyboard (a click,
    // a window shown or raised), the keys meant for the drill would land here, where no key is
    // taken while the drill runs.
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colorFromValue(Olive));
    setPalette(pal);
    setAutoFillBackground(true);
    keepWindowTitleEmpty(this); // the window has no caption, and no title is shown for it
    KbFrame = new TKbFm(this);
    KbFrame->setObjectName(QStringLiteral("KbFrame"));
    KbFrame->setGeometry(0, 0, 445, 153);
    TimerofKB = new QTimer(this);
    TimerofKB->setObjectName(QStringLiteral("TimerofKB"));
    TimerofKB->setInterval(BlinkInterval);
    connect(TimerofKB, &QTimer::timeout, this, &TVKeyboard::TimerofKBTimer);
    resize(KbFrame->size());
    FormCreate();
}

TVKeyboard::~TVKeyboard() = default;

void TVKeyboard::FormCreate() {
    Blink = true;
}

void TVKeyboard::FormShow() {
    TimerofKB->start();
}

void TVKeyboard::FormHide() {
    TimerofKB->stop();
}

void TVKeyboard::showEvent(QShowEvent* event) {
    // Only showing the window counts, not the desktop restoring it from an icon.
    if (!event->spontaneous()) FormShow();
    QWidget::showEvent(event);
}

void TVKeyboard::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) FormHide();
    QWidget::hideEvent(event);
}

bool TVKeyboard::LoadLayout(const QString& FileName) {
    KbFrame->ClearKeys();
    HighlightedKey = nullptr;
    const bool loaded = DataMod->LoadLayout(FileName); // the keys show what the tables hold
    KbFrame->FitToKeys();
    KbFrame->BuildKeys(Blink);
    // The window is sized to the keyboard, as far as the screen allows.
    resize(KbFrame->size().boundedTo(largestClientSize(this)));
    return loaded;
}

int32_t TVKeyboard::HighlightChar(char Ch) {
    if (HighlightedKey) HighlightedKey->SetKeyDown(false);
    HighlightedKey = nullptr;
    int32_t finger = FingerCode::NoFinger;
    HighlightedKey = KbFrame->PressKeyForChar(Ch, finger);
    return HighlightedKey ? finger : FingerCode::NoFinger;
}

void TVKeyboard::TimerofKBTimer() {
    if (!HighlightedKey) return;
    if (Blink) {
        HighlightedKey->SetKeyDown(KeyBlinkPhase);
        KeyBlinkPhase = !KeyBlinkPhase;
    } else if (!HighlightedKey->IsDown()) {
        // Held down again, whatever released it.
        HighlightedKey->SetKeyDown(true);
    }
}
