#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tools/harness/Poll.h"
#include "util/ChildProcesses.h"
#include "util/Files.h"

using namespace std::chrono_literals;

namespace {

// /proc files are read with read(2): a process that ends while its file is read makes the read
// fail with ESRCH, which the C++ streams turn into an exception.
std::string ReadProcFile(const std::string& path)
{
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char buffer[1024];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    return text;
}

// The state letter of a process from /proc ('Z' for a zombie), or 0 once it is gone.
char ProcessState(pid_t pid)
{
    const std::string text = ReadProcFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? 0 : text[close + 2];
}

// A child that blocks until the test closes the other end of its pipe.
pid_t BlockedChild(int& release)
{
    int ends[2];
    if (pipe(ends) != 0) return -1;
    const pid_t pid = ForkChild();
    if (pid == 0) {
        close(ends[1]);
        char byte;
        while (read(ends[0], &byte, 1) > 0) {
        }
        _exit(0);
    }
    close(ends[0]);
    release = ends[1];
    return pid;
}

}  // namespace

TEST(ChildProcesses, AnEndedChildIsReapedWithoutBeingWaitedFor)
{
    const pid_t pid = ForkChild();
    if (pid == 0) _exit(3);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(WaitFor([&] { return ProcessState(pid) == 0; }, 10s)) << "state " << ProcessState(pid);
    EXPECT_FALSE(ChildRunning(pid));
    EXPECT_FALSE(SignalChild(pid, SIGTERM)) << "a reaped child is never signalled";
}

TEST(ChildProcesses, ARunningChildIsSignalledAndThenReaped)
{
    int release = -1;
    const pid_t pid = BlockedChild(release);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(ChildRunning(pid));
    EXPECT_TRUE(SignalChild(pid, SIGTERM));
    EXPECT_TRUE(WaitFor([&] { return ProcessState(pid) == 0; }, 10s));
    EXPECT_FALSE(ChildRunning(pid));
    close(release);
}

TEST(ChildProcesses, WaitForChildReturnsWhenTheChildHasEnded)
{
    int release = -1;
    const pid_t pid = BlockedChild(release);
    ASSERT_GT(pid, 0);
    close(release);
    WaitForChild(pid);
    EXPECT_EQ(ProcessState(pid), 0);
    EXPECT_FALSE(ChildRunning(pid));
    WaitForChild(pid);  // already reaped: returns at once
}

TEST(ChildProcesses, OtherChildrenAreLeftToTheirOwner)
{
    const pid_t listed = ForkChild();
    if (listed == 0) _exit(0);
    const pid_t unlisted = fork();
    if (unlisted == 0) _exit(7);
    ASSERT_GT(listed, 0);
    ASSERT_GT(unlisted, 0);
    ASSERT_TRUE(WaitFor([&] { return ProcessState(listed) == 0 && ProcessState(unlisted) == 'Z'; }, 10s));
    int status = 0;
    ASSERT_EQ(waitpid(unlisted, &status, 0), unlisted);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    EXPECT_FALSE(SignalChild(unlisted, SIGTERM));
}

TEST(ChildProcesses, TheShellStillReportsItsStatus)
{
    const pid_t pid = ForkChild();
    if (pid == 0) _exit(0);
    EXPECT_FALSE(RunShell("exit 0"));
    EXPECT_TRUE(RunShell("exit 3"));
}

TEST(ChildProcesses, TheChildStartsWithTheDefaultDisposition)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const pid_t pid = ForkChild();
    if (pid == 0) {
        struct sigaction current {};
        sigaction(SIGCHLD, nullptr, &current);
        const char verdict = (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL ? 'D' : 'H';
        if (write(ends[1], &verdict, 1) != 1) _exit(1);
        _exit(0);
    }
    ASSERT_GT(pid, 0);
    close(ends[1]);
    char verdict = 0;
    EXPECT_EQ(read(ends[0], &verdict, 1), 1);
    EXPECT_EQ(verdict, 'D');
    close(ends[0]);
    WaitForChild(pid);
}

TEST(ChildProcesses, ASimulatedFailureMakesNoChild)
{
    SimulateForkFailure(true);
    const pid_t pid = ForkChild();
    SimulateForkFailure(false);
    if (pid == 0) _exit(0);
    EXPECT_EQ(pid, -1);
}
