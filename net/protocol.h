#pragma once

#include <cstdint>

struct Link;

// Sends one whole message on the data connection and logs it on the strip.
void NetSend(Link& link, const std::uint8_t* bytes, int count);

// Reads what waits on the data connection and hands every complete message
// to its handler, in order of arrival.
void NetReceive(Link& link);

// The data connection was replaced: what is held of the old one is dropped.
void ForgetHeldBytes(Link& link);
