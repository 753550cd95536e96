#include "game/Steering.h"

#include <X11/keysym.h>

int SteeringDirection(const KeyTable& keys, const StickState& stick)
{
    int code = keys.IsDown(XK_Left) || stick.left ? -1 : 0;
    if (keys.IsDown(XK_Up) || stick.up) code = 2;
    if (keys.IsDown(XK_Right) || stick.right) code = 1;
    if (keys.IsDown(XK_Down) || stick.down) code = 3;
    if (keys.IsDown(XK_space) || stick.fire) code = 4;
    return code;
}
