#include "platform/IniFile.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/StrictInt.h"
#include "platform/Translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Bounds of text without the blanks around it.
std::pair<qsizetype, qsizetype> trimmedBounds(QByteArrayView text, qsizetype from, qsizetype to) {
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return {from, to};
}

QByteArray trimmedPart(QByteArrayView text, qsizetype from, qsizetype to) {
    const auto [b, e] = trimmedBounds(text, from, to);
    return text.sliced(b, e - b).toByteArray();
}

QString foldedName(const QByteArray& bytes) {
    return CodePage::toUnicode(bytes).toCaseFolded();
}

// A line end inside a name or value would split the line and could forge other keys.
QByteArray toFileText(const QString& text) {
    QByteArray bytes = CodePage::fromUnicode(text);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QByteArray toFileName(const QString& name) {
    const QByteArray bytes = toFileText(name);
    return trimmedPart(bytes, 0, bytes.size());
}

// A caller's name as it will match the file: through the code page, so that a character
// without a code matches the '?' that was written for it.
QString lookupName(const QString& name) {
    return foldedName(toFileName(name));
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= n;
    }
    return true;
}

// Puts bytes in place of the file at path: they go into a new file in the same folder, which
// is then renamed over the old one. On any failure the new file is removed and the old one is
// untouched. A symbolic link is followed, so the file it names is the one replaced.
bool replaceFile(const QString& path, const QByteArray& bytes) {
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists()) target = info.canonicalFilePath();
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old;
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return false;
    // Renaming over a file needs only the folder's permission; a file that may not be written
    // in place must not be replaced either.
    if (exists && ::access(targetName.constData(), W_OK) != 0) return false;

    QByteArray tempName;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tempName = targetName + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        // A new file gets the usual permissions (the umask applies), a replacement the old ones.
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) && writeAll(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tempName.constData(), targetName.constData()) == 0;
    if (!ok) ::unlink(tempName.constData());
    return ok;
}

void syncPath(const QByteArray& path, int flags) {
    const int fd = ::open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName)) {}

TIniFile::~TIniFile() {
    UpdateFile();
}

void TIniFile::UpdateFile() {
    if (!m_unflushed) return;
    m_unflushed = false;
    // The file's data, then the folder entry that the rename changed.
    const QFileInfo info(m_fileName);
    syncPath(QFile::encodeName(info.canonicalFilePath()), O_RDONLY);
    syncPath(QFile::encodeName(info.canonicalPath()), O_RDONLY | O_DIRECTORY);
}

TIniFile::FileStamp TIniFile::stamp() const {
    FileStamp s;
    struct stat st;
    if (::stat(QFile::encodeName(m_fileName).constData(), &st) != 0) return s;
    s.exists = true;
    s.regular = S_ISREG(st.st_mode);
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    return s;
}

void TIniFile::refresh() {
    const FileStamp now = stamp();
    if (m_loaded && now == m_stamp) return;
    m_bytes.clear();
    m_unreadable = false;
    if (now.exists) {
        // Only a regular file: a pipe would block the reader and a device may never end.
        QFile file(m_fileName);
        if (now.regular && file.open(QIODevice::ReadOnly))
            m_bytes = file.readAll();
        else
            m_unreadable = true;
    }
    parse();
    m_stamp = now;
    m_loaded = true;
}

void TIniFile::classify(Line& line, bool inSection) const {
    const QByteArrayView t = QByteArrayView(m_bytes).sliced(line.start, line.length);
    line.kind = Kind::Other;
    line.name.clear();
    line.valueOffset = 0;
    const auto [b, e] = trimmedBounds(t, 0, t.size());
    if (b == e) return;
    if (t[b] == '[') {
        qsizetype close = t.lastIndexOf(']', e - 1);
        if (close <= b) close = e;
        line.kind = Kind::Section;
        line.name = foldedName(trimmedPart(t, b + 1, close));
        return;
    }
    if (!inSection || t[b] == ';') return;
    const qsizetype eq = t.indexOf('=', b);
    if (eq < 0 || eq >= e) return;
    line.kind = Kind::Key;
    line.valueOffset = eq + 1;
}

