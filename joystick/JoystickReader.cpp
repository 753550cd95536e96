#include "joystick/JoystickReader.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "joystick/JoystickConfig.h"
#include "joystick/JoystickPoll.h"
#include "joystick/JoystickRecord.h"
#include "util/ChildProcesses.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace {

int deviceFd = -1;
bool active = false;
volatile sig_atomic_t recordCreated = 0;
// The pipe on which the reader tells the game that the record under the name is the one it made.
int recordMadeFd = -1;

// The game ends the reader with SIGTERM, usually while it waits in read. Removing the record
// here, rather than leaving that to the game, also removes it when the game never polled or died
// without cleaning up. The reader still holds its lock here, so the name is still its record's.
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

// Makes the record exclusively, or takes the place of a stale one of this user; a record that a
// running reader holds, or another user's, is left alone and this reader goes without. Returns
// the record's descriptor, locked, or -1 after logging why.
int CreateOwnRecord()
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = shm_open(JoystickRecordName(), O_CREAT | O_EXCL | O_RDWR, 0600);
        if (fd >= 0) {
            recordCreated = 1;
            struct stat info {};
            if (flock(fd, LOCK_EX) == 0 && fstat(fd, &info) == 0 && IsTrustedRecord(info) && NameStillNames(fd))
                return fd;
            // Taken for stale and removed by another reader in the moment before the lock.
            recordCreated = 0;
            close(fd);
            continue;
        }
        if (errno != EEXIST) break;
        const RecordState state = RemoveStaleRecord();
        if (state == RecordState::gone) continue;
        if (state == RecordState::held) {
            Log(std::string("Joystick in use by another game: ") + JoystickRecordName());
            return -1;
        }
        if (state == RecordState::foreign) {
            Log(std::string(untrustedRecordMessage) + JoystickRecordName());
            return -1;
        }
        break;
    }
    Log("shm_open fallita");
    return -1;
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
        // A record that a killed reader of an earlier run left behind is tidied away.
        RemoveStaleRecord();
    }

    ReadJoystickEvents();

    if (deviceFd >= 0) close(deviceFd);
    deviceFd = -1;
    active = false;
}

void ReadJoystickEvents()
{
    if (!active) return;
    RemoveRecordOnTerminate();
    const int shm = CreateOwnRecord();
    if (shm < 0) return;
    void* mapping = MAP_FAILED;
    // Without its 7 bytes the mapping would fault at the first write.
    if (ftruncate(shm, joystickRecordSize) != 0) {
        Log("ftruncate fallita");
    } else if ((mapping = mmap(nullptr, joystickRecordSize, PROT_READ | PROT_WRITE, MAP_SHARED, shm, 0)) ==
               MAP_FAILED) {
        Log("mmap fallita");
    } else {
        auto* record = static_cast<unsigned char*>(mapping);
        std::memset(record, 0, joystickRecordSize);
        record[recordActive] = 1;
        if (recordMadeFd >= 0 && write(recordMadeFd, "1", 1) != 1) {
            // The game is gone or never listened: nobody polls the record.
        }
        js_event event{};
        while (deviceFd >= 0 && ReadWholeEvent(deviceFd, event)) ApplyJoystickEvent(record, event, joystickSettings);
        munmap(mapping, joystickRecordSize);
    }
    // Removed while still locked: once the lock goes, another reader may make a record of its own
    // under the same name, which this one must not remove.
    shm_unlink(JoystickRecordName());
    recordCreated = 0;
    close(shm);
}

pid_t StartJoystickReader(const std::string& devicePath)
{
    int recordMade[2];
    if (pipe2(recordMade, O_CLOEXEC | O_NONBLOCK) != 0) {
        WatchJoystickReader(-1, -1);
        return -1;
    }
    // Tied: the reader must not outlive a game that died without ending it.
    const pid_t reader = ForkTiedChild();
    if (reader == 0) {
        close(recordMade[0]);
        recordMadeFd = recordMade[1];
        // A copy of the game, for as long as the game runs: it must not hold the game's X
        // connection, which would keep a killed game's window on the screen.
        CloseInheritedDescriptors(recordMadeFd);
        RunJoystickReader(devicePath);
        _exit(0);
    }
    close(recordMade[1]);
    if (reader < 0) {
        close(recordMade[0]);
        WatchJoystickReader(-1, -1);
        return -1;
    }
    WatchJoystickReader(reader, recordMade[0]);
    return reader;
}

void StopJoystickReader(pid_t reader)
{
    SignalChild(reader, SIGTERM);
    WaitForChild(reader);
}
