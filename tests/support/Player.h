#pragma once
// A scripted player for the end-to-end and fault cases and the soak run: starts games, follows
// the ball to catch one and then lets one fall, types a name, opens the About box and its links,
// and quits with EXIT and YES. It goes on by what the screen shows (the START button's caption,
// the score, the well read through the sprite sheet it is given), never by how long a step
// ought to take, so a loaded machine only makes it slower. With a sheet that the game cannot
// show, the cases use only what needs no sprites.

#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "tools/harness/PlayerView.h"

class Player {
public:
    explicit Player(const std::string& sheetPath);

    bool Connected() const { return view.Connected(); }
    PlayerView& View() { return view; }

    // The main window once the title screen shows (or, when sprites cannot be read, once the
    // START button is drawn); 0 after the deadline.
    Window WaitForTitleScreen(std::chrono::milliseconds deadline);
    // Waits for the START caption, presses it, and is true once the game has taken the press:
    // the caption has changed and, where the well can be read, a new well shows.
    bool StartGame(std::chrono::milliseconds deadline);
    // The column the catcher shows in, or -1.
    int CatcherAt();
    // True once a ball is seen moving down the well.
    bool BallsAreFalling(std::chrono::milliseconds deadline);
    // Follows the lowest ball until the score shows a catch, then steers away until one falls
    // past: true once the name dialog shows. A game lost before any catch is started again.
    bool CatchOneThenMiss(std::chrono::milliseconds deadline);
    // Types the name into the dialog and confirms; true once the dialog is gone.
    bool EnterName(const std::string& name, std::chrono::milliseconds deadline);
    // Opens the About box, clicks both links, and closes it with OK.
    bool VisitAboutAndLinks(std::chrono::milliseconds deadline);
    // EXIT, then YES in the box.
    bool Quit(std::chrono::milliseconds deadline);

private:
    // What the START button's caption (START, CANCEL) and the score label show, inside the lines
    // that their frames and the focus draw; empty while the area is blank.
    std::vector<unsigned long> Caption();
    // Takes the START caption once it is drawn in full; false while it is not.
    bool TakeStartCaption(std::chrono::milliseconds deadline);
    std::vector<unsigned long> Score();

    PlayerView view;
    Window main = 0;
    // The sheet is long enough for the game to show sprites that the view can recognise.
    bool wellReadable = false;
    std::vector<unsigned long> startCaption;
    std::vector<unsigned long> scoreAtStart;
};
