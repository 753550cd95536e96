// The benchmark. Under a private Xvfb it runs its measurements one after the other (each in
// bench/Measure*.cpp, each with programs of its own): start-up, a form without a timer, a ball's
// fall under pointer motion, a held key, the idle title screen beside the floors and the peer
// games, play with no input, and play under a scripted player with the game's memory and X
// traffic. It prints one table, writes it as Markdown and exits with 1 when a budget of
// bench/Budgets.h is missed. bench/run.sh builds and runs it.
//
//   korvanta-bench --game BIN --floor BIN --idle-form BIN --data DIR --output FILE [--quick] [--commit TEXT]

#include <sys/utsname.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "bench/Measurements.h"
#include "tools/harness/XServer.h"

namespace {

std::string FirstLineWith(const std::string& path, const std::string& key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown";
}

std::string LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::vector<std::string> Machine(const Options& options, const std::string& loadBefore)
{
    utsname system{};
    uname(&system);
    char date[64];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M %Z", std::localtime(&now));
    return {
        std::string("Date: ") + date,
        "Machine: " + FirstLineWith("/proc/cpuinfo", "model name") + ", " +
            std::to_string(std::thread::hardware_concurrency()) + " CPUs, Linux " + system.release,
        "Load average (1, 5, 15 min) before and after: " + loadBefore + " / " + LoadAverage(),
        "Commit: " + (options.commit.empty() ? std::string("unknown") : options.commit),
        std::string("Mode: ") + (options.quick ? "quick (short durations, a smoke check)" : "full"),
        "X server: Xvfb, 24-bit, 1920 x 1200, started by the benchmark",
        "CPU time from " + CpuTimeSource() + "; wake-ups from voluntary + involuntary context switches in "
        "/proc/PID/status; figures are per process, as a share of one core",
    };
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (argument == "--quick")
            options.quick = true;
        else if (argument == "--game")
            ok = value(options.game);
        else if (argument == "--floor")
            ok = value(options.floor);
        else if (argument == "--idle-form")
            ok = value(options.idleForm);
        else if (argument == "--data")
            ok = value(options.data);
        else if (argument == "--output")
            ok = value(options.output);
        else if (argument == "--commit")
            ok = value(options.commit);
        else
            ok = false;
        if (!ok) return false;
    }
    if (options.game.empty() || options.floor.empty() || options.idleForm.empty() || options.data.empty() ||
        options.output.empty())
        return false;
    // The programs start in folders of their own.
    for (std::string* path : {&options.game, &options.floor, &options.idleForm, &options.data})
        *path = std::filesystem::absolute(*path).string();
    return true;
}

// Each measurement in turn; the table lists the idle and play figures first.
void MeasureAll(const Bench& bench, Report& report)
{
    std::cout << "Measuring start-up..." << std::endl;
    const StartupFigures startup = MeasureStartup(bench);
    std::cout << "Measuring a form without a timer..." << std::endl;
    const NoTimerFigures noTimer = MeasureNoTimer(bench);
    std::cout << "Measuring a ball's fall with the pointer still and moving..." << std::endl;
    const FallFigures fall = MeasureFall(bench);
    std::cout << "Measuring a held key..." << std::endl;
    const HeldKeyFigures heldKey = MeasureHeldKey(bench);
    std::cout << "Measuring the title screen beside the floor clients and the peers..." << std::endl;
    const IdleFigures idle = MeasureIdle(bench);
    std::cout << "Measuring play with no input..." << std::endl;
    const QuietPlayFigures quietPlay = MeasureQuietPlay(bench);
    std::cout << "Measuring play with a scripted player..." << std::endl;
    const PlayFigures play = MeasurePlay(bench);

    ReportIdle(report, idle, bench.plan);
    ReportQuietPlay(report, quietPlay, bench.plan);
    ReportPlay(report, play, bench.plan, idle.LightestPeer());
    ReportFall(report, fall, bench.plan.fallRounds);
    ReportHeldKey(report, heldKey);
    ReportStartup(report, startup);
    ReportNoTimer(report, noTimer);
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << "usage: korvanta-bench --game BIN --floor BIN --idle-form BIN --data DIR --output FILE [--quick] "
                     "[--commit TEXT]\n";
        return 2;
    }
    const Plan& plan = options.quick ? quickPlan : fullPlan;
    const std::string loadBefore = LoadAverage();

    XServer server;
    if (!server.Start(24, 1920, 1200)) {
        std::cerr << "korvanta-bench: Xvfb did not start\n";
        return 2;
    }
    setenv("DISPLAY", server.Name().c_str(), 1);

    Report report;
    try {
        PlayerView screen(options.data + "/pallini27x27.bin");
        if (!screen.Connected()) throw Failure{"no connection to the benchmark's Xvfb"};
        MeasureAll(Bench{options, plan, screen}, report);
    } catch (const Failure& failure) {
        report.Check("Benchmark run", "failed: " + failure.what, "completes", false);
    }

    const std::string title = options.quick ? "Korvanta benchmark (quick)" : "Korvanta benchmark";
    std::cout << "\n" << report.Table();
    std::ofstream(options.output) << report.Markdown(title, Machine(options, loadBefore));
    std::cout << "Written to " << options.output << "\n";
    return report.AllMet() ? 0 : 1;
}
