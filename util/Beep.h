#pragma once
// Error feedback: plays "Data/beep.wav" with aplay in a process of its own, without waiting for
// it. A missing sound file is silent.

#include <string>
#include <vector>

void Beep();

// Starts the program (command[0], found on PATH) with its arguments and no shell, in a child that
// the caller does not wait for and that ends with the game however the game ends. When no child
// can be made that way, it runs the program and waits for it instead. Returns false only then.
bool RunDetached(const std::vector<std::string>& command);
