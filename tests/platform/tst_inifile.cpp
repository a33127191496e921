#include "platform/Errors.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <map>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Raises the file size limit back when a test ends, however it ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

// Starts body in a forked child, as the user "nobody" when this process is root; the child's
// exit code is the body's result.
pid_t startChildWithoutPrivileges(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(1);
        int code = 1;
        try {
            code = body();
        } catch (...) {
            code = 1;
        }
        ::_exit(code);
    }
    return child;
}

// The child's exit code, or -1 when it did not end normally.
int exitCodeOf(pid_t child) {
    if (child < 0) return -1;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int inChildWithoutPrivileges(const std::function<int()>& body) {
    return exitCodeOf(startChildWithoutPrivileges(body));
}

// Whether bytes are text followed by nothing but line ends (blank lines).
bool isTextWithBlankLines(const QByteArray& bytes, const QByteArray& text) {
    return bytes.startsWith(text) &&
           std::all_of(bytes.begin() + text.size(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; });
}

// An access ACL as the system stores it: version 2, then (tag, permissions, id) entries in
// order of tag and id.
QByteArray aclValue(const std::vector<std::array<uint32_t, 3>>& entries) {
    QByteArray value;
    const auto put = [&value](auto number) { value.append(reinterpret_cast<const char*>(&number), sizeof number); };
    put(uint32_t(2));
    for (const auto& [tag, permissions, id] : entries) {
        put(uint16_t(tag));
        put(uint16_t(permissions));
        put(uint32_t(id));
    }
    return value;
}

// Every extended attribute of a file by name, ACLs among them.
std::map<QByteArray, QByteArray> attributesOf(const QString& path) {
    std::map<QByteArray, QByteArray> attributes;
    const QByteArray name = QFile::encodeName(path);
    QByteArray list(4096, '\0');
    const ssize_t n = ::listxattr(name.constData(), list.data(), size_t(list.size()));
    for (const QByteArray& attribute : list.left(qsizetype(std::max<ssize_t>(n, 0))).split('\0')) {
        if (attribute.isEmpty()) continue;
        QByteArray value(4096, '\0');
        const ssize_t size = ::getxattr(name.constData(), attribute.constData(), value.data(), size_t(value.size()));
        attributes[attribute] = value.left(qsizetype(std::max<ssize_t>(size, 0)));
    }
    return attributes;
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFile();
    void reading_data();
    void reading();
    void integers_data();
    void integers();
    void listings();
    void writesKeepEverythingElse_data();
    void writesKeepEverythingElse();
    void writeCreatesFile();
    void writeRepairsLineBreaksAndCodePage();
    void eraseSection();
    void binaryJunk();
    void longLines();
    void twoObjectsOnOneFile();
    void sectionValuesInOneWriteAsKeyByKey();
    void refusedSectionValuesWriteNothing();
    void refusedWrite_data();
    void refusedWrite();
    void refusedWriteOnFullDisk();
    void pathThatIsAFolder();
    void pathThatIsNotARegularFile_data();
    void pathThatIsNotARegularFile();
    void replacementKeepsModeAndLinks();
    void writableFileInClosedFolderIsWrittenInPlace_data();
    void writableFileInClosedFolderIsWrittenInPlace();
    void staleTemporariesOfTheFileGo_data();
    void staleTemporariesOfTheFileGo();
    void concurrentWritersLoseNothing_data();
    void concurrentWritersLoseNothing();
    void writeOverTheCapIsRefused_data();
    void writeOverTheCapIsRefused();
    void saveKeepsAccess_data();
    void saveKeepsAccess();
    void killedInPlaceSaveLeavesOldOrNew_data();
    void killedInPlaceSaveLeavesOldOrNew();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("test.ini")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::missingFile() {
    TIniFile ini(path());
    QCOMPARE(ini.ReadString("General", "User", "Default"), QString("Default"));
    QCOMPARE(ini.ReadInteger("General", "FontCharset", 1), 1);
    QCOMPARE(ini.ReadBool("General", "ToRestoreLayout", true), true);
    QVERIFY(ini.ReadSections().isEmpty());
    QVERIFY(ini.ReadSectionValues("General").isEmpty());
    QVERIFY(!ini.SectionExists("General"));
    QVERIFY(!ini.ValueExists("General", "User"));
    ini.EraseSection("General");
    QVERIFY2(!QFile::exists(path()), "reading or erasing must not create the file");
}

void TestIniFile::reading_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<default>" when the default must come back

    const QByteArray basic = "[General]\r\nUser=Bob\r\nEmpty=\r\n[Other]\r\nUser=Ann\r\n";
    QTest::newRow("plain") << basic << "General"
                           << "User"
                           << "Bob";
    QTest::newRow("other section") << basic << "Other"
                                   << "User"
                                   << "Ann";
    QTest::newRow("section any case") << basic << "gEnErAl"
                                      << "USER"
                                      << "Bob";
    QTest::newRow("empty value is not the default") << basic << "General"
                                                    << "Empty"
                                                    << "";
    QTest::newRow("missing key") << basic << "General"
                                 << "Nope"
                                 << "<default>";
    QTest::newRow("missing section") << basic << "Third"
                                     << "User"
                                     << "<default>";
    QTest::newRow("LF only") << QByteArray("[A]\nk=1\n[B]\nk=2\n") << "B"
                             << "k"
                             << "2";
    QTest::newRow("CR only") << QByteArray("[A]\rk=1\r[B]\rk=2") << "B"
                             << "k"
                             << "2";
    QTest::newRow("mixed ends") << QByteArray("[A]\r\nk=1\r[B]\nk=2\r\n") << "A"
                                << "k"
                                << "1";
    QTest::newRow("blanks around") << QByteArray("  [ A ]  \n \t key \t= \t v a l \t\n") << "A"
                                   << "key"
                                   << "v a l";
    QTest::newRow("equals in value") << QByteArray("[A]\nk=a=b\n") << "A"
                                     << "k"
                                     << "a=b";
    QTest::newRow("duplicate key: first counts") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                                 << "k"
                                                 << "1";
    QTest::newRow("duplicate section: first counts") << QByteArray("[A]\nx=0\n[B]\nk=1\n[a]\nk=2\n") << "A"
                                                     << "k"
                                                     << "<default>";
    QTest::newRow("key before any section") << QByteArray("k=0\n[A]\nj=1\n") << "A"
                                            << "k"
                                            << "<default>";
    QTest::newRow("comment line") << QByteArray("[A]\n;k=1\nk=2\n") << "A"
                                  << "k"
                                  << "2";
    QTest::newRow("line without equals") << QByteArray("[A]\nk\nk=3\n") << "A"
                                         << "k"
                                         << "3";
    QTest::newRow("header without bracket") << QByteArray("[A\nk=4\n") << "A"
                                            << "k"
                                            << "4";
    QTest::newRow("code page") << QByteArray("[M\xFC"
                                             "ller]\nName=J\xE9r\xF4me \x80\n")
                               << QString::fromUtf8("MÜLLER") << "name" << QString::fromUtf8("Jérôme €");
    QTest::newRow("2047 characters at most") << QByteArray("[A]\nk=") + QByteArray(3000, 'z') + "\n"
                                             << "A"
                                             << "k" << QString(2047, u'z');
    QTest::newRow("no line end at all") << QByteArray("[A]") << "A"
                                        << "k"
                                        << "<default>";
}

void TestIniFile::reading() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeBytes(path(), content);
    TIniFile ini(path());
    const bool wantDefault = expected == "<default>";
    QCOMPARE(ini.ReadString(section, key, "<default>"), expected);
    QCOMPARE(ini.ValueExists(section, key), !wantDefault);
}

