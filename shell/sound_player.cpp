#include "shell/sound_player.h"

#include <QSoundEffect>
#include <QUrl>

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

void SoundPlayer::Play(SoundClip clip)
{
    QSoundEffect*& effect = clips_[clip == SoundClip::CardMoved ? 0 : 1];
    // Made on first use, so a game that never plays a sound never opens the device.
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc:/clip%1.wav").arg(static_cast<int>(clip))));
    }
    for (QSoundEffect* playing : clips_) {
        if (playing)
            playing->stop();
    }
    effect->play();
}
