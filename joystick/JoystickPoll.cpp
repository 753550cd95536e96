#include "joystick/JoystickPoll.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "joystick/JoystickConfig.h"
#include "joystick/JoystickRecord.h"
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

// The record is opened read-write although the poll only reads it: a record this player may not
// write belongs to another user's reader, and that user's joystick must not steer this game.
// It is read with pread rather than through a mapping: an object shorter than the record (left
// by another program, or shrunk while being read) then gives a short read instead of a SIGBUS at
// the first byte past its end.
bool ReadRecord(unsigned char* record)
{
    const int fd = shm_open(JoystickRecordName(), O_RDWR, 0666);
    if (fd < 0) return false;
    struct stat info {};
    const bool whole = fstat(fd, &info) == 0 && info.st_size >= static_cast<off_t>(joystickRecordSize) &&
                       pread(fd, record, joystickRecordSize, 0) == static_cast<ssize_t>(joystickRecordSize);
    close(fd);
    return whole;
}

}  // namespace

void PollJoystick()
{
    if (joystickSettings.joystickEnable == -1) Log("Errore lettura configurazione joystick");
    if (joystickSettings.joystickEnable == 0 || joystickSettings.joystickEnable == -1) return;

    unsigned char record[joystickRecordSize] = {};
    if (!ReadRecord(record)) {
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
    if (snapshot.active) shm_unlink(JoystickRecordName());
    snapshot = JoystickSnapshot{};
}