void TestIniFile::integers_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("integer");  // with default 77
    QTest::addColumn<bool>("boolean"); // with default true

    QTest::newRow("decimal") << QByteArray("204") << 204 << true;
    QTest::newRow("zero") << QByteArray("0") << 0 << false;
    QTest::newRow("negative") << QByteArray("-2147483640") << -2147483640 << true;
    QTest::newRow("0x") << QByteArray("0xCC") << 204 << true;
    QTest::newRow("0X lower digits") << QByteArray("0Xcc") << 204 << true;
    QTest::newRow("dollar") << QByteArray("$CC") << 204 << true;
    QTest::newRow("0x alone") << QByteArray("0x") << 77 << true;
    QTest::newRow("0x then sign") << QByteArray("0x-5") << 77 << true;
    QTest::newRow("word") << QByteArray("yes") << 77 << true;
    QTest::newRow("empty") << QByteArray("") << 77 << true;
    QTest::newRow("trailing junk") << QByteArray("12abc") << 77 << true;
    QTest::newRow("blanks are the file's") << QByteArray("  12  ") << 12 << true;
    QTest::newRow("overflow") << QByteArray("4294967296") << 77 << true;
}

void TestIniFile::integers() {
    QFETCH(QByteArray, value);
    QFETCH(int, integer);
    QFETCH(bool, boolean);
    writeBytes(path(), "[S]\nv=" + value + "\n");
    TIniFile ini(path());
    QCOMPARE(ini.ReadInteger("S", "v", 77), integer);
    QCOMPARE(ini.ReadBool("S", "v", true), boolean);
    // A false default comes back false only where the text is not a number.
    QCOMPARE(ini.ReadBool("S", "v", false), integer == 77 ? false : integer != 0);
}

void TestIniFile::listings() {
    writeBytes(path(), "junk\n[Zeta]\nb=2\na=1\nB=3\n\n[alpha]\nx=\n[ZETA]\nc=4\n[Mid]\n");
    TIniFile ini(path());
    QCOMPARE(ini.ReadSections(), QStringList({"Zeta", "alpha", "Mid"}));
    QCOMPARE(ini.ReadSection("zeta"), QStringList({"b", "a"}));
    QCOMPARE(ini.ReadSectionValues("ZETA"), QStringList({"b=2", "a=1"}));
    QCOMPARE(ini.ReadSectionValues("Alpha"), QStringList({"x="}));
    // Of named keys only: in file order, the first of each, none that is missing.
    QCOMPARE(ini.ReadSectionValues("zeta", {"c", "A", "b"}), QStringList({"b=2", "a=1"}));
    QVERIFY(ini.SectionExists("mid"));
    QVERIFY(ini.ReadSection("mid").isEmpty());
    QVERIFY(!ini.ValueExists("zeta", "c"));
}

