#include "tools/harness/ShownWell.h"

namespace {

// The game's rules with nothing to show them on, to learn what they draw.
class NoView : public WellView {
public:
    void SetCell(int, int, int) override {}
    void UpdateLabels() override {}
    void SetStatus(const std::string&) override {}
    void SetBannerText(const std::string&) override {}
    void PlaySound(const char*) override {}
    int ReadDirection() override { return 0; }
    void GameOver() override {}
};

// What a fresh well shows once the rules have run the operation.
ShownWell DrawnBy(void (Well::*operation)())
{
    NoView view;
    Well well(view);
    (well.*operation)();
    ShownWell shown;
    for (int row = 0; row < Well::rows; ++row)
        for (int column = 0; column < Well::columns; ++column) shown.SetSprite(column, row, well.SpriteAt(column, row));
    return shown;
}

const ShownWell& TitleScreen()
{
    static const ShownWell title = DrawnBy(&Well::ShowTitleScreen);
    return title;
}

const ShownWell& NewGame()
{
    static const ShownWell game = DrawnBy(&Well::StartGame);
    return game;
}

bool IsBall(int sprite)
{
    for (std::size_t ball = 0; ball < 3; ++ball)
        if (sprite == Well::BallSprite(ball)) return true;
    return false;
}

}  // namespace

int ShownWell::SpriteAt(int column, int row) const
{
    if (column < 0 || column >= Well::columns || row < 0 || row >= Well::rows) return -1;
    return sprites[static_cast<std::size_t>(WellLayout::CellIndex(column, row))];
}

void ShownWell::SetSprite(int column, int row, int sprite)
{
    if (column >= 0 && column < Well::columns && row >= 0 && row < Well::rows)
        sprites[static_cast<std::size_t>(WellLayout::CellIndex(column, row))] = sprite;
}

int ShownWell::CatcherColumn() const
{
    for (int column = Well::firstColumn; column <= Well::lastColumn; ++column)
        if (SpriteAt(column, Well::catcherRow) == Well::catcherSprite) return column;
    return -1;
}

std::optional<Ball> ShownWell::LowestBall() const
{
    for (int row = Well::catcherRow - 1; row >= 0; --row)
        for (int column = Well::firstColumn; column <= Well::lastColumn; ++column)
            if (IsBall(SpriteAt(column, row))) return Ball{column, row};
    return std::nullopt;
}

bool ShownWell::ShowsAMissedBall() const
{
    for (int column = Well::firstColumn; column <= Well::lastColumn; ++column)
        if (IsBall(SpriteAt(column, Well::catcherRow))) return true;
    return false;
}

bool ShownWell::ShowsAGame() const
{
    // A ball never lands on a peg, so a game shows every peg of the new well all the time.
    for (int row = 0; row < Well::rows; ++row)
        for (int column = 0; column < Well::columns; ++column)
            if (NewGame().SpriteAt(column, row) == Well::pegSprite && SpriteAt(column, row) != Well::pegSprite) return false;
    return CatcherColumn() > 0 && !ShowsAMissedBall();
}

bool ShownWell::IsTitleScreen() const { return sprites == TitleScreen().sprites; }
