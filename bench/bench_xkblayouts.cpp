#include "platform/XkbKeyTranslator.h"
#include "platform/XkbKeyboardLayoutProvider.h"
#include "settings/KeyboardLayoutAgent.h"

#include <QKeyEvent>
#include <benchmark/benchmark.h>

namespace {

XkbKeymapPtr germanKeymap(xkb_context* context) {
    return XkbKeyboardLayoutProvider::compileKeymap(context, *findXkbLayout(0x00000407));
}

} // namespace

// One keystroke through the German keymap: the cost added to every key typed in a drill.
static void BM_TranslateKey(benchmark::State& state) {
    XkbContextPtr context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    const XkbKeymapPtr keymap = germanKeymap(context.get());
    XkbComposeTablePtr compose(
        xkb_compose_table_new_from_locale(context.get(), "en_US.UTF-8", XKB_COMPOSE_COMPILE_NO_FLAGS));
    XkbKeyTranslator translator(keymap.get(), compose.get());
    const QKeyEvent keys[] = {
        QKeyEvent(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, 29, 0, 0, "y"),
        QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, 38, 0, 1, "A"),
        QKeyEvent(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 24, 0, 0x80, "q"),
        QKeyEvent(QEvent::KeyPress, Qt::Key_QuoteLeft, Qt::NoModifier, 49, 0, 0, "`"),
        QKeyEvent(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, 26, 0, 0, "e"),
    };
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(translator.translate(keys[i]));
        i = (i + 1) % std::size(keys);
    }
}
BENCHMARK(BM_TranslateKey);

// Activation compiles a keymap: what the profile editor's "Activate layout" and logon wait for.
static void BM_CompileKeymap(benchmark::State& state) {
    XkbContextPtr context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    for (auto _ : state)
        benchmark::DoNotOptimize(germanKeymap(context.get()));
}
BENCHMARK(BM_CompileKeymap)->Unit(benchmark::kMillisecond);

// The agent at start-up: installed list, loaded layouts and the information lines.
static void BM_AgentStart(benchmark::State& state) {
    for (auto _ : state) {
        TKeyboardLayoutAgent agent(std::make_unique<XkbKeyboardLayoutProvider>(std::nullopt));
        agent.Refresh();
        benchmark::DoNotOptimize(agent.InfoLines.size());
    }
}
BENCHMARK(BM_AgentStart)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