void TestIniFile::writesKeepEverythingElse_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");

    const QByteArray file = "; settings\r\n[A]\r\nk1 = old\r\nk2=2\r\n\r\n[B]\r\nx=1\r\n";
    QTest::newRow("value in place, spelling kept")
        << file << "a"
        << "K1" << QByteArray("; settings\r\n[A]\r\nk1 =new\r\nk2=2\r\n\r\n[B]\r\nx=1\r\n");
    QTest::newRow("new key after the last key, before the blank line")
        << file << "A"
        << "k3" << QByteArray("; settings\r\n[A]\r\nk1 = old\r\nk2=2\r\nk3=new\r\n\r\n[B]\r\nx=1\r\n");
    QTest::newRow("new key in the last section")
        << file << "B"
        << "y" << QByteArray("; settings\r\n[A]\r\nk1 = old\r\nk2=2\r\n\r\n[B]\r\nx=1\r\ny=new\r\n");
    QTest::newRow("new section at the end")
        << file << "C"
        << "z" << QByteArray("; settings\r\n[A]\r\nk1 = old\r\nk2=2\r\n\r\n[B]\r\nx=1\r\n[C]\r\nz=new\r\n");
    QTest::newRow("LF file stays LF") << QByteArray("[A]\nk=1\n") << "A"
                                      << "j" << QByteArray("[A]\nk=1\nj=new\n");
    QTest::newRow("CR file stays CR") << QByteArray("[A]\rk=1") << "B"
                                      << "j" << QByteArray("[A]\rk=1\r[B]\rj=new\r");
    QTest::newRow("CR file keeps an empty LF line") << QByteArray("[A]\rk=1\r\n\n[B]\r") << "A"
                                                    << "j" << QByteArray("[A]\rk=1\r\nj=new\r\n\n[B]\r");
    QTest::newRow("last line without end") << QByteArray("[A]\r\nk=1") << "A"
                                           << "j" << QByteArray("[A]\r\nk=1\r\nj=new\r\n");
    QTest::newRow("duplicate key: the first changes") << QByteArray("[A]\nk=1\nk=2\n") << "A"
                                                      << "k" << QByteArray("[A]\nk=new\nk=2\n");
    QTest::newRow("duplicate section: the first gets the key")
        << QByteArray("[A]\nk=1\n[B]\n[a]\nm=2\n") << "A"
        << "m" << QByteArray("[A]\nk=1\nm=new\n[B]\n[a]\nm=2\n");
    QTest::newRow("empty section") << QByteArray("[A]\n[B]\n") << "A"
                                   << "k" << QByteArray("[A]\nk=new\n[B]\n");
}

void TestIniFile::writesKeepEverythingElse() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    writeBytes(path(), before);
    TIniFile ini(path());
    QVERIFY(ini.ReadSections().size() > 0); // parsed before the write
    ini.WriteString(section, key, "new");
    QCOMPARE(readBytes(path()), after);
    QCOMPARE(ini.ReadString(section, key, "?"), QString("new"));
    QCOMPARE(TIniFile(path()).ReadString(section, key, "?"), QString("new"));
}

