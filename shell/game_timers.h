#pragma once

#include "table/platform.h"

#include <QObject>
#include <QTimer>

struct Game;

// The timers of one copy of the game, each ticking into it; starting a
// running one restarts it, as the game expects.
class GameTimers : public QObject {
    Q_OBJECT
public:
    explicit GameTimers(Game& game);

    void Start(TimerId timer) { TimerFor(timer).start(); }
    void Stop(TimerId timer) { TimerFor(timer).stop(); }

private:
    QTimer& TimerFor(TimerId timer) { return timers_[static_cast<int>(timer) - 1]; }

    QTimer timers_[kTimerCount];  // by TimerId, from 1
};
