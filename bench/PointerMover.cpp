#include "bench/PointerMover.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>

namespace {

volatile sig_atomic_t stopRequested = 0;

void OnStop(int) { stopRequested = 1; }

std::int64_t Nanoseconds(const timespec& time) { return std::int64_t{time.tv_sec} * 1000000000 + time.tv_nsec; }

timespec FromNanoseconds(std::int64_t nanoseconds)
{
    return {static_cast<time_t>(nanoseconds / 1000000000), static_cast<long>(nanoseconds % 1000000000)};
}

std::int64_t Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return Nanoseconds(now);
}

// The mover's life, in the child: never returns.
[[noreturn]] void Move(int x, int y, int hertz, int answer)
{
    struct sigaction action {};
    action.sa_handler = OnStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    // A connection of its own: the parent's connections are not this process's to use.
    Display* display = XOpenDisplay(nullptr);
    if (!display) _exit(1);
    const std::int64_t period = 1000000000 / hertz;
    constexpr std::int64_t backlog = 20000000;
    const std::int64_t begin = Now();
    std::int64_t due = begin;
    PointerMover::Sent sent;
    while (!stopRequested) {
        XTestFakeMotionEvent(display, -1, x + static_cast<int>(sent.motions % 2), y, CurrentTime);
        XFlush(display);
        ++sent.motions;
        due += period;
        // A mover that fell behind (the machine is shared) sends the motions it missed back to
        // back, as a mouse's queued reports arrive, but never more than 20 ms of them: beyond that
        // it carries on from now. The rate it reached is reported, not assumed.
        if (const std::int64_t now = Now(); now > due + backlog) due = now - backlog;
        const timespec wake = FromNanoseconds(due);
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr);
    }
    XSync(display, False);
    sent.seconds = static_cast<double>(Now() - begin) / 1e9;
    if (write(answer, &sent, sizeof sent) != static_cast<ssize_t>(sizeof sent)) _exit(1);
    _exit(0);
}

}  // namespace

PointerMover::PointerMover(int x, int y, int hertz)
{
    int pipeEnds[2];
    if (hertz <= 0 || pipe(pipeEnds) != 0) return;
    const pid_t parent = getpid();
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // A parent that died before the tie was made would never send the signal.
        if (getppid() != parent) _exit(0);
        close(pipeEnds[0]);
        Move(x, y, hertz, pipeEnds[1]);
    }
    close(pipeEnds[1]);
    if (pid < 0) {
        close(pipeEnds[0]);
        return;
    }
    answer = pipeEnds[0];
}

PointerMover::~PointerMover() { Stop(); }

std::optional<PointerMover::Sent> PointerMover::Stop()
{
    if (pid <= 0) return std::nullopt;
    kill(pid, SIGTERM);
    std::optional<Sent> result;
    pollfd readable{answer, POLLIN, 0};
    Sent sent;
    if (poll(&readable, 1, 2000) == 1 && read(answer, &sent, sizeof sent) == static_cast<ssize_t>(sizeof sent))
        result = sent;
    else
        kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(answer);
    pid = -1;
    answer = -1;
    return result;
}
