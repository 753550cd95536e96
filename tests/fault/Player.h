#pragma once
// A scripted player for the fault cases and the soak run: starts games, follows the ball to catch
// one and then lets one fall, types a name, opens the About box and its links, and quits with
// EXIT and YES. It reads the well through the sprite sheet it is given; with a sheet that the game
// cannot show, the cases use only what needs no sprites.

#include <X11/Xlib.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/PlayerView.h"

class Player {
public:
    // readWell: whether the view can recognise the sprites at all (not on a display of fewer than
    // 24 bits, whose pixels are not the sheet's colours).
    explicit Player(const std::string& sheetPath, bool readWell = true);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    bool Connected() const { return view.Connected(); }
    PlayerView& View() { return view; }

    // The main window once the title screen shows (or, when sprites cannot be read, once the
    // window is there); 0 after the deadline.
    Window WaitForTitleScreen(std::chrono::milliseconds deadline);
    // START: true once the pegs and the catcher show (or at once when the well cannot be read).
    bool StartGame(std::chrono::milliseconds deadline);
    // The column the catcher shows in, or -1.
    int CatcherAt();
    // True once a ball is seen moving down the well.
    bool BallsAreFalling(std::chrono::milliseconds deadline);
    // Follows the lowest ball until one is caught, then steers away until one falls past: true
    // once the name dialog shows.
    bool CatchOneThenMiss(std::chrono::milliseconds deadline);
    // Types the name into the dialog and confirms; true once the dialog is gone.
    bool EnterName(const std::string& name, std::chrono::milliseconds deadline);
    // Opens the About box, clicks both links, and closes it with OK.
    bool VisitAboutAndLinks(std::chrono::milliseconds deadline);
    // EXIT, then YES in the box.
    bool Quit(std::chrono::milliseconds deadline);

private:
    void Hold(unsigned long keysym);
    // The START button's pixels, which change with its caption (START, CANCEL) and its painting.
    std::vector<unsigned long> StartButtonPixels();

    PlayerView view;
    // A connection of its own for reading pixels, which the view does not offer.
    Display* pixels = nullptr;
    Window main = 0;
    unsigned long held = 0;
    // The sheet is long enough for the game to show sprites that the view can recognise.
    bool wellReadable = false;
};
