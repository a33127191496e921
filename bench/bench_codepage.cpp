#include "platform/CodePage.h"

#include <benchmark/benchmark.h>

// Per-keystroke conversion of a typed character to its code-page byte.
static void BM_UnicodeToChar(benchmark::State& state) {
    const QChar c(0xE4);
    for (auto _ : state)
        benchmark::DoNotOptimize(CodePage::unicodeToChar(c));
}
BENCHMARK(BM_UnicodeToChar);

BENCHMARK_MAIN();
