#pragma once
// Error feedback: plays "Data/beep.wav" with aplay in a process of its own, without waiting for
// it. A missing sound file is silent.

void Beep();

// Runs the command through the shell in a detached grandchild: the caller neither waits for it
// nor leaves a zombie behind. When no process can be made, it runs synchronously instead.
// Returns false only when the command ran synchronously.
bool RunDetached(const char* program, const char* arguments);
