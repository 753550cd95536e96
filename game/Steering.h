#pragma once
// Which way the player steers, from the keys held and the joystick: -1 left, 1 right, 2 up,
// 3 down, 4 fire, 0 nothing. Right wins over left, down over up and right, fire over everything.

#include "game/KeyTable.h"

// What the stick holds at the moment of asking; the form polls the joystick and hands it over,
// so the rules decide on plain data and know nothing of the shared record.
struct StickState {
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool fire = false;
};

int SteeringDirection(const KeyTable& keys, const StickState& stick = {});
