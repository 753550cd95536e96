#pragma once
// The benchmark's measurements, each in a source of its own: Measure* runs it and returns its
// figures; Report* adds its rows to the table, checked against the budgets of bench/Budgets.h,
// and the samples behind them as notes.

#include <array>
#include <string>
#include <vector>

#include "bench/Bench.h"

// From exec to the title screen fully painted, start after start.
struct StartupFigures {
    std::vector<double> milliseconds, wellPaints;
    std::vector<int> notQuit;  // the starts after which EXIT did not end the game
};
StartupFigures MeasureStartup(const Bench& bench);
void ReportStartup(Report& report, const StartupFigures& figures);

// A toolkit form with no timer, served by the game's event loop.
struct NoTimerFigures {
    ProcessRates rates;
    milliseconds period{};
};
NoTimerFigures MeasureNoTimer(const Bench& bench);
void ReportNoTimer(Report& report, const NoTimerFigures& figures);

// How far a ball falls in a fixed period of play, with the pointer still and moving over the well.
inline constexpr std::array<int, 3> motionRates{0, 125, 500};  // motions per second
struct FallFigures {
    // By motion rate, one entry per round.
    std::array<std::vector<double>, motionRates.size()> rows, motionSent, gameWakeUps;
    int roundsWithoutBall = 0;
};
FallFigures MeasureFall(const Bench& bench);
void ReportFall(Report& report, const FallFigures& figures, int rounds);

// How often a held key moves the catcher.
struct HeldKeyFigures {
    std::vector<double> stepMilliseconds;
};
HeldKeyFigures MeasureHeldKey(const Bench& bench);
void ReportHeldKey(Report& report, const HeldKeyFigures& figures);

// The game idle on its title screen beside the floor clients, a bare sleep loop and the peer games.
struct PeerFigures {
    std::string name;
    Windows title;
    long peakKilobytes = -1;
};
struct IdleFigures {
    Windows sleepLoop, floor, blockingFloor, title;
    ProcessRates floorWhole, titleWhole;  // each whole period, for the cross-check in ticks
    std::vector<PeerFigures> peers;
    // The peer with the smallest peak memory, or null.
    const PeerFigures* LightestPeer() const;
};
IdleFigures MeasureIdle(const Bench& bench);
void ReportIdle(Report& report, const IdleFigures& figures, const Plan& plan);

// Play with nobody at the keys, beside the 10 ms floor.
struct QuietPlayFigures {
    Windows game, floor;
    int gamesStarted = 0;
};
QuietPlayFigures MeasureQuietPlay(const Bench& bench);
void ReportQuietPlay(Report& report, const QuietPlayFigures& figures, const Plan& plan);

// Play under a scripted player beside the 10 ms floor, the game's peak memory after it, and the
// X traffic of each ball step.
struct PlayFigures {
    Windows game, floor;
    ProcessRates gameWhole;
    long peakKilobytes = -1;
    std::vector<double> stepRequests, stepBytes;
    int gamesStarted = 0, gamesLost = 0, namesEntered = 0;
};
PlayFigures MeasurePlay(const Bench& bench);
// The peak memory is held to the lightest peer's, when one was measured.
void ReportPlay(Report& report, const PlayFigures& figures, const Plan& plan, const PeerFigures* lightestPeer);
