#pragma once

#include <cstddef>

inline constexpr std::size_t kStatusLineCapacity = 255;

// What the status strip shows; each text is zero-terminated.
struct StatusTexts {
    char statusLine1[kStatusLineCapacity + 1] = "Null Status";
    char statusLine2[kStatusLineCapacity + 1] = "Quiet";
    char pingText[32] = "";
    char pingWarning[kStatusLineCapacity + 1] = "";
};
