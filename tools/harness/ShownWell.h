#pragma once
// The well as the screen shows it, in the game's own terms: the sprites of its Well, a Ball for a
// ball. What a player or a measurement looks for in it is answered here, once, by comparing with
// what the game's own rules draw.

#include <array>
#include <optional>

#include "game/Well.h"
#include "game/WellLayout.h"

class ShownWell {
public:
    ShownWell() { sprites.fill(-1); }

    // The sprite a cell shows; -1 outside the well, or where the pixels match no sprite exactly.
    int SpriteAt(int column, int row) const;
    void SetSprite(int column, int row, int sprite);

    // The column the catcher shows in, or -1.
    int CatcherColumn() const;
    // The lowest ball above the catcher's row.
    std::optional<Ball> LowestBall() const;
    // A ball on the catcher's row is one that was missed: the game is over.
    bool ShowsAMissedBall() const;
    // A game under way: every peg standing, the catcher shown and no ball missed.
    bool ShowsAGame() const;
    // Exactly the title screen.
    bool IsTitleScreen() const;

private:
    std::array<int, Well::columns * Well::rows> sprites;
};
