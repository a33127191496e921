#pragma once

#include "platform/IniLines.h"
#include "platform/RegularFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <sys/stat.h>
#include <vector>

// An ini file of sections and key=value lines, in the Windows-1252 code page.
//
// Reading: a missing file, section or key gives the default; names match without regard to
// letter case; of duplicate sections or keys the first counts; blanks around names and values
// are ignored; lines that are neither a section header nor a key line (comments, junk) are
// kept as they are but never read. Whatever bytes the file holds, reading gives values or
// defaults; something that is not a regular file (a pipe, a socket, a device), and a file of
// more than MaxFileSize bytes, reads as an empty file, at once, and is never written over. A
// read waits, for at most RegularFile::UpdateLockWait, for a save of another program that is
// under way (RegularFile::readShared); a read that finds the file's stamp unchanged does not
// look at the file further and takes no lock.
//
// Writing: each write locks the file, reads its current content under the lock, makes its
// change and puts the whole new text in place of the file at once (see RegularFile::Update),
// so that programs writing one file at the same time never undo each other's changes. A crash
// or kill never leaves a half-written file, and the old file stays intact when the write fails
// (a full disk, a file that may not be written, a lock another program holds for more than a
// few seconds, a new text of more than MaxFileSize bytes). Where the folder may not be written
// but the file may, where the file has a second hard link, or where a new file could not keep
// everything of the old one that decides who may use it (owner, group, mode, ACL, extended
// attributes), the file is written in place; a kill between two system calls then leaves the
// old or the new text, perhaps followed by blank lines. A new key goes at the end of its
// section, a new section at the end of the file; everything else keeps its bytes, line ends
// included. WriteSectionValues writes many keys of a section with one file write. A refused
// write raises EIniFileError "Unable to write to <path>", followed by the reason where it is
// the file's size or the reader's refusal of the file.
//
// Each write is in the file before the call returns. Forcing it to the storage device costs a
// device flush, so that happens once, when the object is released (or on UpdateFile). Until
// then a power failure still leaves the old or the new text on ext4, which writes the data of a
// file that replaces another by rename before the rename itself.
//
// The file is read once and kept as one buffer with the offsets of its section headers; the
// lines of a section are looked at only when that section is read or written, which keeps a
// file of many sections cheap to hold. A read reads the file again when its inode, size or
// times show that another writer has changed it since; a write always does.
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
    // Writes each "key=value" line (the key is the text before the first "=") into the section
    // as WriteString would, in list order, and puts the result in the file with one write: the
    // file then holds all of the lines or, when the write is refused, none.
    void WriteSectionValues(const QString& section, const QStringList& lines);

    // Section names in file order, each once.
    QStringList ReadSections();
    // Key names of a section in file order, each once.
    QStringList ReadSection(const QString& section);
    // The section's lines as "key=value" in file order, each key once with its first value.
    QStringList ReadSectionValues(const QString& section);
    // The same of the named keys only: a reader that knows its keys holds no more than those,
    // however many other lines the section has.
    QStringList ReadSectionValues(const QString& section, const QStringList& keys);

    bool SectionExists(const QString& section);
    bool ValueExists(const QString& section, const QString& key);

    // Removes every section of that name with all its lines. Nothing happens (and nothing is
    // written) when there is none.
    void EraseSection(const QString& section);

    // Forces what this object wrote to the storage device. Errors are not reported: every
    // write has already reached the file.
    void UpdateFile();

    // Why the file, present in the folder, was read as empty (it is no regular file, may not be
    // read, or is larger than MaxFileSize); empty when it was read or is missing.
    QString ReadProblem();

    static constexpr int MaxValueLength = 2047;
    // A larger file reads as an empty one and is never written over, and no write makes one.
    // At this size even a file of a million tiny sections or keys is listed and read within a
    // few seconds.
    static constexpr qint64 MaxFileSize = 8 * 1024 * 1024;

private:
    // A section runs from its header line to the next header or the end of the file.
    struct Section {
        qsizetype start = 0; // of its header line, in m_bytes
        QString name;        // folded
    };
    struct FileStamp {
        bool exists = false;
        uint64_t device = 0, inode = 0;
        int64_t size = 0, mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };
    using KeyValues = std::vector<std::pair<QByteArray, QByteArray>>;

    void refresh();
    void parse();
    void indexSections(qsizetype from, qsizetype to, std::vector<Section>& out) const;
    FileStamp stamp() const;
    static FileStamp stampOf(const struct stat& st);
    qsizetype findSection(const QString& folded) const;
    qsizetype sectionEnd(qsizetype index) const;
    QByteArrayView sectionText(qsizetype index) const;
    std::vector<IniLines::Line> firstKeyLines(qsizetype index) const;
    bool findKey(qsizetype index, const QString& folded, IniLines::Line& found) const;
    void clear();
    void readForChange(RegularFile::Update& update);
    [[noreturn]] void refused(const QString& reason = QString()) const;
    QString readRefusal() const;
    void writeValues(const QString& section, const KeyValues& values);
    void save(RegularFile::Update& update);

    QString m_fileName;
    QByteArray m_bytes;              // the whole file
    std::vector<Section> m_sections; // in file order
    QByteArray m_newLine = "\r\n";
    FileStamp m_stamp;
    bool m_loaded = false;
    bool m_unflushed = false; // written since the last device flush
    bool m_readRefused = false; // present, but read as empty
};
