// One key in the text drill (engine and box update together, offscreen) on texts of different
// lengths, and loading and starting a long text.
#include "OffscreenBenchmarkMain.h"
#include "drills/DrillText.h"
#include "drills/ui/DrillInputEdit.h"
#include "drills/ui/TFmLongText.h"
#include "drills/ui/TFmSentencePrac.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

namespace {
// Prose-like text: words of 2 to 9 letters, lines of about 70 characters (or one paragraph).
QByteArray makeText(int length, bool lineBreaks = true) {
    QByteArray text;
    text.reserve(length);
    quint32 seed = 12345;
    int column = 0;
    while (text.size() < length) {
        seed = seed * 1103515245u + 12345u;
        const int word = 2 + int((seed >> 16) % 8);
        for (int i = 0; i < word && text.size() < length; ++i)
            text += char('a' + int((seed >> (i + 3)) % 26));
        column += word;
        if (text.size() + 2 >= length) break;
        if (lineBreaks && column > 70) {
            text += "\r\n";
            column = 0;
        } else {
            text += ' ';
            ++column;
        }
    }
    while (text.size() < length)
        text += 'x';
    return text;
}

void typeExpected(TFmLongText& drill) {
    const char c = drill.sample().at(drill.Position);
    if (c == '\r') {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(drill.InputEdit, &press);
    } else {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                        QString(CodePage::charToUnicode(static_cast<unsigned char>(c))));
        QCoreApplication::sendEvent(drill.InputEdit, &press);
    }
}

QString writeTemp(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath(QStringLiteral("text.txt"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text);
    return path;
}

void BM_TextDrillKey(benchmark::State& state) {
    const int length = int(state.range(0));
    QTemporaryDir dir;
    const QString path = writeTemp(dir, makeText(length, state.range(1) != 0));
    auto previous =
        TOpenDialog::setChooser([&](QWidget*, const TOpenDialog&) { return std::optional(path); });
    TFmLongText drill;
    drill.show();
    drill.LoadTextFromFile();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        if (drill.Position + 2 > drill.SampleLength) {
            state.PauseTiming();
            drill.StartText();
            state.ResumeTiming();
        }
        typeExpected(drill);
        QCoreApplication::processEvents(); // the boxes repaint
    }
    state.SetItemsProcessed(state.iterations());
    TOpenDialog::setChooser(std::move(previous));
}
// Second argument 0: the whole text is one paragraph, as texts pasted without line breaks are.
BENCHMARK(BM_TextDrillKey)
    ->ArgNames({"length", "lines"})
    ->Args({1000, 1})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Args({1000, 0})
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Unit(benchmark::kMicrosecond);

// The resident memory of the process in bytes.
double residentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE));
}

// Counter "resident_per_char": the resident memory that a loaded and started text adds while its
// drill is open, in bytes per character (the most any iteration added). Second argument as above.
void BM_TextDrillLoadAndStart(benchmark::State& state) {
    const int length = int(state.range(0));
    QTemporaryDir dir;
    {
        // Fonts, glyph caches and the like are set up once per run; they are not the text's.
        const QString small = writeTemp(dir, makeText(1000));
        auto chooser =
            TOpenDialog::setChooser([&](QWidget*, const TOpenDialog&) { return std::optional(small); });
        TFmLongText warmUp;
        warmUp.show();
        warmUp.LoadTextFromFile();
        QCoreApplication::processEvents();
        TOpenDialog::setChooser(std::move(chooser));
    }
    const QString path = writeTemp(dir, makeText(length, state.range(1) != 0));
    auto previous =
        TOpenDialog::setChooser([&](QWidget*, const TOpenDialog&) { return std::optional(path); });
    double added = 0;
    for (auto _ : state) {
        const double before = residentBytes();
        TFmLongText drill;
        drill.show();
        drill.LoadTextFromFile();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(drill.SampleLength);
        state.PauseTiming();
        added = std::max(added, residentBytes() - before);
        state.ResumeTiming();
    }
    state.counters["resident_per_char"] = added / length;
    TOpenDialog::setChooser(std::move(previous));
}
BENCHMARK(BM_TextDrillLoadAndStart)
    ->ArgNames({"length", "lines"})
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Args({1000000, 1})
    ->Args({1000000, 0})
    ->Args({DrillText::MaxTextLength, 1})
    ->Args({DrillText::MaxTextLength, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A "Practice.txt" of the largest size taken, of empty lines only: read and refused, or of one
// short sentence a line: read and its first sentence prepared. Counter "resident_per_byte" as above.
void BM_PracticeFileLoad(benchmark::State& state) {
    const qint64 size = state.range(0);
    const bool sentences = state.range(1) != 0;
    QTemporaryDir dir;
    const QByteArray unit = sentences ? QByteArray("a cat\n") : QByteArray("\n");
    const QString path = writeTemp(dir, unit.repeated(size / unit.size()));
    double added = 0;
    for (auto _ : state) {
        const double before = residentBytes();
        TFmSentencePrac drill;
        drill.SetFileName(path);
        try {
            drill.LoadFile();
        } catch (const QuorvelError&) {
        }
        benchmark::DoNotOptimize(drill.SampleLength);
        state.PauseTiming();
        added = std::max(added, residentBytes() - before);
        state.ResumeTiming();
    }
    state.counters["resident_per_byte"] = added / double(size);
}
BENCHMARK(BM_PracticeFileLoad)
    ->ArgNames({"size", "sentences"})
    ->Args({MaxTextFileSize, 0})
    ->Args({MaxTextFileSize, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
} // namespace

QUORVEL_OFFSCREEN_BENCHMARK_MAIN()
