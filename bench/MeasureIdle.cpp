// The game idle on its title screen, side by side with the floors of its own design (a client that
// polls every 10 ms, one that blocks in XNextEvent, a bare sleep loop) and the peer games that are
// installed, so that all of them see the same machine in the same windows.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "bench/Budgets.h"
#include "bench/Measurements.h"
#include "bench/Peers.h"
#include "tools/harness/Poll.h"

namespace {

// This machine's price of 100 wake-ups a second with no X connection and no work at all: the part
// of the idle figures that no program with a 10 ms wait can get below.
class SleepLoop {
public:
    SleepLoop()
    {
        const pid_t parent = getpid();
        pid = fork();
        if (pid != 0) return;
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // A parent that died before the tie was made would never send the signal.
        if (getppid() != parent) _exit(0);
        for (;;) {
            timeval wait{0, 10000};
            select(0, nullptr, nullptr, nullptr, &wait);
        }
    }
    ~SleepLoop()
    {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    SleepLoop(const SleepLoop&) = delete;
    SleepLoop& operator=(const SleepLoop&) = delete;

    pid_t Pid() const { return pid; }

private:
    pid_t pid = -1;
};

// One process watched window after window.
struct Watched {
    pid_t pid;
    Windows* windows;
    ProcessSample last;
};

}  // namespace

const PeerFigures* IdleFigures::LightestPeer() const
{
    const PeerFigures* lightest = nullptr;
    for (const PeerFigures& peer : peers)
        if (peer.peakKilobytes > 0 && (!lightest || peer.peakKilobytes < lightest->peakKilobytes)) lightest = &peer;
    return lightest;
}

IdleFigures MeasureIdle(const Bench& bench)
{
    RunFolder floorFolder(bench.options.data), blockingFolder(bench.options.data), folder(bench.options.data);
    Program floor(bench.options.floor, floorFolder);
    Program blockingFloor(bench.options.floor, blockingFolder, {}, {"--block"});
    Program game(bench.options.game, folder);
    WaitForTitleScreen(bench.screen);
    if (!WaitFor([&] { return bench.screen.FindWindow(floorTitle) != 0 && bench.screen.FindWindow(blockingFloorTitle) != 0; }, 10s))
        throw Failure{"a floor client never showed"};
    const auto peers = StartPeers(bench.options.data);
    for (const auto& peer : peers)
        if (!WaitFor([&] { return bench.screen.FindWindow(peer->Name()) != 0; }, 10s)) throw Failure{peer->Name() + " never showed"};

    IdleFigures figures;
    for (const auto& peer : peers) figures.peers.push_back(PeerFigures{peer->Name(), {}, -1});
    SleepLoop sleepLoop;
    // Let start-up's last work and the first timer ticks pass before counting.
    std::this_thread::sleep_for(1s);
    std::vector<Watched> watched{{sleepLoop.Pid(), &figures.sleepLoop, {}},
                                 {floor.Pid(), &figures.floor, {}},
                                 {blockingFloor.Pid(), &figures.blockingFloor, {}},
                                 {game.Pid(), &figures.title, {}}};
    for (std::size_t peer = 0; peer < peers.size(); ++peer) watched.push_back({peers[peer]->Pid(), &figures.peers[peer].title, {}});
    for (Watched& process : watched) process.last = SampleProcess(process.pid);
    const ProcessSample floorFirst = watched[1].last, gameFirst = watched[3].last;
    const auto begin = Clock::now();
    for (int window = 1; window <= bench.plan.idleWindows; ++window) {
        std::this_thread::sleep_until(begin + bench.plan.idleWindow * window);
        for (Watched& process : watched) {
            const ProcessSample now = SampleProcess(process.pid);
            if (!now.valid) throw Failure{"the game, a floor client, a peer or the sleep loop ended while idle"};
            process.windows->Add(RatesBetween(process.last, now));
            process.last = now;
        }
    }
    figures.floorWhole = RatesBetween(floorFirst, watched[1].last);
    figures.titleWhole = RatesBetween(gameFirst, watched[3].last);
    for (std::size_t peer = 0; peer < peers.size(); ++peer) figures.peers[peer].peakKilobytes = PeakResidentKilobytes(peers[peer]->Pid());
    if (!Quit(bench.screen, game)) throw Failure{"the game did not quit by EXIT after idling"};
    return figures;
}

void ReportIdle(Report& report, const IdleFigures& figures, const Plan& plan)
{
    const std::string windows = std::to_string(plan.idleWindows) + " x " + std::to_string(plan.idleWindow.count() / 1000) + " s";
    report.Add("Bare 10 ms sleep loop, no X: CPU (median of " + windows + ")", Fixed(Median(figures.sleepLoop.cpu), 3) + " % of a core");
    report.Add("Bare 10 ms sleep loop: wake-ups", Fixed(Median(figures.sleepLoop.wakeUps), 1) + " /s");
    report.Add("10 ms floor client idle: CPU (same windows)", Fixed(Median(figures.floor.cpu), 3) + " % of a core");
    report.Add("10 ms floor client idle: wake-ups", Fixed(Median(figures.floor.wakeUps), 1) + " /s");
    report.Add("Blocking floor client idle: CPU (same windows)", Fixed(Median(figures.blockingFloor.cpu), 3) + " % of a core");
    report.Add("Blocking floor client idle: wake-ups", Fixed(Median(figures.blockingFloor.wakeUps), 1) + " /s");
    report.Add("Title screen idle: CPU (same windows)", Fixed(Median(figures.title.cpu), 3) + " % of a core");
    const double ratio = MedianRatio(figures.title.cpu, figures.floor.cpu);
    report.Check("Title screen idle: CPU game / 10 ms floor (median of the windows)", Fixed(ratio, 2),
                 "<= " + Fixed(Budgets::idleCpuRatio, 2), ratio >= 0 && ratio <= Budgets::idleCpuRatio);
    const double wakeUps = Median(figures.title.wakeUps);
    report.Check("Title screen idle: wake-ups", Fixed(wakeUps, 1) + " /s", "<= " + Fixed(Budgets::idleWakeUps, 0) + " /s",
                 wakeUps <= Budgets::idleWakeUps);
    for (const PeerFigures& peer : figures.peers) {
        report.Add(peer.name + " title idle, peer: CPU (same windows)", Fixed(Median(peer.title.cpu), 3) + " % of a core");
        report.Add(peer.name + " title idle, peer: wake-ups", Fixed(Median(peer.title.wakeUps), 1) + " /s");
        report.Add(peer.name + " title idle, peer: peak resident memory", Fixed(Megabytes(peer.peakKilobytes), 2) + " MB");
    }

    report.Note("Reading the idle rows: the sleep loop is what this machine charges for 100 wake-ups a second with no "
                "X at all; the 10 ms floor adds an X connection and an XPending at each wake-up, which is what a loop "
                "that looks for events every 10 ms costs with no work to do; the blocking floor waits in XNextEvent "
                "with no time-out, which is what an X client costs while nothing happens; the title screen is the game, "
                "whose 30 ms timer sleeps through every tick at which nothing can change: on the title screen it "
                "wakes for the banner's turn every 5 s, in play for the catcher's and the balls' steps.");
    report.Note("Idle windows, CPU % sleep loop: " + List(figures.sleepLoop.cpu, 3) + "; 10 ms floor: " + List(figures.floor.cpu, 3) +
                "; blocking floor: " + List(figures.blockingFloor.cpu, 3) + "; game: " + List(figures.title.cpu, 3) + ".");
    report.Note("Idle windows, wake-ups/s sleep loop: " + List(figures.sleepLoop.wakeUps, 1) + "; 10 ms floor: " +
                List(figures.floor.wakeUps, 1) + "; blocking floor: " + List(figures.blockingFloor.wakeUps, 1) +
                "; game: " + List(figures.title.wakeUps, 1) + ".");
    for (const PeerFigures& peer : figures.peers)
        report.Note("Idle windows, " + peer.name + ": CPU % " + List(peer.title.cpu, 3) + "; wake-ups/s " + List(peer.title.wakeUps, 1) + ".");
    report.Note("The same CPU from /proc/PID/stat utime + stime over the whole idle period (10 ms ticks): floor " +
                Fixed(figures.floorWhole.tickCpuPercent, 3) + " %, title screen " + Fixed(figures.titleWhole.tickCpuPercent, 3) + " %.");
}
