#include "shell/table_clicks.h"

#include "shell/board_geometry.h"
#include "table/game.h"
#include "table/local_play.h"

void ClickAt(Game& game, int x, int y)
{
    const PointedPile pointed = PileAt(game.table, x, y);
    if (pointed.kind == PointedPile::Kind::CentrePile)
        ClickCentrePile(game, pointed.index);
    else if (pointed.kind == PointedPile::Kind::YourPile)
        ClickYourPile(game, pointed.index);
}

void ClickYourPile(Game& game, int pile)
{
    if (game.table.yourPiles[pile].count == 0)
        MoveToEmptyPile(game, pile);
    else
        SelectPile(game, pile);
}

void ClickCentrePile(Game& game, int centrePile)
{
    PlayOntoCentre(game, centrePile);
}