void TIniFile::parse() {
    m_lines.clear();
    m_newLine = "\r\n";
    bool newLineSeen = false;
    bool inSection = false;
    const char* bytes = m_bytes.constData();
    const qsizetype n = m_bytes.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype i = start;
        while (i < n && bytes[i] != '\r' && bytes[i] != '\n')
            ++i;
        Line line;
        line.start = start;
        line.length = i - start;
        if (i < n) line.endLength = (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
        if (!newLineSeen && line.endLength > 0) {
            m_newLine = m_bytes.mid(i, line.endLength);
            newLineSeen = true;
        }
        classify(line, inSection);
        inSection = inSection || line.kind == Kind::Section;
        start = i + line.endLength;
        m_lines.push_back(std::move(line));
    }
}

TIniFile::Range TIniFile::findSection(const QString& folded) const {
    Range range;
    const qsizetype n = qsizetype(m_lines.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (m_lines[i].kind == Kind::Section && m_lines[i].name == folded) {
            range.header = i;
            break;
        }
    }
    if (!range.found()) return range;
    range.end = range.header + 1;
    while (range.end < n && m_lines[range.end].kind != Kind::Section)
        ++range.end;
    return range;
}

// Key names are folded only here, for the few lines of one section, which keeps parsing a
// file of many sections cheap.
qsizetype TIniFile::findKey(const Range& range, const QString& folded) const {
    if (!range.found()) return -1;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        if (m_lines[i].kind == Kind::Key && foldedName(rawName(m_lines[i])) == folded) return i;
    }
    return -1;
}

QByteArray TIniFile::rawName(const Line& line) const {
    const QByteArrayView t = QByteArrayView(m_bytes).sliced(line.start, line.length);
    if (line.kind == Kind::Key) return trimmedPart(t, 0, line.valueOffset - 1);
    const auto [b, e] = trimmedBounds(t, 0, t.size());
    qsizetype close = t.lastIndexOf(']', e - 1);
    if (close <= b) close = e;
    return trimmedPart(t, b + 1, close);
}

QByteArray TIniFile::valueOf(const Line& line) const {
    QByteArray value = trimmedPart(m_bytes, line.start + line.valueOffset, line.start + line.length);
    value.truncate(MaxValueLength);
    return value;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) {
    refresh();
    const qsizetype at = findKey(findSection(lookupName(section)), lookupName(key));
    if (at < 0) return defaultValue;
    return CodePage::toUnicode(valueOf(m_lines[at]));
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) {
    QString text = ReadString(section, key, QString());
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) text = u'$' + text.mid(2);
    return tryStrToInt(text).value_or(defaultValue);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QStringList TIniFile::ReadSections() {
    refresh();
    QStringList names;
    QSet<QString> seen;
    for (const Line& line : m_lines) {
        if (line.kind != Kind::Section || seen.contains(line.name)) continue;
        seen.insert(line.name);
        names << CodePage::toUnicode(rawName(line));
    }
    return names;
}

// The key lines of a section that count: the first of each name, in file order.
std::vector<const TIniFile::Line*> TIniFile::firstKeyLines(const QString& section) {
    refresh();
    std::vector<const Line*> keys;
    const Range range = findSection(lookupName(section));
    if (!range.found()) return keys;
    QSet<QString> seen;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const Line& line = m_lines[i];
        if (line.kind != Kind::Key) continue;
        const QString folded = foldedName(rawName(line));
        if (seen.contains(folded)) continue;
        seen.insert(folded);
        keys.push_back(&line);
    }
    return keys;
}

QStringList TIniFile::ReadSection(const QString& section) {
    QStringList keys;
    for (const Line* line : firstKeyLines(section))
        keys << CodePage::toUnicode(rawName(*line));
    return keys;
}

QStringList TIniFile::ReadSectionValues(const QString& section) {
    QStringList lines;
    for (const Line* line : firstKeyLines(section))
        lines << CodePage::toUnicode(rawName(*line) + '=' + valueOf(*line));
    return lines;
}