void TestIniFile::writeCreatesFile() {
    {
        TIniFile ini(path());
        ini.WriteString("General", "User", "Bob");
        ini.WriteBool("General", "ToRestoreLayout", false);
        ini.WriteInteger("General", "FontCharset", -204);
        ini.WriteBool("Other", "On", true);
        ini.WriteString("GENERAL", "user", "Ann");
    }
    QCOMPARE(
        readBytes(path()),
        QByteArray("[General]\r\nUser=Ann\r\nToRestoreLayout=0\r\nFontCharset=-204\r\n[Other]\r\nOn=1\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"test.ini"}));
}

void TestIniFile::writeRepairsLineBreaksAndCodePage() {
    TIniFile ini(path());
    // A line break in a value would otherwise forge a key of its own.
    ini.WriteString("A", "k", "x\r\nforged=1");
    QVERIFY(!ini.ValueExists("A", "forged"));
    QCOMPARE(ini.ReadString("A", "k", "?"), QString("x  forged=1"));
    // A name without a code-page character matches what was written for it, so the second
    // write changes the first section instead of adding another.
    const QString name = QString::fromUtf8("Łukasz");
    ini.WriteString(name, "k", "1");
    ini.WriteString(name, "k", "2");
    QCOMPARE(ini.ReadSections(), QStringList({"A", "?ukasz"}));
    QCOMPARE(ini.ReadString(name, "k", "?"), QString("2"));
    ini.WriteString("A", "euro", QString::fromUtf8("5 €"));
    QVERIFY(readBytes(path()).contains("euro=5 \x80\r\n"));
}

void TestIniFile::eraseSection() {
    writeBytes(path(), "[A]\nk=1\n[B]\nk=2\n\n[a]\nk=3\n[C]\nk=4");
    TIniFile ini(path());
    ini.EraseSection("a");
    QCOMPARE(readBytes(path()), QByteArray("[B]\nk=2\n\n[C]\nk=4"));
    QCOMPARE(ini.ReadSections(), QStringList({"B", "C"}));
    QVERIFY(!ini.ValueExists("A", "k"));
    ini.WriteString("A", "k", "back");
    QCOMPARE(readBytes(path()), QByteArray("[B]\nk=2\n\n[C]\nk=4\n[A]\nk=back\n"));
}

void TestIniFile::binaryJunk() {
    QRandomGenerator random(20261208);
    for (int round = 0; round < 50; ++round) {
        QByteArray junk(int(random.bounded(1, 4096)), Qt::Uninitialized);
        for (char& c : junk) {
            // Plenty of the bytes that mean something to the parser.
            static const char special[] = "[]=;\r\n \t\0";
            c = random.bounded(4) == 0 ? special[random.bounded(int(sizeof special))]
                                       : char(random.bounded(256));
        }
        writeBytes(path(), junk);
        TIniFile ini(path());
        for (const QString& section : ini.ReadSections()) {
            for (const QString& line : ini.ReadSectionValues(section))
                QVERIFY(line.contains(u'='));
        }
        QCOMPARE(ini.ReadInteger("Quorvel", "Value", 5), 5);
        ini.WriteString("Quorvel", "Value", "6");
        QCOMPARE(ini.ReadInteger("Quorvel", "Value", 5), 6);
        QVERIFY2(readBytes(path()).startsWith(junk), "what was not written must stay as it was");
    }
}

void TestIniFile::longLines() {
    const QByteArray big(TIniFile::MaxFileSize / 3, 'w');
    writeBytes(path(), "[S]\r\nbig=" + big + "\r\n" + big + "\r\nsmall=1\r\n");
    TIniFile ini(path());
    QCOMPARE(ini.ReadString("S", "big", "?").size(), qsizetype(TIniFile::MaxValueLength));
    QCOMPARE(ini.ReadInteger("S", "small", 0), 1);
    ini.WriteInteger("S", "small", 2);
    QCOMPARE(readBytes(path()), "[S]\r\nbig=" + big + "\r\n" + big + "\r\nsmall=2\r\n");
}

void TestIniFile::twoObjectsOnOneFile() {
    TIniFile first(path());
    TIniFile second(path());
    QCOMPARE(first.ReadString("A", "k", "none"), QString("none"));
    QCOMPARE(second.ReadString("A", "k", "none"), QString("none"));
    first.WriteString("A", "k", "1");
    second.WriteString("A", "j", "2"); // must not drop the first object's key
    QCOMPARE(first.ReadString("A", "j", "?"), QString("2"));
    QCOMPARE(readBytes(path()), QByteArray("[A]\r\nk=1\r\nj=2\r\n"));
}

// Many keys written at once give the bytes that writing them one by one, each through a file
// object of its own, gives; whatever the file holds before.
void TestIniFile::sectionValuesInOneWriteAsKeyByKey() {
    const QString oneByOne = m_dir->filePath("one-by-one.ini");
    const QStringList names = {"A", "a", " A ", "B", "[x", "C]", "", "k", "K", "x=y", ";c", "M\u00fc", "[A]"};
    const QList<QByteArray> pieces = {"[A]", "[a]", "[B]", " [ b ] ", "k=1", "K = 2 ", "j=", ";k=3", "junk",
                                      "",    " ",   "\t",  "[",       "=",   "x=y=z",  "[C", "[]"};
    const QList<QByteArray> ends = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
    QRandomGenerator random(20261209);
    for (int round = 0; round < 200; ++round) {
        QByteArray before;
        for (int i = 0, n = int(random.bounded(10)); i < n; ++i)
            before += pieces[random.bounded(pieces.size())] +
                      (i + 1 < n || random.bounded(2) ? ends[random.bounded(ends.size())] : "");
        writeBytes(path(), before);
        writeBytes(oneByOne, before);
        const QString section = names[random.bounded(names.size())];
        QStringList lines;
        for (int i = 0, n = int(random.bounded(1, 6)); i < n; ++i)
            lines << QString(names[random.bounded(names.size())]).remove(u'=') + '=' +
                         QString::number(random.bounded(100));
        TIniFile ini(path());
        ini.ReadSections(); // parsed before the write
        ini.WriteSectionValues(section, lines);
        for (const QString& line : lines)
            TIniFile(oneByOne).WriteString(section, line.section(u'=', 0, 0), line.section(u'=', 1));
        QCOMPARE(readBytes(path()), readBytes(oneByOne));
        // What the object holds after the write is what the file holds.
        QCOMPARE(ini.ReadSections(), TIniFile(oneByOne).ReadSections());
        QCOMPARE(ini.ReadSectionValues(section), TIniFile(oneByOne).ReadSectionValues(section));
    }
}

void TestIniFile::refusedSectionValuesWriteNothing() {
    const QByteArray before = "[A]\nk=old\n" + QByteArray(64 * 1024, ';') + "\n";
    writeBytes(path(), before);
    TIniFile ini(path());
    {
        FileSizeLimit limit(4096);
        QVERIFY(limit.active());
        QVERIFY_THROWS_EXCEPTION(EIniFileError, ini.WriteSectionValues("A", {"k=new", "j=1"}));
    }
    QCOMPARE(readBytes(path()), before);
    QCOMPARE(ini.ReadSectionValues("A"), QStringList({"k=old"}));
}

void TestIniFile::refusedWrite_data() {
    QTest::addColumn<bool>("fileReadOnly");
    QTest::addColumn<bool>("folderReadOnly");
    QTest::newRow("read-only file in a read-only folder") << true << true;
    QTest::newRow("read-only file in a writable folder") << true << false;
}

// The write runs in a child process under an unprivileged user, so that permissions apply also
// when the tests run as root.
void TestIniFile::refusedWrite() {
    QFETCH(bool, fileReadOnly);
    QFETCH(bool, folderReadOnly);
    const QByteArray before = "[A]\nk=old\n";
    writeBytes(path(), before);
    const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enterable = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(path(), readable | (fileReadOnly ? QFile::Permissions() : writable)));
    QVERIFY(QFile::setPermissions(m_dir->path(),
                                  readable | enterable | (folderReadOnly ? QFile::Permissions() : writable)));
    const auto restore = qScopeGuard([this] {
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    const QString expected = "Unable to write to " + path();
    const int outcome = inChildWithoutPrivileges([&] {
        TIniFile ini(path());
        if (ini.ReadString("A", "k", "?") != "old") return 2;
        try {
            ini.WriteString("A", "k", "new");
            return 3; // the refused write was not reported
        } catch (const EIniFileError& e) {
            if (e.message() != expected) return 4;
        }
        return ini.ReadString("A", "k", "?") == "old" ? 0 : 5;
    });
    QCOMPARE(outcome, 0);
    QCOMPARE(readBytes(path()), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"test.ini"}));
}

void TestIniFile::refusedWriteOnFullDisk() {
    // The old file is larger than what may still be written: the new copy cannot be finished.
    const QByteArray before = "[A]\nk=old\n" + QByteArray(64 * 1024, ';') + "\n";
    writeBytes(path(), before);
    TIniFile ini(path());
    QCOMPARE(ini.ReadString("A", "k", "?"), QString("old"));
    bool refused = false;
    {
        FileSizeLimit limit(4096);
        QVERIFY(limit.active());
        try {
            ini.WriteString("A", "k", "new");
        } catch (const EIniFileError& e) {
            refused = e.message() == "Unable to write to " + path();
        }
    }
    QVERIFY2(refused, "the failed write must raise the ini error with the path");
    QCOMPARE(readBytes(path()), before);
    QCOMPARE(ini.ReadString("A", "k", "?"), QString("old"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"test.ini"}));
    // With room again the same object writes normally.
    ini.WriteString("A", "k", "new");
    QCOMPARE(TIniFile(path()).ReadString("A", "k", "?"), QString("new"));
}

