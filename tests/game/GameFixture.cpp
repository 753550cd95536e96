#include "tests/game/GameFixture.h"

#include <X11/keysym.h>

#include "toolkit/ButtonCustom.h"

void GameFixture::Click(const std::string& button)
{
    ButtonCustom* clicked = Find<ButtonCustom>(button);
    ASSERT_NE(clicked, nullptr) << button;
    game->ButtonClicked(*clicked);
}

bool GameFixture::PlayUntil(const std::function<bool()>& done, bool miss)
{
    const Well& well = game->GetWell();
    for (int tick = 0; tick < 100000 && !done(); ++tick) {
        const Ball* lowest = nullptr;
        for (const Ball& ball : well.Balls())
            if (ball.column > 0 && (!lowest || ball.row > lowest->row)) lowest = &ball;
        int target = well.PlayerColumn();
        if (lowest) target = miss ? (lowest->column <= 5 ? Well::lastColumn : Well::firstColumn) : lowest->column;
        // Each press forgets the other keys, so the latest press is the one that steers.
        if (target < well.PlayerColumn()) game->KeyPressed(XK_Left);
        else if (target > well.PlayerColumn()) game->KeyPressed(XK_Right);
        else game->KeyPressed(XK_Shift_L);
        Wait(30);
        game->Tick();
    }
    return done();
}
