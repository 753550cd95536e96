#pragma once
// The game's side of the joystick: a snapshot of the shared record, refreshed by each poll.
// Only the record that the game's own reader made, while that reader runs, is read: a missing,
// short, untrusted or unannounced record, or a reader that has ended, means no joystick.

#include <sys/types.h>

#include <cstdint>

// The reader the polls listen to, and the read end of the pipe on which it says that it has
// made its record (StartJoystickReader calls this). -1: no reader, no joystick.
void WatchJoystickReader(pid_t reader, int recordMadeFd);

void PollJoystick();

// Each is false (or 0) while the snapshot says no joystick is active.
bool JoystickLeft();
bool JoystickRight();
bool JoystickUp();
bool JoystickDown();
bool JoystickButtonPressed();
std::uint8_t JoystickButtonNumber();

// At shut-down, after the reader was ended: removes the record the reader made if it is still
// there, and forgets the reader.
void CloseJoystick();
