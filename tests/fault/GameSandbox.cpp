#include "tests/fault/GameSandbox.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/harness/Poll.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The device nodes a program run through the shell may need; everything else of /dev is absent.
const char* const deviceNodes[] = {"null", "zero", "full", "random", "urandom"};

std::string ReadWhole(const std::string& path)
{
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    return text;
}

void WriteWhole(const std::string& path, const std::string& contents, mode_t mode = 0644)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
    chmod(path.c_str(), mode);
}

// The state letter of a process ('Z' for a zombie) and its parent, from /proc; 0 once it is gone.
std::pair<char, pid_t> StateAndParent(pid_t process)
{
    const std::string text = ReadWhole("/proc/" + std::to_string(process) + "/stat");
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos || close + 4 >= text.size()) return {0, 0};
    return {text[close + 2], static_cast<pid_t>(std::atol(text.c_str() + close + 4))};
}

std::vector<pid_t> AllProcesses()
{
    std::vector<pid_t> found;
    DIR* proc = opendir("/proc");
    while (const dirent* entry = proc ? readdir(proc) : nullptr)
        if (std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) found.push_back(std::atoi(entry->d_name));
    if (proc) closedir(proc);
    return found;
}

// The test process adopts the orphans of its games (it is their subreaper): reap those that ended.
void ReapOrphans(pid_t except)
{
    for (const pid_t process : AllProcesses()) {
        const auto [state, parent] = StateAndParent(process);
        if (state == 'Z' && parent == getpid() && process != except) waitpid(process, nullptr, WNOHANG);
    }
}

std::vector<pid_t> ProcessesWorkingIn(const std::string& folder)
{
    std::vector<pid_t> found;
    for (const pid_t process : AllProcesses()) {
        if (process == getpid()) continue;
        std::error_code error;
        const fs::path cwd = fs::read_symlink("/proc/" + std::to_string(process) + "/cwd", error);
        if (!error && cwd == folder) found.push_back(process);
    }
    return found;
}

// Runs in the forked child, before the game is executed: only what a child may do after fork.
[[noreturn]] void Fail(int statusPipe, const char* step)
{
    const std::string message = std::string(step) + ": " + std::strerror(errno);
    if (write(statusPipe, message.data(), message.size()) < 0) {
        // Nothing more can be reported.
    }
    _exit(126);
}

bool WriteProcFile(const char* path, const std::string& text)
{
    const int fd = open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return written;
}

// A mount namespace of its own; without root, inside a user namespace that maps the caller to root.
bool EnterOwnNamespace()
{
    if (unshare(CLONE_NEWNS) == 0) return true;
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    WriteProcFile("/proc/self/setgroups", "deny");
    return WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
}

// Puts the case's /dev in place of the real one: the few device nodes bound in from the real
// /dev, the rest (shm, input) the case's own folders.
void MountDevices(const std::string& devices, int statusPipe)
{
    if (!EnterOwnNamespace()) Fail(statusPipe, "unshare");
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) Fail(statusPipe, "mount private");
    for (const char* node : deviceNodes) {
        const std::string target = devices + "/" + node;
        if (mount((std::string("/dev/") + node).c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0)
            Fail(statusPipe, "bind device");
    }
    if (mount(devices.c_str(), "/dev", nullptr, MS_BIND | MS_REC, nullptr) != 0) Fail(statusPipe, "bind /dev");
}

}  // namespace

const char* const GameSandbox::tablePath = "Data/Korvanta/Score/Classifica.txt";

std::string GameSandbox::SeededTable()
{
    return "00000090 ZED          Level 4\n"
           "00000075 MARTA        Level 3\n"
           "00000060 ANNA         Level 3\n"
           "00000042 BOB          Level 2\n"
           "00000030 CARLO        Level 2\n"
           "00000021 DORA         Level 2\n"
           "00000015 EVA          Level 1\n"
           "00000009 FEDE         Level 1\n"
           "00000004 GINO         Level 1\n"
           "00000002 IDA          Level 1\n";
}

std::string Ending::Describe() const
{
    return exited ? "exit status " + std::to_string(code) : "signal " + std::to_string(signal);
}

