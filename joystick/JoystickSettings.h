#pragma once
// The joystick settings that "joystick.cfg" gives. Each stays -1 until the file sets it;
// joystickEnable -1 means that the configuration has not been read.

#include <cstdint>

struct JoystickSettings {
    std::int32_t joystickEnable = -1;
    std::int32_t aixsXCfg = -1;
    std::int32_t aixsYCfg = -1;
    std::int32_t minValueLeftCfg = -1;
    std::int32_t maxValueLeftCfg = -1;
    std::int32_t minValueRightCfg = -1;
    std::int32_t maxValueRightCfg = -1;
    std::int32_t minValueUpCfg = -1;
    std::int32_t maxValueUpCfg = -1;
    std::int32_t minValueDownCfg = -1;
    std::int32_t maxValueDownCfg = -1;
};
