#include "platform/IniFile.h"
#include "settings/Profile.h"
#include "shell/ProfileStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

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

// Resident memory in bytes: now, and the peak since resetPeak.
double residentBytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE));
}
double peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) * 1024.0;
    }
    return 0;
}
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// What the program does at logon, from its start: the user list for the logon window, then the
// chosen user's profile, both through the starter's store. What they leave stays alive, as the
// list stays in the window and the store with the starter.
struct Logon {
    QStringList users;
    TProfile profile;
    std::unique_ptr<ProfileStore> store;
    void run(const QString& path, const QString& user) {
        store = std::make_unique<ProfileStore>(path);
        users = store->userNames();
        store->load(profile, user);
    }
};

// The resident memory one logon adds, kept and at its peak, as a multiple of the file's size.
void countLogonMemory(benchmark::State& state, const QString& path, const QString& user) {
    const double fileBytes = double(QFile(path).size());
    ::malloc_trim(0);
    const double before = residentBytes();
    resetPeak();
    Logon logon;
    logon.run(path, user);
    state.counters["kept/file"] = (residentBytes() - before) / fileBytes;
    state.counters["peak/file"] = (peakResidentBytes() - before) / fileBytes;
    state.counters["file MB"] = fileBytes / 1e6;
}

void BM_LogonListAndLoad(benchmark::State& state) {
    QTemporaryDir dir;
    const int users = int(state.range(0));
    const QString path = makeUserFile(dir, users);
    const QString user = QStringLiteral("User %1").arg(users - 1);
    countLogonMemory(state, path, user);
    for (auto _ : state) {
        Logon logon;
        logon.run(path, user);
        benchmark::DoNotOptimize(logon.users.size());
    }
}
BENCHMARK(BM_LogonListAndLoad)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A "zqc.ini" of the given shape as large as an ini file may be: users with full records
// (0), sections alone with names of their own (1), one user of many short keys (2), or one
// long line (3). The user to load is "User 0" in each.
QString makeFileAtTheCap(const QTemporaryDir& dir, int shape) {
    const QString path = dir.filePath(QStringLiteral("zqc.ini"));
    TProfile profile;
    profile.FromStrings({});
    QByteArray record;
    for (const QString& line : profile.ToStrings())
        record += line.toLatin1() + "\r\n";
    QByteArray bytes;
    bytes.reserve(TIniFile::MaxFileSize);
    if (shape != 0) bytes += "[User 0]\r\n";
    for (int i = 0;; ++i) {
        const QByteArray piece = shape == 0   ? "[User " + QByteArray::number(i) + "]\r\n" + record
                                 : shape == 1 ? "[" + QByteArray::number(i) + "]\n"
                                 : shape == 2 ? "k" + QByteArray::number(i) + "=\n"
                                              : QByteArray(4096, 'x');
        if (bytes.size() + piece.size() > TIniFile::MaxFileSize) break;
        bytes += piece;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot prepare %s", qPrintable(path));
    return path;
}

void BM_LogonAtTheIniCap(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeFileAtTheCap(dir, int(state.range(0)));
    countLogonMemory(state, path, QStringLiteral("User 0"));
    for (auto _ : state) {
        Logon logon;
        logon.run(path, QStringLiteral("User 0"));
        state.counters["users"] = double(logon.users.size());
    }
}
BENCHMARK(BM_LogonAtTheIniCap)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// One save of a stored user's profile, in the middle of the file, through the store that
// listed the users and loaded the profile at logon.
void BM_SaveProfileAmongUsers(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeUserFile(dir, int(state.range(0)));
    ProfileStore store(path);
    TProfile profile;
    profile.UserName = QStringLiteral("User %1").arg(state.range(0) / 2);
    benchmark::DoNotOptimize(store.userNames());
    store.load(profile, profile.UserName);
    profile.OnSave = [&store](TProfile* sender, const QString& name) { store.save(*sender, name); };
    for (auto _ : state) {
        ++profile.Progress;
        profile.TimeTotal += 1000;
        profile.Save();
    }
    state.counters["file MB"] = double(QFile(path).size()) / 1e6;
}
BENCHMARK(BM_SaveProfileAmongUsers)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same save when the file has to be read first: another program changed it since, or the
// save is a one-off call.
void BM_SaveProfileReadingAfresh(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeUserFile(dir, int(state.range(0)));
    TProfile profile;
    profile.FromStrings({});
    const QString name = QStringLiteral("User %1").arg(state.range(0) / 2);
    for (auto _ : state) {
        ++profile.Progress;
        ProfileStore(path).save(profile, name);
    }
}
BENCHMARK(BM_SaveProfileReadingAfresh)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same save where the file is written in place: a folder its users may not change, with
// the file open to them (run it as a user other than root, or every save replaces the file).
void BM_SaveProfileInPlace(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeUserFile(dir, int(state.range(0)));
    QFile::setPermissions(path, QFileDevice::Permissions(0x6666));
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x5555));
    ProfileStore store(path);
    TProfile profile;
    profile.UserName = QStringLiteral("User %1").arg(state.range(0) / 2);
    store.load(profile, profile.UserName);
    profile.OnSave = [&store](TProfile* sender, const QString& name) { store.save(*sender, name); };
    for (auto _ : state) {
        ++profile.Progress;
        profile.Save();
    }
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700));
}
BENCHMARK(BM_SaveProfileInPlace)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One value read by an object that has read the file before: when nothing has changed (0), and
// when another object has saved the file since (1), so that the file is read again.
void BM_ReadValueAmongUsers(benchmark::State& state) {
    QTemporaryDir dir;
    const int users = int(state.range(0));
    const QString path = makeUserFile(dir, users);
    TIniFile reader(path);
    TIniFile other(path);
    const QString user = QStringLiteral("User %1").arg(users / 2);
    benchmark::DoNotOptimize(reader.ReadInteger(user, QStringLiteral("Progress"), 0));
    int n = 0;
    for (auto _ : state) {
        if (state.range(1) != 0) {
            state.PauseTiming();
            other.WriteInteger(QStringLiteral("User 0"), QStringLiteral("Progress"), ++n);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(reader.ReadInteger(user, QStringLiteral("Progress"), 0));
    }
}
BENCHMARK(BM_ReadValueAmongUsers)->Args({10000, 0})->Args({10000, 1})->UseRealTime();

// A new user's section appended to the same file.
void BM_SaveNewUser(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeUserFile(dir, int(state.range(0)));
    ProfileStore store(path);
    TProfile profile;
    profile.FromStrings({});
    profile.OnSave = [&store](TProfile* sender, const QString& name) { store.save(*sender, name); };
    int next = 0;
    for (auto _ : state) {
        profile.UserName = QStringLiteral("Newcomer %1").arg(next++);
        profile.Save();
    }
}
BENCHMARK(BM_SaveNewUser)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