std::string GameSandbox::IsolationUnavailable()
{
    static const std::string reason = [] {
        const pid_t probe = fork();
        if (probe == 0)
            _exit(EnterOwnNamespace() && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : 1);
        int status = 0;
        if (probe < 0 || waitpid(probe, &status, 0) != probe || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return std::string("no mount namespace can be made here (needs root or user namespaces)");
        return std::string();
    }();
    return reason;
}

GameSandbox::GameSandbox()
{
    std::string pattern = (fs::temp_directory_path() / "korvanta-fault-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root = pattern;
    // Other users' games must reach the folders below.
    chmod(root.c_str(), 0755);
    work = root + "/work";
    fs::create_directories(work + "/Data/Korvanta/Score");
    for (const auto& entry : fs::directory_iterator(KORVANTA_DATA_DIR))
        if (entry.is_regular_file()) fs::copy_file(entry.path(), work + "/Data/" + entry.path().filename().string());
    Write(tablePath, SeededTable());

    // The fake programs write down their calls in a folder that every user may write to, since
    // the working folder may be read-only.
    fs::create_directories(root + "/record");
    chmod((root + "/record").c_str(), 0777);
    fs::create_directories(root + "/bin");
    fs::create_directories(root + "/browsers");
    const std::string record = root + "/record/";
    // bin holds every fake program; browsers, for a PATH without any aplay, only the browsers.
    WriteWhole(root + "/bin/aplay", "#!/bin/sh\necho \"$@\" >> " + record + "aplay.log\n", 0755);
    for (const char* folder : {"/bin/", "/browsers/"})
        for (const char* browser : {"firefox", "thunderbird"})
            WriteWhole(root + folder + browser,
                       std::string("#!/bin/sh\necho ") + browser + " \"$@\" >> " + record + "links.log\n", 0755);
    fs::create_directories(root + "/out");
}

GameSandbox::~GameSandbox()
{
    EndLeftovers();
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
        if (it->is_directory(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(work, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

void GameSandbox::EndLeftovers()
{
    if (pid > 0 && !ending) {
        kill(-pid, SIGKILL);
        kill(pid, SIGKILL);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    for (const pid_t process : ProcessesWorkingIn(work)) kill(process, SIGKILL);
    WaitFor(
        [this] {
            ReapOrphans(-1);
            return ProcessesWorkingIn(work).empty();
        },
        5s);
}

void GameSandbox::SetFakeAplay(const std::string& command) const
{
    WriteWhole(root + "/bin/aplay", "#!/bin/sh\necho \"$@\" >> " + root + "/record/aplay.log\n" + command + "\n", 0755);
}

void GameSandbox::Write(const std::string& relative, const std::string& contents) const
{
    std::ofstream(Path(relative), std::ios::binary | std::ios::trunc) << contents;
}

std::string GameSandbox::Read(const std::string& relative) const { return ReadWhole(Path(relative)); }

bool GameSandbox::Exists(const std::string& relative) const { return access(Path(relative).c_str(), F_OK) == 0; }

std::vector<std::string> GameSandbox::SharedObjects() const
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SharedMemory(), error)) names.push_back(entry.path().filename());
    return names;
}

std::string GameSandbox::Output() const { return ReadWhole(root + "/out/stdout"); }
std::string GameSandbox::Errors() const { return ReadWhole(root + "/out/stderr"); }
std::string GameSandbox::SoundsPlayed() const { return ReadWhole(root + "/record/aplay.log"); }
std::string GameSandbox::LinksOpened() const { return ReadWhole(root + "/record/links.log"); }

std::string GameSandbox::CheckerReport() const
{
    static const char* const markers[] = {"Sanitizer",    "runtime error:", "==ERROR",      "definitely lost: [1-9]",
                                          "Invalid read", "Invalid write",  "uninitialised"};
    std::istringstream lines(Errors());
    std::string report;
    for (std::string line; std::getline(lines, line);)
        for (const char* marker : markers)
            if (line.find(marker) != std::string::npos) {
                report += line + "\n";
                break;
            }
    return report;
}

void GameSandbox::PrepareDevices(bool joystick) const
{
    const std::string devices = root + "/dev";
    fs::create_directories(devices + "/shm");
    chmod((devices + "/shm").c_str(), 01777);
    for (const char* node : deviceNodes) WriteWhole(devices + "/" + node, "");
    std::error_code ignored;
    fs::create_directory_symlink("/proc/self/fd", devices + "/fd", ignored);
    const char* const streams[] = {"stdin", "stdout", "stderr"};
    for (int i = 0; i < 3; ++i)
        fs::create_symlink("/proc/self/fd/" + std::to_string(i), devices + "/" + streams[i], ignored);
    if (joystick) {
        fs::create_directories(devices + "/input");
        mkfifo((devices + "/input/js0").c_str(), 0666);
        chmod((devices + "/input/js0").c_str(), 0666);
    }
}

// Gives the working folder to the case's user, keeping every mode the case has set.
void GameSandbox::HandOver() const
{
    if (lchown(work.c_str(), user, user) != 0) return;
    for (const auto& entry : fs::recursive_directory_iterator(work))
        if (lchown(entry.path().c_str(), user, user) != 0) return;
}

bool GameSandbox::Start(const GameRun& run)
{
    PrepareDevices(run.joystick);
    if (run.asOtherUser) {
        // A user id no other process has, so that the limit on processes counts this game only.
        user = static_cast<uid_t>(3000000 + getpid() % 1000000);
        HandOver();
    }
    const int out = open((root + "/out/stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = open((root + "/out/stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int status[2];
    if (out < 0 || err < 0 || pipe2(status, O_CLOEXEC) != 0) return false;

    std::vector<std::string> words = run.launcher;
    words.emplace_back(KORVANTA_BINARY);
    std::vector<char*> arguments;
    for (std::string& word : words) arguments.push_back(word.data());
    arguments.push_back(nullptr);
    const std::string devices = root + "/dev";
    const std::string path = run.withoutAplay ? root + "/browsers" : root + "/bin:/usr/bin:/bin";

    pid = fork();
    if (pid == 0) {
        close(status[0]);
        // The game and all it starts form a group that the case can end as one.
        setpgid(0, 0);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        MountDevices(devices, status[1]);
        if (run.processLimit > 0) {
            const rlimit limit{static_cast<rlim_t>(run.processLimit), static_cast<rlim_t>(run.processLimit)};
            if (setrlimit(RLIMIT_NPROC, &limit) != 0) Fail(status[1], "setrlimit");
            // LeakSanitizer stops the world from a process of its own at exit, which the limit
            // forbids; the other cases check for leaks.
            const char* options = std::getenv("ASAN_OPTIONS");
            setenv("ASAN_OPTIONS", ((options ? std::string(options) + ":" : std::string()) + "detect_leaks=0").c_str(),
                   1);
        }
        if (run.asOtherUser) {
            if (setgroups(0, nullptr) != 0 || setresgid(user, user, user) != 0 || setresuid(user, user, user) != 0)
                Fail(status[1], "change user");
        }
        if (chdir(work.c_str()) != 0) Fail(status[1], "chdir");
        if (run.display.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", run.display.c_str(), 1);
        setenv("PATH", path.c_str(), 1);
        execvp(arguments[0], arguments.data());
        Fail(status[1], "exec");
    }
    close(out);
    close(err);
    close(status[1]);
    std::string failure;
    char buffer[256];
    for (ssize_t got; (got = read(status[0], buffer, sizeof buffer)) > 0;)
        failure.append(buffer, static_cast<std::size_t>(got));
    close(status[0]);
    if (pid < 0) failure = "fork failed";
    if (!failure.empty()) {
        ADD_FAILURE() << "the game's world could not be made: " << failure;
        Wait(5s);
        return false;
    }
    return true;
}

void GameSandbox::Signal(int signalNumber) const
{
    if (pid > 0 && !ending) kill(pid, signalNumber);
}

std::optional<Ending> GameSandbox::Wait(std::chrono::milliseconds deadline)
{
    WaitFor(
        [&] {
            int status = 0;
            if (pid > 0 && !ending && waitpid(pid, &status, WNOHANG) == pid)
                ending = Ending{WIFEXITED(status), WIFEXITED(status) ? WEXITSTATUS(status) : 0,
                                WIFSIGNALED(status) ? WTERMSIG(status) : 0};
            return pid <= 0 || ending.has_value();
        },
        deadline);
    return ending;
}

bool GameSandbox::Running() { return pid > 0 && !Wait(0ms); }

std::vector<pid_t> GameSandbox::ProcessesLeft(std::chrono::milliseconds deadline)
{
    std::vector<pid_t> left;
    WaitFor(
        [&] {
            ReapOrphans(ending ? -1 : pid);
            left = ProcessesWorkingIn(work);
            return left.empty();
        },
        deadline);
    return left;
}
