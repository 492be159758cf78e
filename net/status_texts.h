#pragma once

#include <cstddef>

inline constexpr std::size_t kStatusLineCapacity = 255;

// What the status strip shows; each text is zero-terminated.
struct StatusTexts {
    char statusLine1[kStatusLineCapacity + 1] = "Null Status";
    char statusLine2[kStatusLineCapacity + 1] = "Quiet";
    char pingText[32] = "";
    // The red text on the right of line 2: a slow ping, or a port that cannot be had.
    char pingWarning[kStatusLineCapacity + 1] = "";
};
