#include "shell/sound_player.h"

#include <QSoundEffect>
#include <QUrl>

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

void SoundPlayer::PlaySoundClip(unsigned index)
{
    if (index >= clips_.size())
        return;
    // Made on first use, so a game that never plays a sound never opens the device.
    if (!clips_[index]) {
        clips_[index] = new QSoundEffect(this);
        clips_[index]->setSource(QUrl(QStringLiteral("qrc:/clip%1.wav").arg(500 + index)));
    }
    for (QSoundEffect* clip : clips_) {
        if (clip)
            clip->stop();
    }
    clips_[index]->play();
}
