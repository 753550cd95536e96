#pragma once
// Children that the program forks and later signals (the joystick reader, the sound player's
// current sound). A SIGCHLD handler reaps each of them as soon as it ends, so none lingers as a
// zombie; it waits only for the children listed here and leaves every other child (those of
// `system`, say) to whoever made it. A child is signalled only while it has not been reaped:
// once reaped, its pid may already belong to an unrelated process.

#include <sys/types.h>

// fork(), with the child listed in the parent. The child starts with the list empty and the
// SIGCHLD disposition the process had before the list existed. Returns as fork() does.
pid_t ForkChild();

// Sends the signal to a listed child that has not been reaped; false otherwise.
bool SignalChild(pid_t pid, int signalNumber);

// True while the child is listed and has not been reaped.
bool ChildRunning(pid_t pid);

// Blocks until the listed child has ended and reaps it; returns at once for any other pid.
void WaitForChild(pid_t pid);

// Makes ForkChild fail as fork() does when the system has no process to spare, so that the
// callers' fallbacks can be exercised.
void SimulateForkFailure(bool fail);
