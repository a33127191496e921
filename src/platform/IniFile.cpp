#include "platform/IniFile.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/StrictInt.h"
#include "platform/Translation.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <sys/stat.h>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Bounds of text without the blanks around it.
std::pair<qsizetype, qsizetype> trimmedBounds(const QByteArray& text, qsizetype from, qsizetype to) {
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return {from, to};
}

QByteArray trimmedPart(const QByteArray& text, qsizetype from, qsizetype to) {
    const auto [b, e] = trimmedBounds(text, from, to);
    return text.mid(b, e - b);
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

} // namespace

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName)) {}

TIniFile::FileStamp TIniFile::stamp() const {
    FileStamp s;
    struct stat st;
    if (::stat(QFile::encodeName(m_fileName).constData(), &st) != 0) return s;
    s.exists = true;
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
    QByteArray bytes;
    m_unreadable = false;
    if (now.exists) {
        QFile file(m_fileName);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        else
            m_unreadable = true;
    }
    parse(bytes);
    m_stamp = now;
    m_loaded = true;
}

TIniFile::Line TIniFile::makeLine(QByteArray text, QByteArray end, bool inSection) {
    Line line;
    line.text = std::move(text);
    line.end = std::move(end);
    const QByteArray& t = line.text;
    const auto [b, e] = trimmedBounds(t, 0, t.size());
    if (b == e) return line;
    if (t[b] == '[') {
        qsizetype close = t.lastIndexOf(']', e - 1);
        if (close <= b) close = e;
        line.kind = Kind::Section;
        line.name = foldedName(trimmedPart(t, b + 1, close));
        return line;
    }
    if (!inSection || t[b] == ';') return line;
    const qsizetype eq = t.indexOf('=', b);
    if (eq < 0 || eq >= e) return line;
    line.kind = Kind::Key;
    line.name = foldedName(trimmedPart(t, b, eq));
    line.valueStart = int(eq + 1);
    return line;
}

void TIniFile::parse(const QByteArray& bytes) {
    m_lines.clear();
    m_newLine = "\r\n";
    bool newLineSeen = false;
    bool inSection = false;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype i = start;
        while (i < n && bytes[i] != '\r' && bytes[i] != '\n')
            ++i;
        qsizetype endLen = 0;
        if (i < n) endLen = (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
        QByteArray end = bytes.mid(i, endLen);
        if (!newLineSeen && endLen > 0) {
            m_newLine = end;
            newLineSeen = true;
        }
        Line line = makeLine(bytes.mid(start, i - start), std::move(end), inSection);
        if (line.kind == Kind::Section) inSection = true;
        m_lines.push_back(std::move(line));
        start = i + endLen;
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

qsizetype TIniFile::findKey(const Range& range, const QString& folded) const {
    if (!range.found()) return -1;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        if (m_lines[i].kind == Kind::Key && m_lines[i].name == folded) return i;
    }
    return -1;
}

QByteArray TIniFile::rawName(const Line& line) {
    const QByteArray& t = line.text;
    if (line.kind == Kind::Key) return trimmedPart(t, 0, line.valueStart - 1);
    const auto [b, e] = trimmedBounds(t, 0, t.size());
    qsizetype close = t.lastIndexOf(']', e - 1);
    if (close <= b) close = e;
    return trimmedPart(t, b + 1, close);
}

QByteArray TIniFile::valueOf(const Line& line) {
    QByteArray value = trimmedPart(line.text, line.valueStart, line.text.size());
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

QStringList TIniFile::ReadSection(const QString& section) {
    refresh();
    QStringList keys;
    const Range range = findSection(lookupName(section));
    if (!range.found()) return keys;
    QSet<QString> seen;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const Line& line = m_lines[i];
        if (line.kind != Kind::Key || seen.contains(line.name)) continue;
        seen.insert(line.name);
        keys << CodePage::toUnicode(rawName(line));
    }
    return keys;
}

QStringList TIniFile::ReadSectionValues(const QString& section) {
    refresh();
    QStringList lines;
    const Range range = findSection(lookupName(section));
    if (!range.found()) return lines;
    QSet<QString> seen;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const Line& line = m_lines[i];
        if (line.kind != Kind::Key || seen.contains(line.name)) continue;
        seen.insert(line.name);
        lines << CodePage::toUnicode(rawName(line) + '=' + valueOf(line));
    }
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
        const QByteArray& t = m_lines[at - 1].text;
        const auto [b, e] = trimmedBounds(t, 0, t.size());
        if (b != e) break;
        --at;
    }
    return at;
}

void TIniFile::insertLine(qsizetype at, QByteArray text) {
    if (at > 0 && m_lines[at - 1].end.isEmpty()) m_lines[at - 1].end = m_newLine;
    const bool inSection = true;
    Line line = makeLine(std::move(text), m_newLine, inSection);
    m_lines.insert(m_lines.begin() + at, std::move(line));
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
        Line& line = m_lines[at];
        line.text = line.text.left(line.valueStart) + valueText;
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
        m_lines.erase(m_lines.begin() + range.header, m_lines.begin() + range.end);
        erased = true;
    }
    if (erased) save();
}

void TIniFile::save() {
    const auto refuse = [this] {
        // The kept lines no longer match the file: read it again next time.
        m_loaded = false;
        throw EIniFileError(
            formatText(i18n("Unable to write to %s"), {QDir::toNativeSeparators(m_fileName)}));
    };
    // A file that exists but could not be read would lose everything it holds.
    if (m_unreadable) refuse();
    qsizetype total = 0;
    for (const Line& line : m_lines)
        total += line.text.size() + line.end.size();
    QByteArray bytes;
    bytes.reserve(total);
    for (const Line& line : m_lines) {
        bytes += line.text;
        bytes += line.end;
    }
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) refuse();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        refuse();
    }
    if (!file.commit()) refuse();
    m_stamp = stamp();
}
