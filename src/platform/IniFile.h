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
// Writing: each write replaces the file atomically: the whole new text goes into a new file
// beside it, which is then renamed over the old one, so a crash or kill never leaves a
// half-written file and the old file stays intact when the write fails (a full disk, a folder
// or a file that may not be written). A new key goes at the end of its section, a new section at the end
// of the file; everything else keeps its bytes, line ends included. A refused write raises
// EIniFileError "Unable to write to <path>".
//
// Each write is in the file before the call returns. Forcing it to the storage device costs a
// device flush, which would make a burst of writes (a profile is 37 keys) many times slower, so
// that happens once, when the object is released (or on UpdateFile). Until then a power failure
// still leaves the old or the new text on ext4, which writes the data of a file that replaces
// another by rename before the rename itself.
//
// The file is parsed once and kept as one buffer with line offsets, so a write costs a splice
// and one file write. When another writer has replaced the file since, the next call parses it
// again, so several objects on one file do not undo each other's writes.
class TIniFile {
public:
    explicit TIniFile(QString fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

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

    // Forces what this object wrote to the storage device. Errors are not reported: every
    // write has already reached the file.
    void UpdateFile();

    static constexpr int MaxValueLength = 2047;

private:
    enum class Kind : uint8_t { Other, Section, Key };
    struct Line {
        qsizetype start = 0;   // offset in m_bytes
        qsizetype length = 0;  // without the line end
        uint8_t endLength = 0; // 2 for CR LF, 1 for CR or LF, 0 for a last line without an end
        Kind kind = Kind::Other;
        qsizetype valueOffset = 0; // key lines: where the value starts, from the line's start
        QString name;              // section lines: the case-folded name
    };
    // Where a section lies: its header line and the line after its last line.
    struct Range {
        qsizetype header = -1;
        qsizetype end = -1;
        bool found() const { return header >= 0; }
    };
    struct FileStamp {
        bool exists = false;
        bool regular = false;
        uint64_t device = 0, inode = 0;
        int64_t size = 0, mtimeSec = 0, mtimeNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };

    void refresh();
    void parse();
    void classify(Line& line, bool inSection) const;
    FileStamp stamp() const;
    Range findSection(const QString& folded) const;
    qsizetype findKey(const Range& range, const QString& folded) const;
    QByteArray rawName(const Line& line) const;
    std::vector<const Line*> firstKeyLines(const QString& section);
    QByteArray valueOf(const Line& line) const;
    qsizetype appendPoint(const Range& range) const;
    void insertLine(qsizetype at, const QByteArray& text);
    void replaceValue(qsizetype at, const QByteArray& value);
    void eraseLines(qsizetype from, qsizetype to);
    void shiftLines(qsizetype from, qsizetype delta);
    void save();

    QString m_fileName;
    QByteArray m_bytes; // the whole file
    std::vector<Line> m_lines;
    QByteArray m_newLine = "\r\n";
    FileStamp m_stamp;
    bool m_loaded = false;
    bool m_unreadable = false; // present but not a readable file: never overwritten
    bool m_unflushed = false;  // written since the last device flush
};
