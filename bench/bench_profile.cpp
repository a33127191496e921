#include "platform/IniFile.h"
#include "settings/Profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Profile storage as the program keeps it: the user's section of "zqc.ini", written key by
// key, each key on disk before the next.
void saveToIni(const QString& path, TProfile* sender, const QString& name) {
    TIniFile ini(path);
    for (const QString& line : sender->ToStrings()) {
        const qsizetype eq = line.indexOf(u'=');
        ini.WriteString(name, line.left(eq), line.mid(eq + 1));
    }
}

// A "zqc.ini" of the given number of users, each with a full record.
QString makeUserFile(const QTemporaryDir& dir, int users) {
    const QString path = dir.filePath(QStringLiteral("zqc.ini"));
    TProfile profile;
    profile.FromStrings({});
    QByteArray bytes;
    for (int i = 0; i < users; ++i) {
        profile.Progress = i;
        profile.TimeTotal = i * 1000;
        bytes += "[User " + QByteArray::number(i) + "]\r\n";
        for (const QString& line : profile.ToStrings())
            bytes += line.toLatin1() + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot prepare %s", qPrintable(path));
    return path;
}

void BM_SaveProfileAmongUsers(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeUserFile(dir, int(state.range(0)));
    TProfile profile;
    profile.FromStrings({});
    profile.UserName = QStringLiteral("User %1").arg(state.range(0) / 2);
    profile.OnSave = [&path](TProfile* sender, const QString& name) { saveToIni(path, sender, name); };
    for (auto _ : state) {
        ++profile.Progress;
        profile.TimeTotal += 1000;
        profile.Save();
    }
    state.counters["file KB"] = double(QFile(path).size()) / 1024.0;
}
BENCHMARK(BM_SaveProfileAmongUsers)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A new user's section appended to the same file.
void BM_SaveNewUser(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeUserFile(dir, int(state.range(0)));
    TProfile profile;
    profile.FromStrings({});
    profile.OnSave = [&path](TProfile* sender, const QString& name) { saveToIni(path, sender, name); };
    int next = 0;
    for (auto _ : state) {
        profile.UserName = QStringLiteral("Newcomer %1").arg(next++);
        profile.Save();
    }
}
BENCHMARK(BM_SaveNewUser)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Logging on: the user list and one profile read from the same file.
void BM_LoadProfileAmongUsers(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeUserFile(dir, int(state.range(0)));
    TProfile profile;
    for (auto _ : state) {
        TIniFile ini(path);
        benchmark::DoNotOptimize(ini.ReadSections());
        profile.FromStrings(ini.ReadSectionValues(QStringLiteral("User 999")));
    }
}
BENCHMARK(BM_LoadProfileAmongUsers)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
