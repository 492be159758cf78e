#include "shell/connection.h"

#include "net/link.h"
#include "net/protocol.h"
#include "net/status.h"
#include "shell/server_address.h"
#include "table/game.h"
#include "table/hand_flow.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTcpServer>
#include <QTcpSocket>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

#include <cstdio>
#include <utility>

namespace {

constexpr int kListenBacklog = 100;
constexpr int kConnectTimeoutMs = 10000;
// Enough for every message many times over; beyond it TCP holds the peer back.
constexpr qint64 kReadBufferBytes = 4096;
// Bytes of ours left unread: a peer that is playing reads them long before this many pile up.
constexpr qint64 kMostUnsentBytes = 65536;

}  // namespace

Connection::Connection(Link& link, std::uint16_t port, QObject* parent)
    : QObject(parent), link_(link), game_(link.game), port_(port)
{
    incompleteTimer_.setSingleShot(true);
    connect(&incompleteTimer_, &QTimer::timeout, this, [this] {
        if (dataSocket_)
            dataSocket_->abort();
    });
}

Connection::~Connection()
{
    Teardown();
}

void Connection::HostGame()
{
    link_.status.pingWarning[0] = '\0';
    TakeRole(game_, Role::Server);
    listenSocket_ = new QTcpServer(this);
    listenSocket_->setListenBacklogSize(kListenBacklog);
    connect(listenSocket_, &QTcpServer::newConnection, this, &Connection::AcceptClient);
    const bool listening = listenSocket_->listen(QHostAddress::AnyIPv4, port_);
    char line[64];
    std::snprintf(line, sizeof line, "Server listening on port %d", port_);
    SetStatus(link_, line, nullptr);
    // Line 1 reads as it always has; the red text says why nobody can connect
    // (the port is taken, or below 1024 without the privilege). The copy stays
    // free to host again, join or practise.
    if (!listening) {
        delete std::exchange(listenSocket_, nullptr);
        TakeRole(game_, Role::Client);
        std::snprintf(link_.status.pingWarning, sizeof link_.status.pingWarning, "Cannot listen on port %d", port_);
        game_.platform.Show(ViewPart::StatusLines);
        return;
    }
    emit hosting();
    ShowLocalAddress();
}

void Connection::ShowLocalAddress()
{
    const QString name = QHostInfo::localHostName();
    if (name.isEmpty())
        return;
    for (const QHostAddress& address : QHostInfo::fromName(name).addresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol)
            continue;
        const std::string line =
            "Server Name: " + name.toStdString() + "    IP Address: " + DottedAddress(address.toIPv4Address());
        SetStatus(link_, nullptr, line.c_str());
        return;
    }
}

