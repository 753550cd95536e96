#pragma once
// The game's side of the joystick: a snapshot of the shared record, refreshed by each poll.
// A missing, short or unreadable record means no joystick.

#include <cstdint>

void PollJoystick();

// Each is false (or 0) while the snapshot says no joystick is active.
bool JoystickLeft();
bool JoystickRight();
bool JoystickUp();
bool JoystickDown();
bool JoystickButtonPressed();
std::uint8_t JoystickButtonNumber();

// At shut-down, after the reader was ended: removes the record if the game had seen it active.
void CloseJoystick();
