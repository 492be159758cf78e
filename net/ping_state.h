#pragma once

#include <chrono>

struct PingState {
    std::chrono::steady_clock::time_point pingStart{};
};
