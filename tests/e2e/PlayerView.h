#pragma once
// Looks at the game from outside, as a player does: finds its windows by name, reads the well
// back cell by cell against the sprite sheet, and sends real input through XTest.

#include <X11/Xlib.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

class PlayerView {
public:
    explicit PlayerView(const std::string& sheetPath);
    ~PlayerView();
    PlayerView(const PlayerView&) = delete;
    PlayerView& operator=(const PlayerView&) = delete;

    bool Connected() const { return display != nullptr; }
    // The top-level window whose name starts with the text, or 0.
    Window FindWindow(const std::string& namePrefix);
    // The sprite each well cell shows (column + 12 * row), -1 where no sprite matches exactly.
    std::array<int, 180> ReadWell(Window game);
    std::string WindowName(Window window);
    // Size and position of a window inside its border, relative to the root.
    std::array<int, 4> Geometry(Window window);

    void Click(Window window, int x, int y);
    void MovePointer(Window window, int x, int y);
    void Key(unsigned long keysym, bool down);
    void Type(unsigned long keysym, bool shifted = false);
    // Ends the game as a player does: EXIT, then YES in the box. False when a window never came.
    bool QuitGame(std::chrono::milliseconds deadline);
    // The game's main window once it is shown, or 0 after the deadline.
    Window WaitForMainWindow(std::chrono::milliseconds deadline);

private:
    Display* display = nullptr;
    std::vector<unsigned char> sheet;
};