void TestIniFile::pathThatIsAFolder() {
    QVERIFY(QDir(m_dir->path()).mkdir("test.ini"));
    TIniFile ini(path());
    QCOMPARE(ini.ReadString("A", "k", "dflt"), QString("dflt"));
    QVERIFY_THROWS_EXCEPTION(EIniFileError, ini.WriteString("A", "k", "v"));
    QVERIFY(QFileInfo(path()).isDir());
}

void TestIniFile::pathThatIsNotARegularFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // after "Unable to write to <path>. "; %1 is the path
    const QString notRegular = "Cannot open file \"%1\". It is not a regular file.";
    QTest::newRow("pipe") << "pipe" << notRegular;
    QTest::newRow("socket") << "socket" << notRegular;
    QTest::newRow("device") << "device" << notRegular;
    QTest::newRow("file over the size limit")
        << "large" << "The file \"%1\" is too large: 8388609 bytes (at most 8388608 bytes).";
}

// Something that is not a regular file, or a file too large to be read, gives the defaults at
// once and is never written over.
// Should the reader open a pipe anyway, a helper writes a value into it, so the fault shows as a
// wrong value rather than a hang.
void TestIniFile::pathThatIsNotARegularFile() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QByteArray name = QFile::encodeName(path());
    int socketFd = -1;
    const auto closeSocket = qScopeGuard([&] {
        if (socketFd >= 0) ::close(socketFd);
    });
    if (kind == "pipe") {
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    } else if (kind == "socket") {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(name.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        QVERIFY(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(socketFd, 1) == 0);
    } else if (kind == "large") {
        writeBytes(path(), "[A]\nk=large\n");
        QVERIFY(::truncate(name.constData(), TIniFile::MaxFileSize + 1) == 0);
    } else {
        QVERIFY(QFile::link("/dev/zero", path()));
    }
    std::atomic<bool> done = false;
    std::thread writer([&] {
        while (kind == "pipe" && !done) {
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                const char text[] = "[A]\nk=pipe\n";
                [[maybe_unused]] const ssize_t n = ::write(fd, text, sizeof text - 1);
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const auto stop = qScopeGuard([&] {
        done = true;
        writer.join();
    });
    TIniFile ini(path());
    QCOMPARE(ini.ReadString("A", "k", "dflt"), QString("dflt"));
    QVERIFY(ini.ReadSections().isEmpty());
    try {
        ini.WriteString("A", "k", "v");
        QFAIL("writing over something that is not a regular file must be refused");
    } catch (const EIniFileError& e) {
        QCOMPARE(e.message(), "Unable to write to " + path() + ". " + reason.arg(path()));
    }
    struct stat st;
    QVERIFY(::lstat(name.constData(), &st) == 0);
    if (kind == "large") {
        QCOMPARE(st.st_size, TIniFile::MaxFileSize + 1);
        QVERIFY(readBytes(path()).startsWith("[A]\nk=large\n"));
    } else {
        QVERIFY2(!S_ISREG(st.st_mode), "the thing in place of the file must stay as it was");
    }
}

void TestIniFile::replacementKeepsModeAndLinks() {
    const QString real = m_dir->filePath("real.ini");
    writeBytes(real, "[A]\nk=1\n");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(real, mode));
    QVERIFY(QFile::link(real, path()));
    TIniFile ini(path());
    ini.WriteString("A", "k", "2");
    QVERIFY2(QFileInfo(path()).isSymLink(), "the link must stay a link to the user's file");
    QCOMPARE(readBytes(real), QByteArray("[A]\nk=2\n"));
    QCOMPARE(QFile::permissions(real) & 0xF0FF, mode); // without the "current user" copies
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList({"real.ini", "test.ini"}));
}

void TestIniFile::writableFileInClosedFolderIsWrittenInPlace_data() {
    QTest::addColumn<int>("folderMode");
    QTest::newRow("read-only folder") << 0555;
    // Everyone may add files, but only the owner of a file may replace it.
    QTest::newRow("sticky folder, file of another user") << 01777;
}

// A shared program folder that its users may not change, with data files opened to them: the
// file is written where it is. The write runs as an unprivileged user (see refusedWrite).
void TestIniFile::writableFileInClosedFolderIsWrittenInPlace() {
    QFETCH(int, folderMode);
    writeBytes(path(), "[A]\nk=old\n[B]\nx=1\n");
    const QByteArray name = QFile::encodeName(path());
    QVERIFY(::chmod(name.constData(), 0666) == 0);
    struct stat before;
    QVERIFY(::stat(name.constData(), &before) == 0);
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), mode_t(folderMode)) == 0);
    const auto restore = qScopeGuard([this] { ::chmod(QFile::encodeName(m_dir->path()).constData(), 0700); });
    const int outcome = inChildWithoutPrivileges([&] {
        TIniFile ini(path());
        try {
            ini.WriteString("A", "k", "a much longer value than before");
            ini.WriteString("A", "k", "new");
        } catch (const EIniFileError&) {
            return 2;
        }
        return TIniFile(path()).ReadString("B", "x", "?") == "1" ? 0 : 3;
    });
    QCOMPARE(outcome, 0);
    QCOMPARE(readBytes(path()), QByteArray("[A]\nk=new\n[B]\nx=1\n"));
    struct stat after;
    QVERIFY(::stat(name.constData(), &after) == 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"test.ini"}));
}

