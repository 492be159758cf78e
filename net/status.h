#pragma once

struct Link;
struct Traffic;

// Replaces the given status lines (nullptr keeps a line) and repaints the strip.
void SetStatus(Link& link, const char* line1, const char* line2);
// Line 2 tells of this message from now on.
void ShowTraffic(Link& link, const Traffic& traffic);
