#include "net/status.h"

#include "net/link.h"
#include "table/game.h"

#include <cstdio>

void SetStatus(Link& link, const char* line1, const char* line2)
{
    // Longer texts are cut to the line's capacity.
    if (line1)
        std::snprintf(link.status.statusLine1, sizeof link.status.statusLine1, "%s", line1);
    if (line2) {
        std::snprintf(link.status.statusLine2, sizeof link.status.statusLine2, "%s", line2);
        link.status.traffic = {};
    }
    link.game.platform.Show(ViewPart::StatusLines);
}

void ShowTraffic(Link& link, const Traffic& traffic)
{
    link.status.traffic = traffic;
    link.game.platform.Show(ViewPart::StatusLines);
}

std::string StatusLine2(const StatusTexts& texts)
{
    const Traffic& t = texts.traffic;
    if (t.bytes == 0)
        return texts.statusLine2;
    char line[64];
    if (t.received)
        std::snprintf(line, sizeof line, "Received %d bytes, TYPE: %d", t.bytes, t.type);
    else
        std::snprintf(line, sizeof line, "Sending %d bytes  TYPE: %d", t.bytes, t.type);
    return line;
}