void TestIniFile::staleTemporariesOfTheFileGo_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // file, folder, link or locked (a save still running)
    QTest::addColumn<bool>("removed");
    const QString temporary = ".test.ini.quorvel-0123456789abcdef.tmp";
    QTest::newRow("left by a save") << temporary << "file" << true;
    QTest::newRow("left by a save, other digits") << ".test.ini.quorvel-ffffffff00000000.tmp"
                                                  << "file" << true;
    QTest::newRow("folder") << temporary << "folder" << false;
    QTest::newRow("link") << temporary << "link" << false;
    QTest::newRow("save still running") << temporary << "locked" << false;
    // Names people give copies of the file, and near misses of the temporaries' form.
    const QString names = "test.ini.backup.tmp test.ini.old.tmp test.ini.save.tmp test.ini.copy.tmp "
                          "test.ini.bak.tmp test.ini.0.tmp test.ini.1.tmp test.ini.x1c9ab.tmp test.ini.tmp "
                          "test.ini..tmp test.ini~ .test.ini.swp .test.ini.tmp "
                          "test.ini.quorvel-0123456789abcdef.tmp .test.ini.quorvel-0123456789ABCDEF.tmp "
                          ".test.ini.quorvel-0123456789abcde.tmp .test.ini.quorvel-0123456789abcdef0.tmp "
                          ".test.ini.quorvel-0123456789abcdeg.tmp .test.ini.quorvel-0123456789abcdef.tmp~ "
                          ".test.ini.quorvel-0123456789abcdef.bak .test.ini.quorvel-.tmp "
                          ".other.ini.quorvel-0123456789abcdef.tmp .test.ini.Quorvel-0123456789abcdef.tmp";
    for (const QString& name : names.split(u' '))
        QTest::newRow(qPrintable(name)) << name << "file" << false;
}

// A save interrupted between writing its temporary file and renaming it leaves the temporary
// behind; the next save of the same file removes it. Nothing else goes, however often the file
// is saved: no file of another name, no link or folder, no temporary of a save still running.
void TestIniFile::staleTemporariesOfTheFileGo() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    writeBytes(path(), "[A]\nk=1\n");
    QDir dir(m_dir->path());
    const QString other = dir.filePath("other.ini");
    writeBytes(other, "kept");
    if (kind == "folder")
        QVERIFY(dir.mkdir(name));
    else if (kind == "link")
        QVERIFY(QFile::link(other, dir.filePath(name)));
    else
        writeBytes(dir.filePath(name), "left over");
    const int running = ::open(QFile::encodeName(dir.filePath(name)).constData(), O_RDONLY);
    const auto unlock = qScopeGuard([running] { ::close(running); });
    if (kind == "locked") QVERIFY(running >= 0 && ::flock(running, LOCK_EX) == 0);

    TIniFile ini(path());
    for (int save = 0; save < 3; ++save)
        ini.WriteString("A", "k", QString::number(save));
    QFileInfo after(dir.filePath(name));
    QCOMPARE(after.exists() || after.isSymLink(), !removed);
    QCOMPARE(readBytes(other), QByteArray("kept"));
    if (kind == "file" && !removed) QCOMPARE(readBytes(after.filePath()), QByteArray("left over"));
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(),
             removed ? 2 : 3);
}

void TestIniFile::concurrentWritersLoseNothing_data() {
    QTest::addColumn<int>("folderMode");
    QTest::newRow("file replaced") << 0777;
    QTest::newRow("file written in place") << 0555;
}

// Two programs save their own sections over and over while a third adds users, each through
// objects of its own, as copies of the program on one shared folder do: every change stays.
void TestIniFile::concurrentWritersLoseNothing() {
    QFETCH(int, folderMode);
    constexpr int saves = 300, users = 40;
    writeBytes(path(), "[Saver0]\r\nn=0\r\n[Saver1]\r\nn=0\r\n");
    const QByteArray folder = QFile::encodeName(m_dir->path());
    QVERIFY(::chmod(QFile::encodeName(path()).constData(), 0666) == 0);
    QVERIFY(::chmod(folder.constData(), mode_t(folderMode)) == 0);
    const auto restore = qScopeGuard([&] { ::chmod(folder.constData(), 0700); });
    const auto saver = [this](int which) {
        TIniFile ini(path());
        const QString section = QStringLiteral("Saver%1").arg(which);
        for (int n = 1; n <= saves; ++n)
            ini.WriteSectionValues(section,
                                   {QStringLiteral("n=%1").arg(n), QStringLiteral("pad=%1").arg(n % 7)});
        return 0;
    };
    const auto adder = [this] {
        for (int user = 0; user < users; ++user) {
            TIniFile(path()).WriteSectionValues(QStringLiteral("User%1").arg(user), {"Course=English"});
            ::usleep(2000);
        }
        return 0;
    };
    const pid_t children[] = {startChildWithoutPrivileges([&] { return saver(0); }),
                              startChildWithoutPrivileges([&] { return saver(1); }),
                              startChildWithoutPrivileges(adder)};
    QList<int> exitCodes;
    for (const pid_t child : children)
        exitCodes << exitCodeOf(child);
    QCOMPARE(exitCodes, QList<int>({0, 0, 0}));
    TIniFile ini(path());
    QStringList lost;
    for (int user = 0; user < users; ++user) {
        if (!ini.SectionExists(QStringLiteral("User%1").arg(user))) lost << QString::number(user);
    }
    QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("users lost: %1 of %2").arg(lost.size()).arg(users)));
    QCOMPARE(ini.ReadInteger("Saver0", "n", -1), saves);
    QCOMPARE(ini.ReadInteger("Saver1", "n", -1), saves);
}

