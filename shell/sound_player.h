#pragma once

#include "table/platform.h"

#include <QObject>

#include <array>

class QSoundEffect;

// The two click clips, played without waiting; a new clip cuts off the one
// playing. A machine without sound simply stays quiet.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);

    void Play(SoundClip clip);

private:
    std::array<QSoundEffect*, 2> clips_{};
};
