#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Dotted IPv4 text first, as inet_addr reads it; anything else (the
// all-ones address included) is looked up as a host name. The address is in
// host byte order.
std::optional<std::uint32_t> ResolveServerAddress(const std::string& text);

// "%d.%d.%d.%d" of an address in host byte order.
std::string DottedAddress(std::uint32_t address);
