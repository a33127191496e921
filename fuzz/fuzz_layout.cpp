// Feeds arbitrary bytes as a layout archive to LoadLayout: it must return, never crash or hang.
#include "platform/Errors.h"
#include "settings/DataMod.h"

#include <QFile>
#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = QStringLiteral("/dev/shm/quorvel-fuzz-%1.zqt").arg(getpid());
    static TDataMod mod;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    if (mod.LoadLayout(path)) {
        // A layout that loads leaves both tables open and walkable: MainTbl is ordered by Name and
        // Ctbl indexed on Code, so both fields exist; any other field may be missing.
        for (mod.MainTbl->First(); !mod.MainTbl->Eof(); mod.MainTbl->Next())
            (void)mod.MainTbl->FieldByName("Name").AsString();
        try {
            for (mod.Ctbl->First(); !mod.Ctbl->Eof(); mod.Ctbl->Next())
                (void)mod.Ctbl->FieldByName("Code").AsInteger();
        } catch (const EConvertError&) {
            // a Code field of text that is no number
        }
    }
    return 0;
}
