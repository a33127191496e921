#include "platform/DataPacketReader.h"
#include "platform/DataPacketWriter.h"
#include "settings/DataMod.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <zip.h>

namespace {

// A key-cap picture as the course builder makes them: 40 x 40 pixels, a face tinted per finger.
QByteArray glyph(int finger) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(QColor(90, 90, 90));
    QPainter painter(&image);
    painter.setBrush(QColor::fromHsv(finger * 36, 80, 230));
    painter.drawRoundedRect(2, 2, 36, 36, 4, 4);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return GraphicBlob::wrap(bytes);
}

// A layout archive of 100 keys with glyphs and 200 characters, written once per run.
QString syntheticArchive(const QTemporaryDir& dir) {
    DataPacket keys;
    keys.fields = TDataMod::keyTableFields();
    for (int i = 0; i < 100; ++i)
        keys.rows.push_back(
            {FieldValue::bytes("K" + QByteArray::number(i * 37 % 100)), FieldValue::integer(i),
             FieldValue::integer(i < 60 ? 1 : 8), FieldValue::integer(0), FieldValue::integer(i % 10),
             FieldValue::bytes(glyph(i % 10)), FieldValue::integer(40), FieldValue::integer(40),
             FieldValue::integer(i % 15 * 42), FieldValue::integer(i / 15 * 42),
             FieldValue::bytes("key " + QByteArray::number(i))});
    DataPacket chars;
    chars.fields = TDataMod::charTableFields();
    for (int i = 0; i < 200; ++i)
        chars.rows.push_back({FieldValue::bytes("char " + QByteArray::number(i)),
                              FieldValue::integer(32 + i % 224), FieldValue::integer(i % 60),
                              FieldValue::boolean(i % 2), FieldValue::boolean(i % 7 == 0),
                              FieldValue::integer(i % 11 == 0 ? 2002 : 0)});
    QByteArray readme = "bkcolor=12632256\r\nAuthor=bench\r\n";
    for (const char* finger : TDataMod::fingerNames())
        readme += QByteArray(finger) + "=50\r\n" + finger + "x=10\r\n" + finger + "Color=255\r\n";

    const QByteArray keyCds = writeDataPacket(keys), charCds = writeDataPacket(chars);
    const QString path = dir.filePath("layout.zqt");
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, data] :
         {std::pair{"key.cds", &keyCds}, {"char.cds", &charCds}, {"readme", &readme}})
        zip_file_add(archive, name,
                     zip_source_buffer(archive, data->constData(), zip_uint64_t(data->size()), 0), 0);
    zip_close(archive);
    return path;
}

QString syntheticArchivePath() {
    static QTemporaryDir dir;
    static const QString path = syntheticArchive(dir);
    return path;
}

QString bundledArchivePath() {
    return QStringLiteral(QUORVEL_APP_DIR) + "/Courses/English/layout.zqt";
}

void loadLayout(benchmark::State& state, const QString& path) {
    TDataMod mod;
    if (!mod.LoadLayout(path)) {
        state.SkipWithError("the layout archive does not load");
        return;
    }
    state.counters["keys"] = mod.MainTbl->RecordCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(mod.LoadLayout(path));
}

// A 100-key archive with 40 x 40 glyphs, written by the packet writer.
void BM_LoadLayoutSynthetic100Keys(benchmark::State& state) {
    loadLayout(state, syntheticArchivePath());
}
BENCHMARK(BM_LoadLayoutSynthetic100Keys)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The bundled English course of the program folder.
void BM_LoadLayoutBundledEnglish(benchmark::State& state) {
    loadLayout(state, bundledArchivePath());
}
BENCHMARK(BM_LoadLayoutBundledEnglish)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The key table packet alone: how much of the load is parsing.
void BM_ReadKeyPacket(benchmark::State& state) {
    ZipReader zip;
    zip.open(syntheticArchivePath());
    const QByteArray packet = zip.extract("key.cds");
    for (auto _ : state)
        benchmark::DoNotOptimize(readDataPacket(packet));
    state.SetBytesProcessed(state.iterations() * packet.size());
}
BENCHMARK(BM_ReadKeyPacket)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
