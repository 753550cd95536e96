#include "util/ChildProcesses.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

// The game has at most a reader and a sound or two alive at once.
constexpr int capacity = 64;

static_assert(std::atomic<pid_t>::is_always_lock_free, "the list is read inside a signal handler");
std::atomic<pid_t> listedChildren[capacity];

bool handlerInstalled = false;
struct sigaction previousAction {};
bool forkFails = false;

// Reaps the listed pid if it has ended; true when it is gone (ended now, or reaped by someone
// else's wait before). Runs inside the signal handler too: async-signal-safe calls only.
bool ReapIfEnded(pid_t pid)
{
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    return result == pid || (result < 0 && errno == ECHILD);
}

void ReapListedChildren()
{
    for (std::atomic<pid_t>& slot : listedChildren) {
        const pid_t pid = slot.load();
        if (pid > 0 && ReapIfEnded(pid)) slot.store(0);
    }
}

void OnChildEnded(int signalNumber, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    ReapListedChildren();
    // Whoever handled SIGCHLD before us still hears about its own children.
    if (previousAction.sa_flags & SA_SIGINFO) {
        if (previousAction.sa_sigaction) previousAction.sa_sigaction(signalNumber, info, context);
    } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signalNumber);
    }
    errno = savedErrno;
}

void InstallHandler()
{
    if (handlerInstalled) return;
    struct sigaction action {};
    action.sa_sigaction = OnChildEnded;
    action.sa_flags = SA_SIGINFO | SA_RESTART | SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGCHLD, &action, &previousAction) == 0) handlerInstalled = true;
}

// Keeps the handler away from the list while the list is being read or changed.
class ChildSignalBlock {
public:
    ChildSignalBlock()
    {
        sigset_t childSignal;
        sigemptyset(&childSignal);
        sigaddset(&childSignal, SIGCHLD);
        sigprocmask(SIG_BLOCK, &childSignal, &previousMask);
    }
    ~ChildSignalBlock() { sigprocmask(SIG_SETMASK, &previousMask, nullptr); }
    ChildSignalBlock(const ChildSignalBlock&) = delete;
    ChildSignalBlock& operator=(const ChildSignalBlock&) = delete;

private:
    sigset_t previousMask{};
};

std::atomic<pid_t>* FindSlot(pid_t pid)
{
    for (std::atomic<pid_t>& slot : listedChildren)
        if (slot.load() == pid) return &slot;
    return nullptr;
}

// The argument vector is made before the fork: the child only calls what is safe after one.
std::vector<char*> ArgumentVector(const std::vector<std::string>& command)
{
    std::vector<char*> arguments;
    for (const std::string& word : command) arguments.push_back(const_cast<char*>(word.c_str()));
    arguments.push_back(nullptr);
    return arguments;
}

// In the child of a fork. The parent may die before the tie is made: nobody would tell the child.
void TieToParent(pid_t parent)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(0);
}

// In a tied child: becomes the program. The handlers of the parent's signals end with the exec;
// its blocked signals must be let through.
[[noreturn]] void BecomeProgram(char* const* arguments)
{
    CloseInheritedDescriptors();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execvp(arguments[0], arguments);
    // As a shell would, say which program could not be run.
    const char* reason = std::strerror(errno);
    const struct iovec parts[] = {{const_cast<char*>(arguments[0]), std::strlen(arguments[0])},
                                  {const_cast<char*>(": "), 2},
                                  {const_cast<char*>(reason), std::strlen(reason)},
                                  {const_cast<char*>("\n"), 1}};
    if (writev(STDERR_FILENO, parts, 4) < 0) {
        // Nothing more can be reported.
    }
    _exit(127);
}

// A kernel older than close_range answers ENOSYS, and the descriptors would stay open without a
// word: they are then closed one by one, up to the highest this process may hold.
void CloseRange(unsigned first, unsigned last)
{
    if (close_range(first, last, 0) == 0) return;
    rlimit limit{};
    constexpr rlim_t ceiling = 1 << 16;
    const rlim_t top = getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < ceiling ? limit.rlim_cur : ceiling;
    for (rlim_t fd = first; fd <= last && fd < top; ++fd) close(static_cast<int>(fd));
}

}  // namespace

pid_t ForkChild()
{
    ChildSignalBlock block;
    if (forkFails) {
        errno = EAGAIN;
        return -1;
    }
    InstallHandler();
    std::atomic<pid_t>* slot = FindSlot(0);
    if (!slot) {
        ReapListedChildren();
        slot = FindSlot(0);
    }
    if (!slot) {
        // Forking anyway would make a child that nobody reaps.
        errno = EAGAIN;
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        for (std::atomic<pid_t>& listed : listedChildren) listed.store(0);
        if (handlerInstalled) sigaction(SIGCHLD, &previousAction, nullptr);
        handlerInstalled = false;
    } else if (pid > 0) {
        slot->store(pid);
    }
    return pid;
}

bool SignalChild(pid_t pid, int signalNumber)
{
    if (pid <= 0) return false;
    ChildSignalBlock block;
    std::atomic<pid_t>* slot = FindSlot(pid);
    if (!slot) return false;
    // A zombie is reaped rather than signalled; with SIGCHLD blocked nothing else reaps it
    // between this check and the kill, so the pid is still our child's.
    if (ReapIfEnded(pid)) {
        slot->store(0);
        return false;
    }
    return kill(pid, signalNumber) == 0;
}

bool ChildRunning(pid_t pid)
{
    if (pid <= 0) return false;
    ChildSignalBlock block;
    std::atomic<pid_t>* slot = FindSlot(pid);
    if (!slot) return false;
    if (ReapIfEnded(pid)) {
        slot->store(0);
        return false;
    }
    return true;
}

void WaitForChild(pid_t pid)
{
    if (pid <= 0) return;
    ChildSignalBlock block;
    std::atomic<pid_t>* slot = FindSlot(pid);
    if (!slot) return;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    slot->store(0);
}

void SimulateForkFailure(bool fail) { forkFails = fail; }

pid_t ForkTiedChild()
{
    const pid_t parent = getpid();
    const pid_t child = ForkChild();
    if (child == 0) TieToParent(parent);
    return child;
}

pid_t StartProgram(const std::vector<std::string>& command)
{
    if (command.empty()) return -1;
    const std::vector<char*> arguments = ArgumentVector(command);
    const pid_t child = ForkTiedChild();
    if (child == 0) BecomeProgram(arguments.data());
    return child;
}

bool RunProgramAndWait(const std::vector<std::string>& command)
{
    if (command.empty()) return false;
    const std::vector<char*> arguments = ArgumentVector(command);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        TieToParent(parent);
        BecomeProgram(arguments.data());
    }
    if (child < 0) return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void CloseInheritedDescriptors(int keep)
{
    if (keep > STDERR_FILENO) {
        if (keep > STDERR_FILENO + 1) CloseRange(STDERR_FILENO + 1, static_cast<unsigned>(keep - 1));
        CloseRange(static_cast<unsigned>(keep + 1), ~0U);
    } else {
        CloseRange(STDERR_FILENO + 1, ~0U);
    }
}
