#include "keyboard/ui/TPalmForm.h"

#include "keyboard/ui/ScreenLimit.h"
#include "platform/Translation.h"
#include "platform/ui/OuterFrameFit.h"
#include "settings/DataMod.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

TPalmForm* PalmForm = nullptr;
TPalmForm* RightPalmForm = nullptr;

namespace {

constexpr int BlinkInterval = 250;
constexpr int BarStep = 9;      // pixels between neighbouring bars
constexpr int FirstBarX = 10;   // x of the left-most bar
constexpr int HeightExtra = 24; // client height above the longer middle finger
constexpr int FootMargin = 10;  // client pixels below the bars' feet

// Indexes into the layout's ten finger values.
constexpr int LeftLittle = 0;
constexpr int LeftMiddle = 2;
constexpr int RightLittle = 5;
constexpr int RightMiddle = 7;

} // namespace

TPalmForm::TPalmForm(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint |
                  Qt::WindowDoesNotAcceptFocus) {
    // Like the keyboard window, a hand never takes the keyboard from the drill, which blocks it:
    // a key that reached it would be lost.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Palm"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    TimerOfPalm = new QTimer(this);
    TimerOfPalm->setObjectName(QStringLiteral("TimerOfPalm"));
    TimerOfPalm->setInterval(BlinkInterval);
    connect(TimerOfPalm, &QTimer::timeout, this, &TPalmForm::TimerOfPalmTimer);
    m_frameFit = new OuterFrameFit(this);
    fitWindow(height());
}

TPalmForm::~TPalmForm() = default;

void TPalmForm::SetHand(bool IsLeft) {
    m_isLeft = IsLeft;
    setWindowTitle(IsLeft ? i18n("Left") : i18n("Right"));
}

void TPalmForm::LayoutFingers() {
    std::array<int32_t, 10> lengths{};
    std::array<int32_t, 10> colors{};
    std::copy(DataMod->FingerLength.begin(), DataMod->FingerLength.end(), lengths.begin());
    std::copy(DataMod->FingerColor.begin(), DataMod->FingerColor.end(), colors.begin());
    LayoutFingers(lengths, colors);
}

void TPalmForm::LayoutFingers(const std::array<int32_t, 10>& lengths, const std::array<int32_t, 10>& colors) {
    // Both windows get the same height, from the longer middle finger of either hand.
    // The screen bounds it; the bars then stand on the height the window really got.
    const int64_t wanted = int64_t(std::max(lengths[LeftMiddle], lengths[RightMiddle])) + HeightExtra;
    const int64_t tallest = largestClientSize(this).height();
    fitWindow(int(std::clamp<int64_t>(wanted, 0, tallest)));
    const int32_t baseY = height() - FootMargin;

    const int first = m_isLeft ? LeftLittle : RightLittle;
    m_handEmpty = std::all_of(lengths.begin() + first, lengths.begin() + first + FingerCount,
                              [](int32_t length) { return length == 0; });

    for (int32_t pos = 1; pos <= FingerCount; ++pos) {
        const int value = first + pos - 1;
        // The left hand runs little finger to thumb from left to right; the right hand mirrors it.
        const int slot = m_isLeft ? pos - 1 : FingerCount - pos;
        at(pos).Init(FirstBarX + slot * BarStep, baseY, lengths[value], colors[value]);
        at(pos).Blink = Blink;
    }
    repaintFingers();
}

void TPalmForm::ShowIfUsed() {
    if (!m_handEmpty) show();
}

bool TPalmForm::Lit(int32_t Pos) const {
    return isPosition(Pos) && m_lit[Pos - 1];
}

void TPalmForm::UnlightFinger(int32_t Pos) {
    if (!isPosition(Pos)) return;
    m_lit[Pos - 1] = false;
    at(Pos).Draw();
    at(Pos).EraseTip();
    update();
}

void TPalmForm::LightFinger(int32_t Pos) {
    if (!isPosition(Pos)) return;
    for (int32_t p = 1; p <= FingerCount; ++p)
        if (m_lit[p - 1]) UnlightFinger(p);
    m_currentFinger = Pos;
    m_lit[Pos - 1] = true;
    // Enabling a running timer keeps its beat: while keys come faster than the interval the lit
    // bar must still blink, so the countdown is not started afresh.
    if (!TimerOfPalm->isActive()) TimerOfPalm->start();
    m_timerTag = 1;
    at(Pos).DrawTip();
    update();
}

void TPalmForm::UnlightCurrent() {
    if (!isPosition(m_currentFinger)) return;
    m_lit[m_currentFinger - 1] = false;
    at(m_currentFinger).Draw();
    at(m_currentFinger).EraseTip();
    TimerOfPalm->stop();
    update();
}

void TPalmForm::TimerOfPalmTimer() {
    if (!Blink || m_timerTag != 1) return;
    for (int32_t p = 1; p <= FingerCount; ++p) {
        if (!m_lit[p - 1]) continue;
        if (m_blinkPhase)
            at(p).Draw();
        else
            at(p).Erase();
    }
    m_blinkPhase = !m_blinkPhase;
    update();
}

void TPalmForm::repaintFingers() {
    for (auto& f : m_fingers) {
        f.clearPicture();
        f.Draw();
    }
    if (isPosition(m_currentFinger) && m_lit[m_currentFinger - 1]) at(m_currentFinger).DrawTip();
    update();
}

void TPalmForm::showEvent(QShowEvent* event) {
    // A window coming into view is painted afresh: bars in colour, the lit finger's dot.
    repaintFingers();
    QWidget::showEvent(event);
}

void TPalmForm::fitWindow(int clientHeight) {
    m_frameFit->fit(WindowExtent::outer(OuterWidth), WindowExtent::client(clientHeight));
}

void TPalmForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    for (const auto& f : m_fingers)
        f.paint(painter);
}
