#include "shell/server_address.h"

#include <QHostAddress>
#include <QHostInfo>

#include <arpa/inet.h>

std::optional<std::uint32_t> ResolveServerAddress(const std::string& text)
{
    const in_addr_t parsed = inet_addr(text.c_str());
    if (parsed != INADDR_NONE)
        return ntohl(parsed);
    const QHostInfo entry = QHostInfo::fromName(QString::fromStdString(text));
    for (const QHostAddress& address : entry.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toIPv4Address();
    }
    return std::nullopt;
}

std::string DottedAddress(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.'
        + std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}
