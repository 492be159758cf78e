#pragma once

#include "net/wire.h"
#include "shell/message_boxes.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <string>

class QTcpServer;
class QTcpSocket;
struct Game;
struct Link;

inline constexpr std::uint16_t kGamePort = 418;

// The one TCP connection between the two copies: hosting, joining, taking up
// a client and noticing when the peer goes.
class Connection : public QObject, public Wire {
    Q_OBJECT
public:
    // Tests pass a port of their own; the program always plays on 418.
    explicit Connection(Link& link, std::uint16_t port = kGamePort, QObject* parent = nullptr);
    ~Connection() override;

    void HostGame();
    void JoinGame(const std::string& serverName);
    void Teardown();

    bool HasDataConnection() const { return dataSocket_ != nullptr; }
    bool IsOpen() const override { return HasDataConnection(); }
    bool Hosting() const { return listenSocket_ != nullptr; }
    void Send(const std::uint8_t* bytes, int count) override;
    int Receive(std::uint8_t* into, int capacity) override;
    // How long a message may stay incomplete before its sender counts as broken.
    void SetIncompleteLimit(std::chrono::milliseconds limit) { incompleteLimit_ = limit; }

signals:
    // Something the player is told in an error box.
    void failed(BoxOwner owner, const QString& text, BoxIcon icon);
    void hosting();
    void clientAccepted();
    void joined();

private:
    void AcceptClient();
    void AdoptDataSocket(QTcpSocket* socket);
    void ShowLocalAddress();
    void OnDisconnect();
    void WatchHeldBytes();

    Link& link_;
    Game& game_;
    std::uint16_t port_;
    QTcpServer* listenSocket_ = nullptr;
    QTcpSocket* dataSocket_ = nullptr;
    std::chrono::milliseconds incompleteLimit_{30000};
    QTimer incompleteTimer_;
    std::uint32_t completedAtStart_ = 0;
};
