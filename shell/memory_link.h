#pragma once

#include "net/wire.h"

#include <QObject>

#include <cstdint>
#include <deque>

struct Link;

// Two copies of the game in one process, joined as a connection joins them:
// what one end sends waits at the other, whose receive path then runs from the
// event loop, never from inside the sender, as a socket's read event would.
class MemoryLink : public QObject {
    Q_OBJECT
public:
    MemoryLink(Link& first, Link& second);

    Wire& FirstEnd() { return ends_[0]; }
    Wire& SecondEnd() { return ends_[1]; }

private:
    class End : public Wire {
    public:
        MemoryLink* link = nullptr;
        Link* copy = nullptr;
        End* peer = nullptr;
        std::deque<std::uint8_t> inbox;

        bool IsOpen() const override { return true; }
        void Send(const std::uint8_t* bytes, int count) override;
        int Receive(std::uint8_t* into, int capacity) override;
    };

    End ends_[2];
};
