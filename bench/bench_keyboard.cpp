#include "OffscreenBenchmarkMain.h"
#include "keyboard/HandPosition.h"
#include "keyboard/ui/TKbFm.h"
#include "keyboard/ui/TPalmForm.h"
#include "keyboard/ui/TVKeyboard.h"
#include "settings/DataMod.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

QString englishLayout() {
    return QStringLiteral(QUORVEL_APP_DIR "/Courses/English/layout.zqt");
}

struct Keyboard {
    TDataMod mod;
    TVKeyboard window;
    TPalmForm left;
    TPalmForm right;
    Keyboard() {
        DataMod = &mod;
        window.Blink = false;
        window.LoadLayout(englishLayout());
        left.SetHand(true);
        right.SetHand(false);
        left.LayoutFingers();
        right.LayoutFingers();
    }
    ~Keyboard() { DataMod = nullptr; }
};

} // namespace

// What a drill does for every expected character: highlight its key, light its finger.
static void BM_HighlightAndLight(benchmark::State& state) {
    Keyboard kb;
    const QByteArray line("The quick brown fox jumps over the lazy dog, 1234567890.");
    qsizetype i = 0;
    for (auto _ : state) {
        const int32_t finger = kb.window.HighlightChar(line[i]);
        if (const auto hand = handPositionForFinger(finger)) {
            (hand->left ? kb.left : kb.right).LightFinger(hand->position);
            (hand->left ? kb.right : kb.left).UnlightCurrent();
        }
        i = (i + 1) % line.size();
    }
}
BENCHMARK(BM_HighlightAndLight);

// A highlight followed by painting the keyboard, as the screen would after each keystroke.
static void BM_HighlightAndPaintKeyboard(benchmark::State& state) {
    Keyboard kb;
    QPixmap canvas(kb.window.size());
    const QByteArray line("asdfjkl;");
    qsizetype i = 0;
    for (auto _ : state) {
        kb.window.HighlightChar(line[i]);
        kb.window.render(&canvas);
        i = (i + 1) % line.size();
    }
}
BENCHMARK(BM_HighlightAndPaintKeyboard);

// Loading a course's layout: archive, tables and all key caps.
static void BM_LoadLayout(benchmark::State& state) {
    Keyboard kb;
    for (auto _ : state)
        kb.window.LoadLayout(englishLayout());
}
BENCHMARK(BM_LoadLayout);

QUORVEL_OFFSCREEN_BENCHMARK_MAIN()
