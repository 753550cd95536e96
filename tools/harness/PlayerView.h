#pragma once
// Looks at the game from outside, as a player does: finds its windows by name, reads the well
// back cell by cell against the sprite sheet into the game's own terms, and sends real input
// through XTest.

#include <X11/Xlib.h>

#include <array>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "tools/harness/ShownWell.h"

class PlayerView {
public:
    // On the display of DISPLAY unless another is named.
    explicit PlayerView(const std::string& sheetPath, const std::string& displayName = "");
    ~PlayerView();
    PlayerView(const PlayerView&) = delete;
    PlayerView& operator=(const PlayerView&) = delete;

    bool Connected() const { return display != nullptr; }
    // The top-level window whose name starts with the text, or 0.
    Window FindWindow(const std::string& namePrefix);
    // The sprite each well cell shows, -1 where no sprite matches exactly.
    ShownWell ReadWell(Window game);
    // The pixels of an area of the window, row by row; empty when it cannot be read.
    std::vector<unsigned long> Pixels(Window window, int x, int y, int width, int height);
    std::string WindowName(Window window);
    // Size and position of a window inside its border, relative to the root.
    std::array<int, 4> Geometry(Window window);

    void Click(Window window, int x, int y);
    void MovePointer(Window window, int x, int y);
    void Key(unsigned long keysym, bool down);
    // Holds down one key at a time, as a player steering does: the key held before is let go first;
    // 0 lets go of it.
    void Hold(unsigned long keysym);
    void Type(unsigned long keysym, bool shifted = false);
    // Ends the game as a player does: EXIT, then YES in the box. False when a window never came.
    bool QuitGame(std::chrono::milliseconds deadline);
    // The first window whose name starts with the text once it is shown, or 0 after the deadline.
    Window WaitForWindow(const std::string& namePrefix, std::chrono::milliseconds deadline);
    // The game's main window once it is shown, or 0 after the deadline.
    Window WaitForMainWindow(std::chrono::milliseconds deadline);

private:
    Display* display = nullptr;
    std::vector<unsigned char> sheet;
    unsigned long held = 0;
};