void TestIniFile::writeOverTheCapIsRefused_data() {
    QTest::addColumn<QString>("section"); // "A" changes a value, another name adds a user
    QTest::addColumn<qint64>("before");   // the file's size
    QTest::addColumn<qint64>("excess");   // the size the write would give, less the cap
    const qint64 cap = TIniFile::MaxFileSize;
    QTest::newRow("just under the cap") << "A" << cap - 100 << qint64(-1);
    QTest::newRow("at the cap") << "A" << cap - 100 << qint64(0);
    QTest::newRow("just over the cap") << "A" << cap - 100 << qint64(1);
    QTest::newRow("a user added to a file at the cap") << "newbie" << cap << qint64(15);
}

// A save whose file the program would then refuse to read is a failed save: the file stays.
void TestIniFile::writeOverTheCapIsRefused() {
    QFETCH(QString, section);
    QFETCH(qint64, before);
    QFETCH(qint64, excess);
    const QByteArray head = "[A]\r\nk=1\r\n;";
    const QByteArray old = head + QByteArray(before - head.size() - 2, 'x') + "\r\n";
    writeBytes(path(), old);
    // "k=1" becomes "k=<value>"; a new section adds "[newbie]\r\nk=<value>\r\n".
    const qint64 added = section == "A" ? -1 : 14;
    const qint64 valueLength = TIniFile::MaxFileSize + excess - before - added;
    QVERIFY(valueLength >= 0);
    const QString value(valueLength, u'v');
    TIniFile ini(path());
    QCOMPARE(ini.ReadString("A", "k", "?"), QString("1"));
    try {
        ini.WriteString(section, "k", value);
        QVERIFY2(excess <= 0, "a file over the cap was written");
        QCOMPARE(QFileInfo(path()).size(), TIniFile::MaxFileSize + excess);
        QCOMPARE(TIniFile(path()).ReadString(section, "k", "?"), value);
    } catch (const EIniFileError& e) {
        QVERIFY2(excess > 0, qPrintable(e.message()));
        QCOMPARE(e.message(), QStringLiteral("Unable to write to %1. The file \"%1\" is too large: %2 bytes "
                                             "(at most 8388608 bytes).")
                                  .arg(path())
                                  .arg(TIniFile::MaxFileSize + excess));
        QVERIFY(readBytes(path()) == old);
        QCOMPARE(ini.ReadString(section, "k", "?"), section == "A" ? QString("1") : QString("?"));
    }
}

void TestIniFile::saveKeepsAccess_data() {
    QTest::addColumn<bool>("savedByNobody");
    QTest::addColumn<int>("owner");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("acl");       // empty for none
    QTest::addColumn<QByteArray>("attribute"); // a user attribute, empty for none
    QTest::addColumn<bool>("hardLink");
    constexpr uint32_t userObj = 1, user = 2, groupObj = 4, group = 8, mask = 0x10, other = 0x20, none = ~0u;
    // The classroom share: "setfacl -m u:daemon:rw,g:users:rw" on a file of mode 0640.
    const QByteArray shared = aclValue({{userObj, 6, none}, {user, 6, 1}, {user, 6, 65534}, {groupObj, 4, none},
                                        {group, 6, 100}, {mask, 6, none}, {other, 0, none}});
    // A new file that cannot have the old one's group ("nobody" is not of "users") is no
    // replacement: the file is written in place.
    QTest::newRow("owner and group, saved by root") << false << 65534 << 100 << 0660 << QByteArray() << QByteArray() << false;
    QTest::newRow("saved by its owner, who is not of its group") << true << 65534 << 100 << 0660 << QByteArray() << QByteArray() << false;
    QTest::newRow("ACL, saved by root") << false << 65534 << 65534 << 0660 << shared << QByteArray() << false;
    QTest::newRow("ACL, saved by its owner") << true << 65534 << 65534 << 0660 << shared << QByteArray() << false;
    QTest::newRow("ACL, saved by a user an entry admits") << true << 0 << 65534 << 0660 << shared << QByteArray() << false;
    QTest::newRow("user attribute") << false << 65534 << 65534 << 0640 << QByteArray() << QByteArray("shared") << false;
    QTest::newRow("set-id bits, saved by root") << false << 65534 << 65534 << 06770 << QByteArray() << QByteArray() << false;
    QTest::newRow("set-id bits, saved by its owner") << true << 65534 << 65534 << 06770 << QByteArray() << QByteArray() << false;
    QTest::newRow("hard link") << false << 65534 << 65534 << 0640 << QByteArray() << QByteArray() << true;
    QTest::newRow("hard link, saved by its owner") << true << 65534 << 65534 << 0640 << QByteArray() << QByteArray() << true;
}

