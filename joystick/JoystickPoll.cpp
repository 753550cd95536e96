#include "joystick/JoystickPoll.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "joystick/JoystickConfig.h"
#include "joystick/JoystickRecord.h"
#include "util/ChildProcesses.h"
#include "util/Log.h"

namespace {

struct JoystickSnapshot {
    bool active = false;
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool buttonPressed = false;
    std::uint8_t buttonNumber = 0;
};

JoystickSnapshot snapshot;
// The game process never opens the device itself; the descriptor only mirrors the reader's.
int deviceFd = -1;

pid_t readerProcess = -1;
int recordMadeFd = -1;
bool recordMade = false;
// Reported once for each reader.
bool untrustedReported = false;

// Until the reader says so, the record under the name may still be another game's, which the
// reader is about to find held and leave alone.
bool ReaderMadeItsRecord()
{
    char byte = 0;
    if (!recordMade && recordMadeFd >= 0) recordMade = read(recordMadeFd, &byte, 1) == 1;
    return recordMade;
}

// The reader has ended (killed, or its device gone): its record, if it left one, is stale and
// would show the directions of its last moment for ever.
void LetGoOfReader(bool report)
{
    if (ReaderMadeItsRecord()) {
        if (report) Log("Joystick reader ended. Use the cursor keys to move.");
        RemoveStaleRecord();
    }
    if (recordMadeFd >= 0) close(recordMadeFd);
    recordMadeFd = -1;
    readerProcess = -1;
    recordMade = false;
}

// It is read with pread rather than through a mapping: an object shorter than the record (left
// by another program, or shrunk while being read) then gives a short read instead of a SIGBUS at
// the first byte past its end.
bool ReadRecord(unsigned char* record)
{
    const int fd = shm_open(JoystickRecordName(), O_RDONLY, 0);
    if (fd < 0) return false;
    struct stat info {};
    bool whole = fstat(fd, &info) == 0 && IsTrustedRecord(info);
    if (!whole && !untrustedReported) {
        untrustedReported = true;
        Log(std::string(untrustedRecordMessage) + JoystickRecordName());
    }
    whole = whole && info.st_size >= static_cast<off_t>(joystickRecordSize) &&
            pread(fd, record, joystickRecordSize, 0) == static_cast<ssize_t>(joystickRecordSize);
    close(fd);
    return whole;
}

}  // namespace

void WatchJoystickReader(pid_t reader, int madeFd)
{
    LetGoOfReader(false);
    readerProcess = reader;
    recordMadeFd = madeFd;
    untrustedReported = false;
}

void PollJoystick()
{
    if (joystickSettings.joystickEnable == -1) Log("Errore lettura configurazione joystick");
    if (joystickSettings.joystickEnable == 0 || joystickSettings.joystickEnable == -1) return;

    // Reaps the reader if it has ended; from then on nothing is polled.
    if (readerProcess > 0 && !ChildRunning(readerProcess)) LetGoOfReader(true);
    unsigned char record[joystickRecordSize] = {};
    if (readerProcess <= 0 || !ReaderMadeItsRecord() || !ReadRecord(record)) {
        snapshot = JoystickSnapshot{};
        return;
    }
    snapshot.active = record[recordActive] != 0;
    snapshot.up = record[recordUp] != 0;
    snapshot.down = record[recordDown] != 0;
    snapshot.left = record[recordLeft] != 0;
    snapshot.right = record[recordRight] != 0;
    snapshot.buttonNumber = record[recordButtonNumber];
    snapshot.buttonPressed = record[recordButtonPressed] != 0;
}

bool JoystickLeft() { return snapshot.active && snapshot.left; }
bool JoystickRight() { return snapshot.active && snapshot.right; }
bool JoystickUp() { return snapshot.active && snapshot.up; }
bool JoystickDown() { return snapshot.active && snapshot.down; }
bool JoystickButtonPressed() { return snapshot.active && snapshot.buttonPressed; }
std::uint8_t JoystickButtonNumber() { return snapshot.active ? snapshot.buttonNumber : 0; }

void CloseJoystick()
{
    if (deviceFd >= 0) close(deviceFd);
    deviceFd = -1;
    LetGoOfReader(false);
    snapshot = JoystickSnapshot{};
}
