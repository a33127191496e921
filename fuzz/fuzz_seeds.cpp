// Writes starting inputs for the fuzzers into <folder>/datapacket, <folder>/layout and <folder>/members.
#include "platform/DataPacketWriter.h"
#include "settings/DataMod.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <zip.h>

namespace {

QByteArray keys() {
    DataPacket p;
    p.fields = TDataMod::keyTableFields();
    for (int i = 0; i < 3; ++i)
        p.rows.push_back({FieldValue::bytes("K" + QByteArray::number(i)), FieldValue::integer(65 + i),
                          FieldValue::integer(1), FieldValue::integer(0), FieldValue::integer(i),
                          FieldValue::bytes(GraphicBlob::wrap("BM tiny picture")), FieldValue::integer(40),
                          FieldValue::integer(40), FieldValue::integer(i * 40), FieldValue::integer(0),
                          FieldValue::bytes(i ? "hint" : "")});
    return writeDataPacket(p);
}

QByteArray chars() {
    DataPacket p;
    p.fields = TDataMod::charTableFields();
    p.lcid = 1033;
    for (int i = 0; i < 3; ++i)
        p.rows.push_back({FieldValue::bytes("c"), FieldValue::integer(97 + i), FieldValue::integer(65 + i),
                          FieldValue::boolean(i == 1), FieldValue::boolean(false),
                          FieldValue::integer(i ? 0 : 2002)});
    return writeDataPacket(p);
}

bool save(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    root.mkpath("datapacket");
    root.mkpath("layout");
    root.mkpath("members");
    const QByteArray keyCds = keys(), charCds = chars();
    const QByteArray readme = "bkcolor=$FF\r\nAuthor=a\nLThumb=3\rRIndexColor=-5\n";
    bool ok = save(root.filePath("datapacket/key.cds"), keyCds) &&
              save(root.filePath("datapacket/char.cds"), charCds);

    const QByteArray separator("\xFF\xFE\x51\x56", 4);
    ok = save(root.filePath("members/all"), keyCds + separator + charCds + separator + readme) && ok;
    ok = save(root.filePath("members/nochar"), keyCds) && ok;

    // One archive with deflated members, one with stored members whose packets the fuzzer can reach.
    for (const bool stored : {false, true}) {
        int error = 0;
        const QByteArray path =
            QFile::encodeName(root.filePath(stored ? "layout/stored.zqt" : "layout/layout.zqt"));
        zip_t* archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!archive) return 1;
        for (const auto& [name, data] :
             {std::pair{"key.cds", &keyCds}, {"char.cds", &charCds}, {"readme", &readme}}) {
            const zip_int64_t index =
                zip_file_add(archive, name,
                             zip_source_buffer(archive, data->constData(), zip_uint64_t(data->size()), 0), 0);
            if (index < 0) return 1;
            if (stored) zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
        }
        ok = zip_close(archive) == 0 && ok;
    }
    return ok ? 0 : 1;
}
