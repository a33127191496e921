#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// An ini file of sections and key=value lines, in the Windows-1252 code page.
//
// Reading: a missing file, section or key gives the default; names match without regard to
// letter case; of duplicate sections or keys the first counts; blanks around names and values
// are ignored; lines that are neither a section header nor a key line (comments, junk) are
// kept as they are but never read. Whatever bytes the file holds, reading gives values or
// defaults.
//
// Writing: each write reaches the disk at once and replaces the file atomically (a temporary
// file in the same folder, flushed and renamed over the old one), so the old file stays intact
// when the write fails. A new key goes at the end of its section, a new section at the end of
// the file; everything else keeps its bytes, line ends included. A refused write raises
// EIniFileError "Unable to write to <path>".
//
// The file is parsed once and kept; when another writer has replaced it since, the next call
// parses it again, so several objects on one file do not undo each other's writes.
class TIniFile {
public:
    explicit TIniFile(QString fileName);

    const QString& FileName() const { return m_fileName; }

    // At most 2047 characters of the value.
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue);
    // Hexadecimal after "0x"/"0X", otherwise the strict integer conversion; the default when the
    // value is missing, empty or not a number.
    int ReadInteger(const QString& section, const QString& key, int defaultValue);
    // An integer that is not 0.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue);

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Section names in file order, each once.
    QStringList ReadSections();
    // Key names of a section in file order, each once.
    QStringList ReadSection(const QString& section);
    // The section's lines as "key=value" in file order, each key once with its first value.
    QStringList ReadSectionValues(const QString& section);

    bool SectionExists(const QString& section);
    bool ValueExists(const QString& section, const QString& key);

    // Removes every section of that name with all its lines. Nothing happens (and nothing is
    // written) when there is none.
    void EraseSection(const QString& section);

    static constexpr int MaxValueLength = 2047;

private:
    enum class Kind : uint8_t { Other, Section, Key };
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n", "\r" or empty for a last line without an end
        Kind kind = Kind::Other;
        QString name; // case-folded section or key name
        int valueStart = 0;
    };
    // Where a section lies: its header line and the line after its last line.
    struct Range {
        qsizetype header = -1;
        qsizetype end = -1;
        bool found() const { return header >= 0; }
    };
    struct FileStamp {
        bool exists = false;
        uint64_t device = 0, inode = 0;
        int64_t size = 0, mtimeSec = 0, mtimeNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };

    void refresh();
    void parse(const QByteArray& bytes);
    static Line makeLine(QByteArray text, QByteArray end, bool inSection);
    FileStamp stamp() const;
    Range findSection(const QString& folded) const;
    qsizetype findKey(const Range& range, const QString& folded) const;
    static QByteArray rawName(const Line& line);
    static QByteArray valueOf(const Line& line);
    qsizetype appendPoint(const Range& range) const;
    void insertLine(qsizetype at, QByteArray text);
    void save();

    QString m_fileName;
    std::vector<Line> m_lines;
    QByteArray m_newLine = "\r\n";
    FileStamp m_stamp;
    bool m_loaded = false;
    bool m_unreadable = false; // present but not readable: never overwritten
};
