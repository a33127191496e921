#include "platform/ui/SoundPlayer.h"

#include "platform/Errors.h"
#include "platform/PrivateFolder.h"
#include "platform/RegularFile.h"

#include <QMetaObject>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::fileName() const {
    QMutexLocker lock(&m_nameLock);
    return m_fileName;
}

void SoundPlayer::setFileName(const QString& fileName) {
    QMutexLocker lock(&m_nameLock);
    m_fileName = fileName;
}

void SoundPlayer::play() {
    const QString name = fileName();
    if (QThread::currentThread() == thread()) {
        playNow(name);
        return;
    }
    // The game's play thread sounds its events too; the effect belongs to the GUI thread.
    QMetaObject::invokeMethod(this, "playNow", Qt::QueuedConnection, Q_ARG(QString, name));
}

void SoundPlayer::prepare(const QStringList& fileNames) {
    for (const QString& name : fileNames) {
        QSoundEffect* effect = effectFor(name);
        if (effect && !m_outputOpened) openOutput(effect);
    }
}

void SoundPlayer::openOutput(QSoundEffect* effect) {
    // The first sound the audio library starts also sets up its stream to the sound server;
    // one silent play as soon as the file is read does that now.
    m_outputOpened = true;
    effect->setMuted(true);
    if (playSilently(effect)) return;
    m_whenLoaded = connect(effect, &QSoundEffect::statusChanged, this, [this, effect] {
        if (playSilently(effect)) disconnect(m_whenLoaded);
    });
}

bool SoundPlayer::playSilently(QSoundEffect* effect) {
    if (effect->status() != QSoundEffect::Ready) return false;
    // A real play() of this effect may have come first; it has unmuted it.
    if (effect->isMuted()) effect->play();
    return true;
}

QStringList SoundPlayer::loadedFiles() const {
    QStringList names = m_effects.keys();
    names.sort();
    return names;
}

QSoundEffect* SoundPlayer::effectFor(const QString& fileName) {
    if (QSoundEffect* effect = m_effects.value(fileName)) return effect;
    const QString copy = privateCopy(fileName);
    if (copy.isEmpty()) return nullptr;
    // The file is read on a thread of the multimedia library, which connects to the sound
    // server once it has been read.
    auto* effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(copy));
    m_effects.insert(fileName, effect);
    return effect;
}

QString SoundPlayer::privateCopy(const QString& fileName) {
    // The multimedia library opens and reads the file itself: it would wait for good on a pipe and
    // read a device or a huge file into memory. The file is read through the reader instead (a
    // regular file of at most MaxSoundFileSize bytes) and the library gets a copy of it in a
    // folder of the player's own. Anything else (a missing name, the media folder itself when the
    // name is empty) stays silent.
    if (!m_copies) m_copies = std::make_unique<PrivateFolder>();
    if (!m_copies->isValid()) return QString();
    try {
        const QByteArray bytes = RegularFile::read(fileName, MaxSoundFileSize);
        const QString copy = m_copies->filePath(QString::number(m_effects.size()) + QStringLiteral(".wav"));
        return RegularFile::write(copy, bytes) ? copy : QString();
    } catch (const QuorvelError&) {
        return QString();
    }
}

void SoundPlayer::playNow(const QString& fileName) {
    ++m_playCount;
    m_lastPlayed = fileName;
    if (m_current) m_current->stop();
    m_current = effectFor(fileName);
    if (!m_current) return;
    if (m_current->isMuted()) {
        m_current->stop();
        m_current->setMuted(false);
    }
    m_current->play();
}
