#pragma once
// The joystick reader: a process of its own, so that the single-threaded game never blocks on
// the device. It turns the device's events into the shared record until the device ends or the
// process is ended with SIGTERM, and removes the record as it goes.

#include <linux/joystick.h>
#include <sys/types.h>

#include <string>

#include "joystick/JoystickSettings.h"

// The reader's main routine, run in the reader process: reads the configuration, opens the
// device ("/dev/input/js" and the number, or the path given) and serves its events.
void RunJoystickReader(int deviceNumber = 0);
void RunJoystickReader(const std::string& devicePath);
void ReadJoystickEvents();

// Applies one device event to the record's bytes: axis events set at most one direction, button
// events the last button's number and state; every other type, the kernel's initial-state
// events included, changes nothing.
void ApplyJoystickEvent(unsigned char* record, const js_event& event, const JoystickSettings& settings);

// Forks the reader process, which ends with _exit: nothing of the game's teardown (its X
// connection, its destructors, its buffered output) runs in it. Returns the reader's pid, or -1
// when no process could be made, in which case the game simply has no joystick.
pid_t StartJoystickReader(const std::string& devicePath = "/dev/input/js0");

// Ends the reader with SIGTERM unless it has already ended, and reaps it.
void StopJoystickReader(pid_t reader);
