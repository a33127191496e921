// Feeds arbitrary members to LoadLayout inside a well-formed archive, so that mutated packets and
// readmes get past the archive's checksums. The input holds "key.cds", "char.cds" and "readme",
// separated by the four bytes FF FE 51 56; missing parts leave the member out.
#include "platform/Errors.h"
#include "settings/DataMod.h"

#include <QFile>
#include <cstdint>
#include <unistd.h>
#include <zip.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QByteArray path =
        QFile::encodeName(QStringLiteral("/dev/shm/quorvel-fuzz-members-%1.zqt").arg(getpid()));
    static TDataMod mod;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> members;
    // Re-join on the full separator only: FF FE 51 56.
    for (const QByteArray& part : input.split('\xFF')) {
        if (!members.isEmpty() && part.startsWith("\xFE\x51\x56"))
            members << part.mid(3);
        else if (members.isEmpty())
            members << part;
        else
            members.last() += '\xFF' + part;
    }
    int error = 0;
    zip_t* archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) return 0;
    const char* names[] = {"key.cds", "char.cds", "readme"};
    for (qsizetype i = 0; i < members.size() && i < 3; ++i) {
        zip_source_t* source =
            zip_source_buffer(archive, members[i].constData(), zip_uint64_t(members[i].size()), 0);
        const zip_int64_t index = zip_file_add(archive, names[i], source, 0);
        if (index >= 0) zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return 0;
    }
    if (mod.LoadLayout(QFile::decodeName(path))) {
        // Tables that load may still lack a field the keyboard reads; that is a clean error too.
        try {
            for (mod.MainTbl->First(); !mod.MainTbl->Eof(); mod.MainTbl->Next())
                (void)mod.MainTbl->FieldByName("Glyph").AsPicture();
            for (mod.Ctbl->First(); !mod.Ctbl->Eof(); mod.Ctbl->Next())
                mod.MainTbl->Locate("KeyValue", mod.Ctbl->FieldByName("KeyNo").AsInteger());
        } catch (const QuorvelError&) {
        }
    }
    return 0;
}
