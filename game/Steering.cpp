#include "game/Steering.h"

#include <X11/keysym.h>

#include "joystick/JoystickPoll.h"

int SteeringDirection(const KeyTable& keys)
{
    PollJoystick();
    int code = keys.IsDown(XK_Left) || JoystickLeft() ? -1 : 0;
    if (keys.IsDown(XK_Up) || JoystickUp()) code = 2;
    if (keys.IsDown(XK_Right) || JoystickRight()) code = 1;
    if (keys.IsDown(XK_Down) || JoystickDown()) code = 3;
    if (keys.IsDown(XK_space) || JoystickButtonPressed()) code = 4;
    return code;
}
