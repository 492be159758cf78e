#include "net/status.h"

#include "net/link.h"
#include "table/game.h"

#include <cstdio>

void SetStatus(Link& link, const char* line1, const char* line2)
{
    // Longer texts are cut to the line's capacity.
    if (line1)
        std::snprintf(link.status.statusLine1, sizeof link.status.statusLine1, "%s", line1);
    if (line2)
        std::snprintf(link.status.statusLine2, sizeof link.status.statusLine2, "%s", line2);
    link.game.platform.Show(ViewPart::StatusLines);
}
