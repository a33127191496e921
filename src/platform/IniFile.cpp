#include "platform/IniFile.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/IniSectionEditor.h"
#include "platform/RegularFile.h"
#include "platform/StrictInt.h"
#include "platform/Translation.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <cerrno>

using IniLines::Kind;
using IniLines::Line;

namespace {

// A line end inside a name or value would split the line and could forge other keys.
QByteArray toFileText(const QString& text) {
    QByteArray bytes = CodePage::fromUnicode(text);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QByteArray toFileName(const QString& name) {
    const QByteArray bytes = toFileText(name);
    qsizetype b = 0, e = bytes.size();
    while (b < e && (bytes[b] == ' ' || bytes[b] == '\t'))
        ++b;
    while (e > b && (bytes[e - 1] == ' ' || bytes[e - 1] == '\t'))
        --e;
    return bytes.sliced(b, e - b);
}

// A caller's name as it will match the file: through the code page, so that a character
// without a code matches the '?' that was written for it.
QString lookupName(const QString& name) {
    return IniLines::folded(toFileName(name));
}

} // namespace

TIniFile::TIniFile(QString fileName) : m_fileName(std::move(fileName)) {}

TIniFile::~TIniFile() {
    UpdateFile();
}

void TIniFile::UpdateFile() {
    if (!m_unflushed) return;
    m_unflushed = false;
    RegularFile::sync(m_fileName);
}

TIniFile::FileStamp TIniFile::stamp() const {
    struct stat st;
    if (::stat(QFile::encodeName(m_fileName).constData(), &st) != 0) return FileStamp();
    return stampOf(st);
}

TIniFile::FileStamp TIniFile::stampOf(const struct stat& st) {
    FileStamp s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    s.ctimeSec = st.st_ctim.tv_sec;
    s.ctimeNsec = st.st_ctim.tv_nsec;
    return s;
}

void TIniFile::refresh() {
    const FileStamp now = stamp();
    if (m_loaded && now == m_stamp) return;
    // The old text goes first: a large file is never held twice.
    clear();
    struct stat info;
    const RegularFile::ReadResult read = RegularFile::readShared(m_fileName, m_bytes, info, MaxFileSize);
    parse();
    // The file that was read, which may be newer than the one looked at before.
    m_stamp = read == RegularFile::ReadResult::Read ? stampOf(info) : now;
    m_readRefused = read == RegularFile::ReadResult::NotReadable || read == RegularFile::ReadResult::TooLarge;
    m_loaded = true;
}

QString TIniFile::ReadProblem() {
    refresh();
    return m_readRefused ? readRefusal() : QString();
}

// The reader's own words: it looks at the file again but reads nothing of one it refuses. A
// missing file is no reader's problem.
QString TIniFile::readRefusal() const {
    struct stat st;
    if (::stat(QFile::encodeName(m_fileName).constData(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return QString();
    try {
        RegularFile::read(m_fileName, MaxFileSize);
    } catch (const EInOutError& e) {
        return e.message();
    }
    return QString();
}

void TIniFile::clear() {
    m_bytes.clear();
    m_sections.clear();
    m_loaded = false;
}

// What another program wrote is never undone: each change starts from the file's content as it
// is under the lock, whatever the stamp says. Content equal to the kept text keeps its index.
void TIniFile::readForChange(RegularFile::Update& update) {
    QByteArray current;
    struct stat info;
    if (!update.held() || update.read(current, info, MaxFileSize) != RegularFile::ReadResult::Read) {
        clear();
        refused(readRefusal());
    }
    if (!m_loaded || current != m_bytes) {
        clear();
        m_bytes = std::move(current);
        parse();
    }
    m_stamp = stampOf(info);
    m_loaded = true;
    m_readRefused = false;
}

void TIniFile::refused(const QString& reason) const {
    QString message = formatText(i18n("Unable to write to %s"), {QDir::toNativeSeparators(m_fileName)});
    if (!reason.isEmpty()) message += QStringLiteral(". ") + reason;
    throw EIniFileError(message);
}

void TIniFile::parse() {
    m_newLine = "\r\n";
    uint8_t endLength = 0;
    const qsizetype end = IniLines::EndFinder(m_bytes).next(0, endLength);
    if (endLength > 0) m_newLine = m_bytes.mid(end, endLength);
    indexSections(0, m_bytes.size(), m_sections);
}

// Appends the sections whose headers lie between from (the start of a line) and to.
void TIniFile::indexSections(qsizetype from, qsizetype to, std::vector<Section>& out) const {
    const QByteArrayView bytes = QByteArrayView(m_bytes).first(to);
    IniLines::EndFinder ends(bytes);
    for (qsizetype start = from; start < to;) {
        qsizetype first = start;
        while (first < to && (bytes[first] == ' ' || bytes[first] == '\t'))
            ++first;
        uint8_t endLength = 0;
        const qsizetype end = ends.next(first, endLength);
        if (first < end && bytes[first] == '[') {
            Line header;
            header.start = start;
            header.length = end - start;
            header.kind = Kind::Section;
            out.push_back({start, IniLines::folded(IniLines::name(bytes, header))});
        }
        start = end + endLength;
    }
}

qsizetype TIniFile::findSection(const QString& folded) const {
    for (qsizetype i = 0; i < qsizetype(m_sections.size()); ++i) {
        if (m_sections[i].name == folded) return i;
    }
    return -1;
}

qsizetype TIniFile::sectionEnd(qsizetype index) const {
    return index + 1 < qsizetype(m_sections.size()) ? m_sections[index + 1].start : m_bytes.size();
}

QByteArrayView TIniFile::sectionText(qsizetype index) const {
    const qsizetype start = m_sections[index].start;
    return QByteArrayView(m_bytes).sliced(start, sectionEnd(index) - start);
}

// The key lines of a section that count: the first of each name, in file order, with offsets
// from the section's start.
std::vector<Line> TIniFile::firstKeyLines(qsizetype index) const {
    std::vector<Line> keys;
    if (index < 0) return keys;
    const QByteArrayView text = sectionText(index);
    const std::vector<Line> lines = IniLines::split(text);
    QSet<QString> seen;
    seen.reserve(qsizetype(lines.size()));
    for (const Line& line : lines) {
        if (line.kind != Kind::Key) continue;
        const QString folded = IniLines::folded(IniLines::name(text, line));
        if (seen.contains(folded)) continue;
        seen.insert(folded);
        keys.push_back(line);
    }
    return keys;
}

bool TIniFile::findKey(qsizetype index, const QString& folded, Line& found) const {
    if (index < 0) return false;
    const QByteArrayView text = sectionText(index);
    for (const Line& line : IniLines::split(text)) {
        if (line.kind == Kind::Key && IniLines::foldedEquals(IniLines::nameView(text, line), folded)) {
            found = line;
            return true;
        }
    }
    return false;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) {
    refresh();
    Line line;
    const qsizetype index = findSection(lookupName(section));
    if (!findKey(index, lookupName(key), line)) return defaultValue;
    QByteArray value = IniLines::value(sectionText(index), line);
    value.truncate(MaxValueLength);
    return CodePage::toUnicode(value);
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
    // Growing a set of millions of names one by one costs more than the names themselves.
    seen.reserve(qsizetype(m_sections.size()));
    for (qsizetype i = 0; i < qsizetype(m_sections.size()); ++i) {
        if (seen.contains(m_sections[i].name)) continue;
        seen.insert(m_sections[i].name);
        const QByteArrayView text = sectionText(i);
        Line header;
        header.length = IniLines::EndFinder(text).next(0, header.endLength);
        header.kind = Kind::Section;
        names << CodePage::toUnicode(IniLines::name(text, header));
    }
    return names;
}

QStringList TIniFile::ReadSection(const QString& section) {
    refresh();
    const qsizetype index = findSection(lookupName(section));
    QStringList keys;
    for (const Line& line : firstKeyLines(index))
        keys << CodePage::toUnicode(IniLines::name(sectionText(index), line));
    return keys;
}

QStringList TIniFile::ReadSectionValues(const QString& section) {
    refresh();
    const qsizetype index = findSection(lookupName(section));
    QStringList lines;
    for (const Line& line : firstKeyLines(index)) {
        const QByteArrayView text = sectionText(index);
        QByteArray value = IniLines::value(text, line);
        value.truncate(MaxValueLength);
        lines << CodePage::toUnicode(IniLines::name(text, line) + '=' + value);
    }
    return lines;
}

QStringList TIniFile::ReadSectionValues(const QString& section, const QStringList& keys) {
    refresh();
    const qsizetype index = findSection(lookupName(section));
    QStringList lines;
    if (index < 0) return lines;
    std::vector<QString> wanted;
    for (const QString& key : keys)
        wanted.push_back(lookupName(key));
    std::vector<bool> found(wanted.size());
    const QByteArrayView text = sectionText(index);
    IniLines::EndFinder ends(text);
    for (qsizetype start = 0; start < text.size();) {
        Line line;
        line.start = start;
        line.length = ends.next(start, line.endLength) - start;
        start += line.length + line.endLength;
        IniLines::classify(text, line);
        if (line.kind != Kind::Key) continue;
        const QByteArrayView name = IniLines::nameView(text, line);
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (found[i] || !IniLines::foldedEquals(name, wanted[i])) continue;
            found[i] = true;
            QByteArray value = IniLines::value(text, line);
            value.truncate(MaxValueLength);
            lines << CodePage::toUnicode(name.toByteArray() + '=' + value);
            break;
        }
    }
    return lines;
}

bool TIniFile::SectionExists(const QString& section) {
    refresh();
    return findSection(lookupName(section)) >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) {
    refresh();
    Line line;
    return findKey(findSection(lookupName(section)), lookupName(key), line);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    writeValues(section, {{toFileName(key), toFileText(value)}});
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteSectionValues(const QString& section, const QStringList& lines) {
    KeyValues values;
    values.reserve(size_t(lines.size()));
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        values.emplace_back(toFileName(eq < 0 ? line : line.left(eq)),
                            toFileText(eq < 0 ? QString() : line.mid(eq + 1)));
    }
    writeValues(section, values);
}

// The section's text is edited on its own and then put back in place of the old text, so a
// write costs one splice of the file's buffer however many keys it carries.
void TIniFile::writeValues(const QString& section, const KeyValues& values) {
    if (values.empty()) return;
    RegularFile::Update update(m_fileName, true);
    readForChange(update);
    const QByteArray sectionName = toFileName(section);
    const qsizetype index = findSection(IniLines::folded(sectionName));
    qsizetype start = m_bytes.size();
    qsizetype end = start;
    QByteArray text;
    if (index >= 0) {
        start = m_sections[index].start;
        end = sectionEnd(index);
        text = m_bytes.sliced(start, end - start);
    } else {
        // Only the last line of a file can lack its end; a section after it needs one.
        if (!m_bytes.isEmpty() && !m_bytes.endsWith('\r') && !m_bytes.endsWith('\n')) m_bytes += m_newLine;
        start = end = m_bytes.size();
        text = '[' + sectionName + ']' + m_newLine;
    }
    IniSectionEditor editor(std::move(text), m_newLine);
    for (const auto& [key, value] : values)
        editor.write(key, value);

    m_bytes.replace(start, end - start, editor.text());
    // The section's entry is made afresh from the new text, which may hold more than one header
    // (a key written with a name that begins with "[").
    std::vector<Section> added;
    indexSections(start, start + editor.text().size(), added);
    const qsizetype delta = editor.text().size() - (end - start);
    auto at = m_sections.end();
    if (index >= 0) {
        at = m_sections.erase(m_sections.begin() + index);
        for (auto it = at; it != m_sections.end(); ++it)
            it->start += delta;
    }
    m_sections.insert(at, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    save(update);
}

void TIniFile::EraseSection(const QString& section) {
    RegularFile::Update update(m_fileName, false);
    // No file, no section: nothing to write.
    if (update.missing()) {
        clear();
        return;
    }
    readForChange(update);
    const QString folded = lookupName(section);
    bool erased = false;
    // From the last to the first, so the offsets still to be used stay valid.
    for (qsizetype i = qsizetype(m_sections.size()) - 1; i >= 0; --i) {
        if (m_sections[i].name != folded) continue;
        const qsizetype start = m_sections[i].start;
        const qsizetype length = sectionEnd(i) - start;
        m_bytes.remove(start, length);
        m_sections.erase(m_sections.begin() + i);
        for (auto it = m_sections.begin() + i; it != m_sections.end(); ++it)
            it->start -= length;
        erased = true;
    }
    if (erased) save(update);
}

void TIniFile::save(RegularFile::Update& update) {
    // A file the reader would refuse is never written: it would lock everyone out of its data.
    if (m_bytes.size() > MaxFileSize) {
        const qint64 size = m_bytes.size();
        clear();
        refused(RegularFile::tooLargeMessage(m_fileName, size, MaxFileSize));
    }
    struct stat written;
    if (!update.write(m_bytes, written, m_newLine)) {
        // The kept text no longer matches the file: read it again next time.
        clear();
        refused();
    }
    m_stamp = stampOf(written);
    m_unflushed = true;
}