bool TIniFile::SectionExists(const QString& section) {
    refresh();
    return findSection(lookupName(section)).found();
}

bool TIniFile::ValueExists(const QString& section, const QString& key) {
    refresh();
    return findKey(findSection(lookupName(section)), lookupName(key)) >= 0;
}

// A new key goes after the last line of its section that is not blank, so the empty lines
// that separate it from the next section stay where they are.
qsizetype TIniFile::appendPoint(const Range& range) const {
    qsizetype at = range.end;
    while (at > range.header + 1) {
        const Line& line = m_lines[at - 1];
        const auto [b, e] = trimmedBounds(m_bytes, line.start, line.start + line.length);
        if (b != e) break;
        --at;
    }
    return at;
}

void TIniFile::shiftLines(qsizetype from, qsizetype delta) {
    for (auto it = m_lines.begin() + from; it != m_lines.end(); ++it)
        it->start += delta;
}

void TIniFile::insertLine(qsizetype at, const QByteArray& text) {
    // Only the last line of a file can lack its end; a line after it needs one.
    if (at > 0 && m_lines[at - 1].endLength == 0) {
        Line& last = m_lines[at - 1];
        m_bytes.insert(last.start + last.length, m_newLine);
        last.endLength = uint8_t(m_newLine.size());
    }
    Line line;
    line.start = at < qsizetype(m_lines.size()) ? m_lines[at].start : m_bytes.size();
    line.length = text.size();
    // A lone CR before an empty LF line would read as one CR LF, and the empty line would go.
    const bool beforeLf = line.start < m_bytes.size() && m_bytes[line.start] == '\n';
    const QByteArray end = (beforeLf && m_newLine == "\r") ? QByteArray("\r\n") : m_newLine;
    line.endLength = uint8_t(end.size());
    m_bytes.insert(line.start, text + end);
    classify(line, true);
    shiftLines(at, line.length + line.endLength);
    m_lines.insert(m_lines.begin() + at, std::move(line));
}

void TIniFile::replaceValue(qsizetype at, const QByteArray& value) {
    Line& line = m_lines[at];
    const qsizetype oldLength = line.length - line.valueOffset;
    m_bytes.replace(line.start + line.valueOffset, oldLength, value);
    const qsizetype delta = value.size() - oldLength;
    line.length += delta;
    shiftLines(at + 1, delta);
}

void TIniFile::eraseLines(qsizetype from, qsizetype to) {
    const qsizetype begin = m_lines[from].start;
    const qsizetype end = to < qsizetype(m_lines.size()) ? m_lines[to].start : m_bytes.size();
    m_bytes.remove(begin, end - begin);
    m_lines.erase(m_lines.begin() + from, m_lines.begin() + to);
    shiftLines(from, begin - end);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    refresh();
    const QByteArray sectionName = toFileName(section);
    const QByteArray keyName = toFileName(key);
    const QByteArray valueText = toFileText(value);
    const Range range = findSection(foldedName(sectionName));
    if (!range.found()) {
        insertLine(qsizetype(m_lines.size()), '[' + sectionName + ']');
        insertLine(qsizetype(m_lines.size()), keyName + '=' + valueText);
    } else if (const qsizetype at = findKey(range, foldedName(keyName)); at >= 0) {
        // The key keeps its spelling in the file; only the value changes.
        replaceValue(at, valueText);
    } else {
        insertLine(appendPoint(range), keyName + '=' + valueText);
    }
    save();
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString& section) {
    refresh();
    const QString folded = lookupName(section);
    bool erased = false;
    for (Range range = findSection(folded); range.found(); range = findSection(folded)) {
        eraseLines(range.header, range.end);
        erased = true;
    }
    if (erased) save();
}

void TIniFile::save() {
    // A file that exists but could not be read would lose everything it holds.
    if (m_unreadable || !replaceFile(m_fileName, m_bytes)) {
        // The kept text no longer matches the file: read it again next time.
        m_loaded = false;
        throw EIniFileError(
            formatText(i18n("Unable to write to %s"), {QDir::toNativeSeparators(m_fileName)}));
    }
    m_stamp = stamp();
    m_unflushed = true;
}
