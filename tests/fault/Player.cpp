#include "tests/fault/Player.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "tests/fault/GameSandbox.h"

namespace {

constexpr int catcherSprite = 6;
constexpr int pegSprite = 5;
constexpr int catcherRow = 13;

int At(const std::array<int, 180>& well, int column, int row)
{
    return well[static_cast<std::size_t>(column + 12 * row)];
}

bool IsBall(int sprite) { return sprite >= 1 && sprite <= 3; }

int CatcherColumn(const std::array<int, 180>& well)
{
    for (int column = 1; column <= 10; ++column)
        if (At(well, column, catcherRow) == catcherSprite) return column;
    return -1;
}

// The lowest ball above the catcher's row, as (column, row), or (-1, -1).
std::pair<int, int> LowestBall(const std::array<int, 180>& well)
{
    for (int row = catcherRow - 1; row >= 0; --row)
        for (int column = 1; column <= 10; ++column)
            if (IsBall(At(well, column, row))) return {column, row};
    return {-1, -1};
}

// Centres of the main window's buttons and of the parts of the dialogs that the cases press.
constexpr int buttonX = 572 + 50;
constexpr int startY = 117 + 14, infoY = 147 + 14;

}  // namespace

Player::Player(const std::string& sheetPath, bool readWell) : view(sheetPath)
{
    // The game cuts its sprites from the first bytes of the sheet, and cannot use a shorter one.
    std::error_code error;
    const auto size = std::filesystem::file_size(sheetPath, error);
    wellReadable = readWell && !error && size >= 378 * 27 * 3;
    pixels = XOpenDisplay(nullptr);
}

Player::~Player()
{
    if (pixels) XCloseDisplay(pixels);
}

std::vector<unsigned long> Player::StartButtonPixels()
{
    std::vector<unsigned long> values;
    if (!pixels || !main) return values;
    XImage* image = XGetImage(pixels, main, 572, 117, 100, 28, AllPlanes, ZPixmap);
    if (!image) return values;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 100; ++x) values.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return values;
}

Window Player::WaitForTitleScreen(std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    if (!view.Connected()) return 0;
    main = view.WaitForMainWindow(deadline);
    if (!main) return 0;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (!wellReadable) {
        // Without sprites to recognise, the drawn button shows that the game has painted.
        return WaitFor(
                   [&] {
                       const auto button = StartButtonPixels();
                       return !button.empty() && std::count(button.begin(), button.end(), button.front()) <
                                                     static_cast<long>(button.size());
                   },
                   left)
                   ? main
                   : 0;
    }
    // The title screen draws the word mark and a ball of each colour in the well.
    return WaitFor([&] { return At(view.ReadWell(main), 8, 10) == 4; }, left) ? main : 0;
}

bool Player::StartGame(std::chrono::milliseconds deadline)
{
    if (!main) return false;
    if (!wellReadable) {
        // The caption turns from START to CANCEL once the game has started.
        const auto before = StartButtonPixels();
        view.Click(main, buttonX, startY);
        view.MovePointer(main, 400, 300);
        return WaitFor([&] { return StartButtonPixels() != before; }, deadline);
    }
    view.Click(main, buttonX, startY);
    // Without a window manager the keys go where the pointer is.
    view.MovePointer(main, 400, 300);
    return WaitFor(
        [&] {
            const auto well = view.ReadWell(main);
            return std::count(well.begin(), well.end(), pegSprite) == 25 && CatcherColumn(well) >= 1;
        },
        deadline);
}

int Player::CatcherAt() { return main ? CatcherColumn(view.ReadWell(main)) : -1; }

bool Player::BallsAreFalling(std::chrono::milliseconds deadline)
{
    int firstRow = -1;
    return WaitFor(
        [&] {
            const auto [column, row] = LowestBall(view.ReadWell(main));
            if (column < 0) return false;
            if (firstRow < 0) firstRow = row;
            return row > firstRow;
        },
        deadline);
}

void Player::Hold(unsigned long keysym)
{
    if (held == keysym) return;
    if (held) view.Key(held, false);
    if (keysym) view.Key(keysym, true);
    held = keysym;
}

bool Player::CatchOneThenMiss(std::chrono::milliseconds deadline)
{
    bool caught = false;
    int awaitedColumn = -1;
    const bool dialog = WaitFor(
        [&] {
            if (view.FindWindow("Top Ten")) return true;
            const auto well = view.ReadWell(main);
            const int catcher = CatcherColumn(well);
            const auto [column, row] = LowestBall(well);
            // A ball seen just above the catcher that has gone while the catcher stayed was caught.
            if (awaitedColumn > 0 && !IsBall(At(well, awaitedColumn, catcherRow - 1)) && catcher == awaitedColumn &&
                !IsBall(At(well, awaitedColumn, catcherRow)))
                caught = true;
            awaitedColumn = !caught && row == catcherRow - 1 && column == catcher ? column : -1;
            // A ball that reaches the catcher's row ends the game; one that scored nothing asks no
            // name, so the player starts again.
            bool missed = false;
            for (int c = 1; c <= 10; ++c) missed = missed || IsBall(At(well, c, catcherRow));
            if (missed && !caught) {
                Hold(0);
                StartGame(std::chrono::seconds(10));
                return false;
            }
            if (catcher < 0 || column < 0) {
                Hold(0);
                return false;
            }
            const int target = caught ? (column <= 5 ? 10 : 1) : column;
            Hold(catcher < target ? XK_Right : catcher > target ? XK_Left : 0);
            return false;
        },
        deadline);
    Hold(0);
    return dialog;
}

bool Player::EnterName(const std::string& name, std::chrono::milliseconds deadline)
{
    const Window dialog = view.Connected() ? view.FindWindow("Top Ten") : 0;
    if (!dialog) return false;
    view.MovePointer(dialog, 125, 55);
    for (const char letter : name)
        view.Type(XStringToKeysym(std::string(1, static_cast<char>(std::tolower(letter))).c_str()), true);
    view.Type(XK_Return);
    return WaitFor([&] { return view.FindWindow("Top Ten") == 0; }, deadline);
}

bool Player::VisitAboutAndLinks(std::chrono::milliseconds deadline)
{
    if (!main) return false;
    view.Click(main, buttonX, infoY);
    Window about = 0;
    if (!WaitFor([&] { return (about = view.FindWindow("Info...")) != 0; }, deadline)) return false;
    // The web address and the mail address, then OK.
    view.Click(about, 163 + 45 + 20, 68 + 6);
    view.Click(about, 163 + 255 + 20, 68 + 6);
    view.Click(about, 359 + 40, 173 + 14);
    return WaitFor([&] { return view.FindWindow("Info...") == 0; }, deadline);
}

bool Player::Quit(std::chrono::milliseconds deadline)
{
    if (!view.Connected()) return false;
    Hold(0);
    return view.QuitGame(deadline);
}
