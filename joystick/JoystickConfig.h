#pragma once
// "joystick.cfg" in the working directory: made with its default lines when missing, then read
// once per process. The reader process and the game each keep their own copy of the settings.

#include <string>
#include <vector>

#include "joystick/JoystickSettings.h"

inline constexpr const char* joystickConfigFile = "joystick.cfg";

// The settings of this process, all -1 until LoadJoystickConfig has read them.
extern JoystickSettings joystickSettings;

void LoadJoystickConfig();

// Drops the settings read, so that the next LoadJoystickConfig reads the file again.
void ForgetJoystickConfig();

// The eleven lines of a newly made file, in their order.
const std::vector<std::string>& DefaultJoystickConfigLines();
