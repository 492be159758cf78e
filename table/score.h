#pragma once

// Hands won since the opponent sat down; a tie counts for nobody.
struct Score {
    int mine = 0;
    int theirs = 0;
    int handsEnded = 0;  // ties included
};
