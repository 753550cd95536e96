#pragma once
// Which way the player steers, from the keys held and the joystick: -1 left, 1 right, 2 up,
// 3 down, 4 fire, 0 nothing. Right wins over left, down over up and right, fire over everything.

#include "game/KeyTable.h"

// Polls the joystick record first, so each call sees its latest state.
int SteeringDirection(const KeyTable& keys);
