#pragma once

#include <cstddef>
#include <string>

inline constexpr std::size_t kStatusLineCapacity = 255;

// The last message sent or received. Line 2 tells of it only once painted:
// most of the lines that many messages would make are never seen.
struct Traffic {
    bool received = false;
    int bytes = 0;  // 0: none since line 2 was last set
    int type = 0;

    friend bool operator==(const Traffic&, const Traffic&) = default;
};

// What the status strip shows; each text is zero-terminated.
struct StatusTexts {
    char statusLine1[kStatusLineCapacity + 1] = "Null Status";
    char statusLine2[kStatusLineCapacity + 1] = "Quiet";
    char pingText[32] = "";
    // The red text on the right of line 2: a slow ping, or a port that cannot be had.
    char pingWarning[kStatusLineCapacity + 1] = "";
    Traffic traffic;  // stands for line 2 while it holds a message
};

// Line 2 as the strip shows it.
std::string StatusLine2(const StatusTexts& texts);
