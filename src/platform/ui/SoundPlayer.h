#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>

class QSoundEffect;

// Plays WAV files asynchronously, one at a time: a sound started while another plays takes
// its place. play() returns at once and may be called from any thread; the sound itself is
// started on the thread that owns the player (the GUI thread). A missing file or a machine
// without an audio device stays silent and harmless.
class SoundPlayer final : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    QString fileName() const;
    void setFileName(const QString& fileName);
    // Plays fileName(); the result is never looked at.
    void play();

    // What the player has been asked to sound so far, for those who watch it.
    int playCount() const { return m_playCount; }
    QString lastPlayed() const { return m_lastPlayed; }

private slots:
    void playNow(const QString& fileName);

private:
    mutable QMutex m_nameLock; // the name is set from the game's thread as well
    QString m_fileName;
    // One loaded effect per file, made on first use, so nothing is read before it is needed.
    QHash<QString, QSoundEffect*> m_effects;
    QSoundEffect* m_current = nullptr;
    int m_playCount = 0;
    QString m_lastPlayed;
};
