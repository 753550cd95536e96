#include "bench/Bench.h"

#include <X11/keysym.h>

#include <algorithm>
#include <numeric>

#include "tools/harness/Poll.h"

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Mean(const std::vector<double>& values)
{
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

std::string List(const std::vector<double>& values, int decimals)
{
    std::string text;
    for (double value : values) text += (text.empty() ? "" : ", ") + Fixed(value, decimals);
    return text;
}

double Megabytes(long kilobytes) { return static_cast<double>(kilobytes) * 1024 / 1e6; }

void Windows::Add(const ProcessRates& rates)
{
    cpu.push_back(rates.cpuPercent);
    wakeUps.push_back(rates.wakeUpsPerSecond);
}

double MedianRatio(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (b[i] > 0) ratios.push_back(a[i] / b[i]);
    return !a.empty() && ratios.size() == a.size() ? Median(ratios) : -1;
}

Window WaitForTitleScreen(PlayerView& screen)
{
    Window main = 0;
    if (!WaitFor([&] { return (main = screen.FindWindow(gameTitle)) != 0 && screen.ReadWell(main).IsTitleScreen(); }, 20s, 50ms))
        throw Failure{"the game never showed its title screen"};
    return main;
}

void StartGame(PlayerView& screen, Window main)
{
    screen.Click(main, startX, startY);
    if (!WaitFor([&] { return screen.ReadWell(main).ShowsAGame(); }, 5s)) throw Failure{"START did not start a game"};
}

void CancelGame(PlayerView& screen, Window main)
{
    screen.Click(main, startX, startY);
    if (!WaitFor([&] { return screen.ReadWell(main).IsTitleScreen(); }, 5s)) throw Failure{"CANCEL did not end the game"};
}

void EnterName(PlayerView& screen, Window dialog)
{
    screen.MovePointer(dialog, 125, 55);
    for (unsigned long key : {XK_b, XK_e, XK_n, XK_c, XK_h}) screen.Type(key, true);
    screen.Type(XK_Return);
    if (!WaitFor([&] { return screen.FindWindow("Top Ten") == 0; }, 5s)) throw Failure{"the name form stayed open"};
}

bool Quit(PlayerView& screen, Program& game)
{
    if (screen.QuitGame(10s) && game.Wait(10s)) return true;
    game.Stop();
    return false;
}
