#pragma once
// The record that the reader process publishes in POSIX shared memory and the game polls:
// 7 bytes, one per field, written byte by byte without locks (a poll may see a direction
// half-updated, which at worst shows it one poll late).
//
// The record is the reader's own: it makes it exclusively, readable and writable by its user
// alone, and holds an flock on it for as long as it runs. A record of the same user that no
// running reader holds is stale; any other record belongs to someone else and is left alone.

#include <sys/stat.h>

#include <cstddef>
#include <string>

inline constexpr std::size_t joystickRecordSize = 7;

enum JoystickRecordByte : std::size_t {
    recordActive = 0,
    recordUp = 1,
    recordDown = 2,
    recordLeft = 3,
    recordRight = 4,
    recordButtonNumber = 5,
    recordButtonPressed = 6,
};

// "/mem_shared_hardJoy" unless changed. Tests give each run a name of its own, so that they
// never meet a running game's record or each other's.
const char* JoystickRecordName();
void SetJoystickRecordName(const std::string& name);

// A record may be used only when it is a regular object of this user that nobody else may write:
// another user's joystick must not steer this game.
bool IsTrustedRecord(const struct stat& info);
// Logged, followed by the record's name, when a record turns out not to be trusted.
inline constexpr const char* untrustedRecordMessage = "Joystick record not trusted: ";

enum class RecordState {
    // There was no record, or there was a stale one and it has been removed.
    gone,
    // A running reader holds it: another game of this user is using the joystick.
    held,
    // It belongs to another user.
    foreign,
    // It cannot be opened at all.
    unopenable,
};

// Removes the record under the name if it is stale; any other record is left as it is.
RecordState RemoveStaleRecord();

// Whether the name still names the object open on fd: whoever removes a record by its name
// checks first that the name has not been given to another one meanwhile.
bool NameStillNames(int fd);
