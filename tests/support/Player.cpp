#include "tests/support/Player.h"

#include <X11/keysym.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "tools/harness/Poll.h"

namespace {

// Centres of the main window's buttons.
constexpr int buttonX = WellLayout::buttonCentreX;
constexpr int startY = WellLayout::ButtonCentreY(WellLayout::startTop), infoY = WellLayout::ButtonCentreY(WellLayout::infoTop);

// A picture of one colour is an area between the clearing and the drawing of its text.
std::vector<unsigned long> Drawn(std::vector<unsigned long> pixels)
{
    if (std::adjacent_find(pixels.begin(), pixels.end(), std::not_equal_to<>()) == pixels.end()) pixels.clear();
    return pixels;
}

}  // namespace

Player::Player(const std::string& sheetPath) : view(sheetPath)
{
    // The game cuts its sprites from the first bytes of the sheet, and cannot use a shorter one.
    std::error_code error;
    const auto size = std::filesystem::file_size(sheetPath, error);
    wellReadable = !error && size >= WellLayout::sheetBytes;
}

std::vector<unsigned long> Player::Caption()
{
    return Drawn(view.Pixels(main, WellLayout::buttonLeft + 6, WellLayout::startTop + 4, 88, 20));
}

bool Player::TakeStartCaption(std::chrono::milliseconds deadline)
{
    // A read may fall between the button's clearing and its text, and such a picture never comes
    // back; a caption that reads the same at the next poll is the finished one.
    std::vector<unsigned long> last;
    return WaitFor(
        [&] {
            std::vector<unsigned long> now = Caption();
            const bool settled = !now.empty() && now == last;
            last = std::move(now);
            if (settled) startCaption = last;
            return settled;
        },
        deadline);
}

std::vector<unsigned long> Player::Score()
{
    const auto place = view.Geometry(main);
    return Drawn(view.Pixels(main, place[2] - 228 + 3, place[3] - 90 + 3, 194, 22));
}

Window Player::WaitForTitleScreen(std::chrono::milliseconds deadline)
{
    if (!view.Connected() || !(main = view.WaitForMainWindow(deadline))) return 0;
    // Where the well cannot be read, the drawn START caption shows that the game has painted.
    const bool shown = wellReadable ? WaitFor([&] { return view.ReadWell(main).IsTitleScreen(); }, deadline)
                                    : TakeStartCaption(deadline);
    return shown ? main : 0;
}

bool Player::StartGame(std::chrono::milliseconds deadline)
{
    if (!main) return false;
    // Without a font the game draws no caption at all; then the well alone tells.
    if (startCaption.empty()) TakeStartCaption(std::chrono::seconds(1));
    // A press while the caption does not read START (the game still ending the last one, say)
    // would be lost or taken as CANCEL.
    if (!WaitFor([&] { return Caption() == startCaption; }, deadline)) return false;
    view.Click(main, buttonX, startY);
    // Without a window manager the keys go where the pointer is.
    view.MovePointer(main, 400, 300);
    // Taken once the caption has turned to CANCEL and a new well shows the pegs and the catcher,
    // with no ball left on the catcher's row.
    return WaitFor(
        [&] {
            const auto caption = Caption();
            if (!startCaption.empty() && (caption.empty() || caption == startCaption)) return false;
            scoreAtStart = Score();
            return !wellReadable || view.ReadWell(main).ShowsAGame();
        },
        deadline);
}

int Player::CatcherAt() { return main ? view.ReadWell(main).CatcherColumn() : -1; }

bool Player::BallsAreFalling(std::chrono::milliseconds deadline)
{
    int firstRow = -1;
    return WaitFor(
        [&] {
            const auto ball = view.ReadWell(main).LowestBall();
            if (!ball) return false;
            if (firstRow < 0) firstRow = ball->row;
            return ball->row > firstRow;
        },
        deadline);
}

bool Player::CatchOneThenMiss(std::chrono::milliseconds deadline)
{
    bool caught = false, started = true;
    const bool dialog = WaitFor(
        [&] {
            if (view.FindWindow("Top Ten")) return true;
            // The score changes only with a catch; a label between clearing and text tells nothing.
            const auto score = Score();
            caught = caught || (!score.empty() && score != scoreAtStart);
            const ShownWell well = view.ReadWell(main);
            if (well.ShowsAMissedBall() && !caught) {
                // A game that scored nothing asks no name: the player starts another.
                view.Hold(0);
                return !(started = StartGame(deadline));
            }
            const int catcher = well.CatcherColumn();
            const auto ball = well.LowestBall();
            if (catcher < 0 || !ball) {
                view.Hold(0);
                return false;
            }
            const int target = caught ? (ball->column <= 5 ? Well::lastColumn : Well::firstColumn) : ball->column;
            view.Hold(catcher < target ? XK_Right : catcher > target ? XK_Left : 0);
            return false;
        },
        deadline);
    view.Hold(0);
    return dialog && started;
}

bool Player::EnterName(const std::string& name, std::chrono::milliseconds deadline)
{
    const Window dialog = view.Connected() ? view.FindWindow("Top Ten") : 0;
    // Keys go to the window that has the focus, which the dialog takes when it first paints:
    // letters typed before its OK button shows would reach the disabled main window and be lost.
    if (!dialog || !WaitFor([&] { return !Drawn(view.Pixels(dialog, 85 + 6, 80 + 4, 68, 20)).empty(); }, deadline))
        return false;
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
    const Window about = view.WaitForWindow("Info...", deadline);
    if (!about) return false;
    // The web address and the mail address, then OK.
    view.Click(about, 163 + 45 + 20, 68 + 6);
    view.Click(about, 163 + 255 + 20, 68 + 6);
    view.Click(about, 359 + 40, 173 + 14);
    return WaitFor([&] { return view.FindWindow("Info...") == 0; }, deadline);
}

bool Player::Quit(std::chrono::milliseconds deadline)
{
    if (!view.Connected()) return false;
    view.Hold(0);
    return view.QuitGame(deadline);
}