void Connection::AcceptClient()
{
    while (QTcpSocket* socket = listenSocket_->nextPendingConnection()) {
        // The old peer may have closed in the same moment, its close still
        // unread behind its last bytes; reading without the event loop lets
        // its socket see it now, before the newcomer is judged.
        for (int pass = 0; pass < 8 && dataSocket_ && dataSocket_->waitForReadyRead(0); ++pass) {}
        // Its close, still queued, would come too late for the seat to be free.
        if (dataSocket_ && dataSocket_->state() != QAbstractSocket::ConnectedState) {
            dataSocket_->disconnect(this);
            dataSocket_->deleteLater();
            dataSocket_ = nullptr;
            OnOpponentLeft(game_);
        }
        if (!AcceptOpponent(game_)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (dataSocket_)
            dataSocket_->deleteLater();
        ForgetHeldBytes(link_);
        AdoptDataSocket(socket);
        const std::string line =
            "Accepted Client " + DottedAddress(socket->peerAddress().toIPv4Address()) + " on port " + std::to_string(port_);
        SetStatus(link_, line.c_str(), " ");
        emit clientAccepted();
    }
}

void Connection::JoinGame(const std::string& serverName)
{
    if (listenSocket_) {
        emit failed(BoxOwner::StatusWindow, "Initiated as Server", BoxIcon::None);
        return;
    }
    link_.status.pingWarning[0] = '\0';  // a failed host's warning
    game_.platform.Show(ViewPart::StatusLines);
    const auto address = ResolveServerAddress(serverName);
    if (!address) {
        emit failed(BoxOwner::StatusWindow, "Client unable to find to Server", BoxIcon::None);
        return;
    }
    auto* socket = new QTcpSocket(this);
    // Blocks, as a connect does: the dialog stays up until it is settled.
    socket->connectToHost(QHostAddress(*address), port_);
    if (!socket->waitForConnected(kConnectTimeoutMs)) {
        emit failed(BoxOwner::StatusWindow, "Client unable to connect to Server", BoxIcon::None);
        delete socket;
        return;
    }
    AdoptDataSocket(socket);
    const std::string line = "Connected to Server " + serverName + " on port " + std::to_string(port_);
    SetStatus(link_, line.c_str(), "");
    emit joined();
    JoinedServer(game_);
}

void Connection::AdoptDataSocket(QTcpSocket* socket)
{
    dataSocket_ = socket;
    incompleteTimer_.stop();
    // Nagle's algorithm stays on, as both copies have always had it.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 0);
    socket->setReadBufferSize(kReadBufferBytes);
    // A peer whose machine vanished frees the seat in about half a minute, in
    // a hand (unanswered data) or between hands (unanswered probes); a peer
    // that is only thinking answers the probes from its kernel.
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    const int fd = static_cast<int>(socket->socketDescriptor());
    for (const auto& [option, value] :
         {std::pair{TCP_KEEPIDLE, 10}, {TCP_KEEPINTVL, 5}, {TCP_KEEPCNT, 3}, {TCP_USER_TIMEOUT, 30000}})
        setsockopt(fd, IPPROTO_TCP, option, &value, sizeof value);
#endif
    // Both queued: a socket must not be inside its own signal if a new client
    // replaces (and deletes) it meanwhile. The receive path reads whatever is
    // waiting, so a late call loses nothing.
    connect(
        socket, &QTcpSocket::readyRead, this,
        [this] {
            NetReceive(link_);
            WatchHeldBytes();
        },
        Qt::QueuedConnection);
    connect(
        socket, &QTcpSocket::disconnected, this,
        [this, socket] {
            if (socket == dataSocket_)
                OnDisconnect();
        },
        Qt::QueuedConnection);
}

// A message left incomplete for the whole limit is a broken peer's. The clock
// starts again only when a message has completed, not for each byte.
void Connection::WatchHeldBytes()
{
    const Reassembly& held = link_.reassembly;
    if (held.heldCount == 0) {
        incompleteTimer_.stop();
        return;
    }
    if (!incompleteTimer_.isActive() || held.completed != completedAtStart_) {
        completedAtStart_ = held.completed;
        incompleteTimer_.start(incompleteLimit_);
    }
}

void Connection::OnDisconnect()
{
    SetStatus(link_, "Disconnected", nullptr);
    OnOpponentLeft(game_);
    ForgetHeldBytes(link_);
    game_.platform.Show(ViewPart::StatusLines);
    emit failed(BoxOwner::MainWindow, "Your Connection with your Opponent\n     has been disconnected", BoxIcon::Stop);
}

// A connection the peer has closed still counts as made; what is sent on it is
// lost without a word, as the peer is gone.
void Connection::Send(const std::uint8_t* bytes, int count)
{
    if (!dataSocket_ || !dataSocket_->isOpen())
        return;
    dataSocket_->write(reinterpret_cast<const char*>(bytes), count);
    dataSocket_->flush();
    // Not playing: dropped, and its close handled as any other.
    if (dataSocket_->bytesToWrite() > kMostUnsentBytes)
        dataSocket_->abort();
}

int Connection::Receive(std::uint8_t* into, int capacity)
{
    if (!dataSocket_ || !dataSocket_->isOpen())
        return 0;
    return static_cast<int>(dataSocket_->read(reinterpret_cast<char*>(into), capacity));
}

void Connection::Teardown()
{
    if (dataSocket_) {
        dataSocket_->disconnect(this);
        dataSocket_->close();
    }
    if (listenSocket_)
        listenSocket_->close();
}