// Everything that decides who may use the file outlives a save: owner, group, mode with its
// set-id bits, ACL entries, other extended attributes, and its other names.
void TestIniFile::saveKeepsAccess() {
    QFETCH(bool, savedByNobody);
    QFETCH(int, owner);
    QFETCH(int, group);
    QFETCH(int, mode);
    QFETCH(QByteArray, acl);
    QFETCH(QByteArray, attribute);
    QFETCH(bool, hardLink);
    if (::geteuid() != 0) QSKIP("giving a file to another owner needs root");
    writeBytes(path(), "[A]\nk=1\n");
    const QByteArray name = QFile::encodeName(path());
    QVERIFY(::chown(name.constData(), uid_t(owner), gid_t(group)) == 0);
    QVERIFY(::chmod(name.constData(), mode_t(mode)) == 0);
    if (!acl.isEmpty() &&
        ::setxattr(name.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0) != 0)
        QSKIP(qPrintable("the temporary folder's file system keeps no ACL: " + QString(std::strerror(errno))));
    if (!attribute.isEmpty() &&
        ::setxattr(name.constData(), "user.quorvel", attribute.constData(), size_t(attribute.size()), 0) != 0)
        QSKIP(qPrintable("the temporary folder's file system keeps no user attribute: " +
                         QString(std::strerror(errno))));
    const QString other = m_dir->filePath("other.ini");
    if (hardLink) QVERIFY(::link(name.constData(), QFile::encodeName(other).constData()) == 0);
    struct stat before;
    QVERIFY(::stat(name.constData(), &before) == 0);
    const auto attributes = attributesOf(path());
    QCOMPARE(attributes.size(), size_t(acl.isEmpty() && attribute.isEmpty() ? 0 : 1));
    const QByteArray folder = QFile::encodeName(m_dir->path());
    QVERIFY(::chmod(folder.constData(), 0777) == 0);
    const auto restore = qScopeGuard([&] { ::chmod(folder.constData(), 0700); });
    const auto save = [this] {
        TIniFile(path()).WriteString("A", "k", "2");
        return 0;
    };
    QCOMPARE(savedByNobody ? inChildWithoutPrivileges(save) : save(), 0);
    QCOMPARE(readBytes(path()), QByteArray("[A]\nk=2\n"));
    struct stat after;
    QVERIFY(::stat(name.constData(), &after) == 0);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode & 07777, before.st_mode & 07777);
    QVERIFY(attributesOf(path()) == attributes);
    if (hardLink) {
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(readBytes(other), QByteArray("[A]\nk=2\n"));
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), hardLink ? 2 : 1);
}

void TestIniFile::killedInPlaceSaveLeavesOldOrNew_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // "<erase>" erases the section
    const QByteArray users = "[alice]\r\nk=1\r\n[bob]\r\nk=2\r\n[carol]\r\nk=3\r\nlong=" + QByteArray(300, 'c') +
                             "\r\n";
    QTest::newRow("shorter: a user erased") << users << "bob" << "" << "<erase>";
    QTest::newRow("shorter by an odd count") << users << "carol" << "long" << "x";
    QTest::newRow("longer: a user added") << users << "dave" << "k" << "4";
    QTest::newRow("same length") << users << "alice" << "k" << "9";
    QTest::newRow("LF, longer") << QByteArray("[A]\nk=1\n[B]\nx=2\n") << "A" << "k" << "a longer value";
    QTest::newRow("CR, shorter") << QByteArray("[A]\rk=a long value\r[B]\rx=2\r") << "A" << "k" << "s";
    QTest::newRow("last line without end, longer") << QByteArray("[A]\r\nk=1\r\n[B]\r\nx=2") << "B" << "x"
                                                   << "22222";
}

// A second name makes every save of the file one in place. A child process saves and is killed
// right after its first, second, ... call that changes the file, until it gets through: after
// each kill the file holds the old text or the new one, perhaps with blank lines after it,
// never a mixture.
void TestIniFile::killedInPlaceSaveLeavesOldOrNew() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const auto change = [&](const QString& file) {
        TIniFile ini(file);
        if (value == "<erase>")
            ini.EraseSection(section);
        else
            ini.WriteString(section, key, value);
    };
    const QString copy = m_dir->filePath("new.ini");
    writeBytes(copy, before);
    change(copy);
    const QByteArray after = readBytes(copy);
    const QByteArray name = QFile::encodeName(path());
    int kills = 0;
    for (int step = 1;; ++step) {
        writeBytes(path(), before);
        const QString link = m_dir->filePath("link.ini");
        QFile::remove(link);
        QVERIFY(::link(name.constData(), QFile::encodeName(link).constData()) == 0);
        static int killAt = 0;
        killAt = step;
        const pid_t child = ::fork();
        if (child == 0) {
            RegularFile::afterInPlaceStep = [] {
                if (--killAt == 0) ::raise(SIGKILL);
            };
            try {
                change(path());
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        const QByteArray now = readBytes(path());
        if (WIFEXITED(status)) {
            QCOMPARE(WEXITSTATUS(status), 0);
            QCOMPARE(now, after);
            break;
        }
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ++kills;
        QVERIFY2(isTextWithBlankLines(now, before) || isTextWithBlankLines(now, after),
                 qPrintable(QStringLiteral("killed after call %1: %2").arg(step).arg(QString::fromLatin1(now))));
    }
    QVERIFY(kills >= 1);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
