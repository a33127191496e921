#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QSoundEffect;
class PrivateFolder;

// Plays WAV files asynchronously, one at a time: a sound started while another plays takes
// its place. play() returns at once and may be called from any thread; the sound itself is
// started on the thread that owns the player (the GUI thread). A missing file or a machine
// without an audio device stays silent and harmless.
class SoundPlayer final : public QObject {
    Q_OBJECT
public:
    // The largest sound file played: some minutes of sound, far beyond a sound of the program.
    static constexpr qint64 MaxSoundFileSize = 16 * 1024 * 1024;

    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    QString fileName() const;
    void setFileName(const QString& fileName);
    // Plays fileName(); the result is never looked at.
    void play();
    // Loads these files and opens the audio output ahead of their first play(), which then
    // starts at once instead of reading the file and connecting to the sound server first.
    // Missing files are skipped. Called on the player's own thread.
    void prepare(const QStringList& fileNames);
    // The files loaded so far, sorted.
    QStringList loadedFiles() const;

    // What the player has been asked to sound so far, for those who watch it.
    int playCount() const { return m_playCount; }
    QString lastPlayed() const { return m_lastPlayed; }

private slots:
    void playNow(const QString& fileName);

private:
    QSoundEffect* effectFor(const QString& fileName);
    QString privateCopy(const QString& fileName);
    void openOutput(QSoundEffect* effect);
    bool playSilently(QSoundEffect* effect);

    mutable QMutex m_nameLock; // the name is set from the game's thread as well
    QString m_fileName;
    // One loaded effect per file, made by prepare() or on first use.
    QHash<QString, QSoundEffect*> m_effects;
    std::unique_ptr<PrivateFolder> m_copies; // what the effects play: copies of the files
    QSoundEffect* m_current = nullptr;
    bool m_outputOpened = false;
    QMetaObject::Connection m_whenLoaded;
    int m_playCount = 0;
    QString m_lastPlayed;
};
