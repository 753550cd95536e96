#pragma once
// What the benchmark's measurements share: how long each part runs, the programs it measures,
// the windows of figures it takes, and a few ways of looking at the game. Each measurement lives in
// a source of its own (bench/Measure*.cpp): it runs, returns its figures, and adds its rows.

#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/ProcessStats.h"
#include "bench/Programs.h"
#include "bench/Report.h"
#include "game/WellLayout.h"
#include "tools/harness/PlayerView.h"

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using namespace std::chrono_literals;

struct Options {
    std::string game, floor, idleForm, data, output, commit;
    bool quick = false;
};

// How long each part runs. CPU and wake-ups are taken in windows and the median window counts, so
// that a burst of another process on the machine moves one window, not the verdict.
struct Plan {
    int starts;
    milliseconds idleWindow;
    int idleWindows;
    milliseconds noTimer;
    milliseconds playWindow;
    int playWindows;
    milliseconds quiet;  // how long the well stays unpainted before start-up counts as finished
    int fallRounds;      // each: the pointer still, then at each motion rate
};

inline constexpr Plan fullPlan{7, 5000ms, 6, 10000ms, 5000ms, 8, 500ms, 3};
inline constexpr Plan quickPlan{5, 2000ms, 3, 3000ms, 3000ms, 3, 300ms, 1};

// Everything a measurement needs.
struct Bench {
    const Options& options;
    const Plan& plan;
    PlayerView& screen;
};

// A measurement that cannot go on.
struct Failure {
    std::string what;
};

inline const char* const gameTitle = "Korvanta - ";
inline const char* const floorTitle = "Korvanta floor client";
inline const char* const blockingFloorTitle = "Korvanta blocking floor client";
inline const char* const idleFormTitle = "Korvanta idle form";
inline constexpr int startX = WellLayout::buttonCentreX, startY = WellLayout::ButtonCentreY(WellLayout::startTop);

double Median(std::vector<double> values);
double Mean(const std::vector<double>& values);
std::string List(const std::vector<double>& values, int decimals);
double Megabytes(long kilobytes);

// CPU and wake-ups of one process, window after window.
struct Windows {
    std::vector<double> cpu, wakeUps;
    void Add(const ProcessRates& rates);
};
// The median of a / b, window by window: both measured in the same windows, so that a change in
// the machine's load between windows moves both. -1 when a window has no figure of b.
double MedianRatio(const std::vector<double>& a, const std::vector<double>& b);

// The game's main window once its title screen shows.
Window WaitForTitleScreen(PlayerView& screen);
// START, and the well of a game under way; CANCEL (the same button), and the title screen again.
void StartGame(PlayerView& screen, Window main);
void CancelGame(PlayerView& screen, Window main);
// A game lost with points asks for the player's name before anything else can be done.
void EnterName(PlayerView& screen, Window dialog);
// EXIT and YES, as a player quits; a game that does not end in time is stopped.
bool Quit(PlayerView& screen, Program& game);
