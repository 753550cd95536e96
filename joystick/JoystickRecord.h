#pragma once
// The record that the reader process publishes in POSIX shared memory and the game polls:
// 7 bytes, one per field, written byte by byte without locks (a poll may see a direction
// half-updated, which at worst shows it one poll late).

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
