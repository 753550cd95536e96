#include "joystick/JoystickReader.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "joystick/JoystickConfig.h"
#include "joystick/JoystickRecord.h"
#include "util/ChildProcesses.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace {

int deviceFd = -1;
bool active = false;
volatile sig_atomic_t recordCreated = 0;

// The game ends the reader with SIGTERM, usually while it waits in read. Removing the record
// here, rather than leaving that to the game, also removes it when the game never polled (it
// then never learnt that the record existed) or died without cleaning up: a record left behind
// would show the last directions of this run as a live joystick in the next one.
void OnTerminate(int)
{
    if (recordCreated) shm_unlink(JoystickRecordName());
    _exit(0);
}

// Ctrl-C in a terminal reaches the whole process group, the reader included: it must tidy up
// as it does for the game's SIGTERM.
void RemoveRecordOnTerminate()
{
    struct sigaction action {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// The device delivers whole events; a pipe or FIFO standing in for it may split one.
bool ReadWholeEvent(int fd, js_event& event)
{
    auto* bytes = reinterpret_cast<unsigned char*>(&event);
    std::size_t filled = 0;
    while (filled < sizeof event) {
        const ssize_t got = read(fd, bytes + filled, sizeof event - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

bool InRange(int value, std::int32_t low, std::int32_t high) { return low <= value && value <= high; }

}  // namespace

void ApplyJoystickEvent(unsigned char* record, const js_event& event, const JoystickSettings& settings)
{
    if (event.type == JS_EVENT_AXIS) {
        bool up = false;
        bool down = false;
        bool left = false;
        bool right = false;
        if (event.number == settings.aixsXCfg) {
            if (InRange(event.value, settings.minValueLeftCfg, settings.maxValueLeftCfg))
                left = true;
            else if (InRange(event.value, settings.minValueRightCfg, settings.maxValueRightCfg))
                right = true;
        } else if (event.number == settings.aixsYCfg) {
            if (InRange(event.value, settings.minValueUpCfg, settings.maxValueUpCfg))
                up = true;
            else if (InRange(event.value, settings.minValueDownCfg, settings.maxValueDownCfg))
                down = true;
        }
        record[recordUp] = up;
        record[recordDown] = down;
        record[recordLeft] = left;
        record[recordRight] = right;
    } else if (event.type == JS_EVENT_BUTTON) {
        record[recordButtonNumber] = event.number;
        record[recordButtonPressed] = event.value != 0;
    }
}

void RunJoystickReader(int deviceNumber) { RunJoystickReader("/dev/input/js" + IntToText(deviceNumber)); }

void RunJoystickReader(const std::string& devicePath)
{
    LoadJoystickConfig();
    if (joystickSettings.joystickEnable == -1) Log("Errore lettura configurazione joystick");
    if (joystickSettings.joystickEnable == -1 || joystickSettings.joystickEnable == 0) return;

    deviceFd = open(devicePath.c_str(), O_RDONLY | O_CLOEXEC);
    active = deviceFd >= 0;
    if (!active) {
        Log("Could not open joystick. Use the cursor keys to move.");
        // A record that a killed reader of an earlier run left behind must not pass for a joystick.
        shm_unlink(JoystickRecordName());
    }

    ReadJoystickEvents();

    if (deviceFd >= 0) close(deviceFd);
    deviceFd = -1;
    if (active) shm_unlink(JoystickRecordName());
    recordCreated = 0;
    active = false;
}

void ReadJoystickEvents()
{
    if (!active) return;
    RemoveRecordOnTerminate();
    const int shm = shm_open(JoystickRecordName(), O_CREAT | O_RDWR, 0666);
    if (shm < 0) {
        Log("shm_open fallita");
        return;
    }
    recordCreated = 1;
    // Without its 7 bytes the mapping would fault at the first write.
    if (ftruncate(shm, joystickRecordSize) != 0) {
        Log("ftruncate fallita");
        close(shm);
        return;
    }
    void* mapping = mmap(nullptr, joystickRecordSize, PROT_READ | PROT_WRITE, MAP_SHARED, shm, 0);
    if (mapping == MAP_FAILED) {
        Log("mmap fallita");
        close(shm);
        return;
    }
    auto* record = static_cast<unsigned char*>(mapping);
    std::memset(record, 0, joystickRecordSize);
    record[recordActive] = 1;

    js_event event{};
    while (deviceFd >= 0 && ReadWholeEvent(deviceFd, event)) ApplyJoystickEvent(record, event, joystickSettings);

    munmap(mapping, joystickRecordSize);
    close(shm);
}

pid_t StartJoystickReader(const std::string& devicePath)
{
    const pid_t game = getpid();
    const pid_t reader = ForkChild();
    if (reader != 0) return reader;
    // The reader must not outlive a game that died without ending it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != game) _exit(0);
    RunJoystickReader(devicePath);
    _exit(0);
}

void StopJoystickReader(pid_t reader)
{
    SignalChild(reader, SIGTERM);
    WaitForChild(reader);
}
