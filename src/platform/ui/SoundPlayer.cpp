#include "platform/ui/SoundPlayer.h"

#include <QFileInfo>
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

void SoundPlayer::playNow(const QString& fileName) {
    ++m_playCount;
    m_lastPlayed = fileName;
    if (m_current) m_current->stop();
    m_current = nullptr;
    // An empty name in media.ini leaves the media folder itself; only real files are tried.
    if (!QFileInfo(fileName).isFile()) return;
    QSoundEffect*& effect = m_effects[fileName];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(fileName));
    }
    m_current = effect;
    effect->play();
}
