// How far a ball falls in 4 s of play with the pointer still, and with another X client moving it
// over the well 125 and 500 times a second: a stream of events must not hold the game's time back.

#include <thread>

#include "bench/Budgets.h"
#include "bench/Measurements.h"
#include "bench/PointerMover.h"
#include "tools/harness/Poll.h"

namespace {

// Over the middle of the well.
constexpr int motionX = WellLayout::CellLeft(6), motionY = WellLayout::CellTop(7);

std::optional<int> LowestBallRow(PlayerView& screen, Window main)
{
    const auto ball = screen.ReadWell(main).LowestBall();
    return ball ? std::optional<int>(ball->row) : std::nullopt;
}

// One game from START: the first ball appears at the first ball step; its row is read half a step
// later and again 4 s after that. Both readings lie midway between two steps, so a reading or a
// paint late by anything short of half a step counts the same steps, and the difference is the
// rows the game let the ball fall. The mover, when there is one, moves the pointer over the well
// from START to the last reading.
void MeasureFallRound(PlayerView& screen, Program& game, Window main, std::size_t rate, FallFigures& figures)
{
    StartGame(screen, main);
    std::optional<PointerMover> mover;
    if (motionRates[rate] > 0) {
        const auto place = screen.Geometry(main);
        mover.emplace(place[0] + motionX, place[1] + motionY, motionRates[rate]);
    }
    std::optional<int> first, last;
    // Ten seconds: a game whose time stands still under the motion shows no ball at all.
    if (WaitFor([&] { return LowestBallRow(screen, main).has_value(); }, 10s)) {
        const auto appeared = Clock::now();
        std::this_thread::sleep_until(appeared + Budgets::ballStep / 2);
        const ProcessSample before = SampleProcess(game.Pid());
        first = LowestBallRow(screen, main);
        std::this_thread::sleep_until(appeared + Budgets::ballStep / 2 + Budgets::fallPeriod);
        last = LowestBallRow(screen, main);
        figures.gameWakeUps[rate].push_back(RatesBetween(before, SampleProcess(game.Pid())).wakeUpsPerSecond);
    }
    if (mover) {
        const auto sent = mover->Stop();
        if (!sent) throw Failure{"the pointer mover did not answer"};
        figures.motionSent[rate].push_back(sent->Rate());
    }
    if (!first) {
        ++figures.roundsWithoutBall;
        figures.rows[rate].push_back(0);
    } else if (!last) {
        throw Failure{"the ball left the well within " + std::to_string(Budgets::fallPeriod.count() / 1000) + " s"};
    } else {
        figures.rows[rate].push_back(*last - *first);
    }
    CancelGame(screen, main);
}

// One part per motion rate: "still 5, 5; 125 Hz 5, 4; ...".
std::string ByRate(const std::array<std::vector<double>, motionRates.size()>& values, int decimals, std::size_t from)
{
    std::string text;
    for (std::size_t rate = from; rate < motionRates.size(); ++rate) {
        text += std::string(rate > from ? "; " : "") +
                (motionRates[rate] ? std::to_string(motionRates[rate]) + " Hz " : "still ") +
                (values[rate].empty() ? "none" : List(values[rate], decimals));
    }
    return text;
}

}  // namespace

FallFigures MeasureFall(const Bench& bench)
{
    RunFolder folder(bench.options.data);
    Program game(bench.options.game, folder);
    const Window main = WaitForTitleScreen(bench.screen);
    FallFigures figures;
    // The rates take turns, so that a change in the machine's load reaches each of them alike.
    for (int round = 0; round < bench.plan.fallRounds; ++round)
        for (std::size_t rate = 0; rate < motionRates.size(); ++rate) MeasureFallRound(bench.screen, game, main, rate, figures);
    if (!Quit(bench.screen, game)) throw Failure{"the game did not quit by EXIT after the falls"};
    return figures;
}

void ReportFall(Report& report, const FallFigures& figures, int rounds)
{
    const std::string seconds = std::to_string(Budgets::fallPeriod.count() / 1000) + " s";
    const double stillRows = Median(figures.rows[0]);
    report.Check("Ball rows fallen in " + seconds + " of play, pointer still (median of " + std::to_string(rounds) + ")",
                 Fixed(stillRows, 0),
                 std::to_string(Budgets::fallRows) + " (one per " + std::to_string(Budgets::ballStep.count()) + " ms)",
                 !figures.rows[0].empty() && stillRows == Budgets::fallRows);
    for (std::size_t rate = 1; rate < motionRates.size(); ++rate) {
        const double rows = Median(figures.rows[rate]);
        report.Check("Ball rows fallen in " + seconds + ", " + std::to_string(motionRates[rate]) + " Hz pointer motion over the well",
                     Fixed(rows, 0), "within " + std::to_string(Budgets::fallRowsUnderMotion) + " of still",
                     !figures.rows[rate].empty() && std::abs(rows - stillRows) <= Budgets::fallRowsUnderMotion);
    }
    std::string falls = "Ball falls, read from the well's pixels half a ball step after the first ball showed and " + seconds +
                        " later, rows per round: " + ByRate(figures.rows, 0, 0) + ". Motions sent per second: " +
                        ByRate(figures.motionSent, 1, 1) + ". Game wake-ups/s while the ball fell: " +
                        ByRate(figures.gameWakeUps, 1, 0);
    if (figures.roundsWithoutBall > 0)
        falls += ". In " + std::to_string(figures.roundsWithoutBall) + " rounds no ball showed within 10 s: 0 rows";
    report.Note(falls + ".");
}
