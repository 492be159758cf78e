#pragma once

struct Link;

// Replaces the given status lines (nullptr keeps a line) and repaints the strip.
void SetStatus(Link& link, const char* line1, const char* line2);
