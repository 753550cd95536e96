#pragma once
// Children that the program forks and later signals (the joystick reader, the sound player's
// current sound). A SIGCHLD handler reaps each of them as soon as it ends, so none lingers as a
// zombie; it waits only for the children listed here and leaves every other child (those of
// `system`, say) to whoever made it. A child is signalled only while it has not been reaped:
// once reaped, its pid may already belong to an unrelated process.

#include <sys/types.h>

#include <string>
#include <vector>

// fork(), with the child listed in the parent. The child starts with the list empty and the
// SIGCHLD disposition the process had before the list existed. Returns as fork() does.
pid_t ForkChild();

// Sends the signal to a listed child that has not been reaped; false otherwise.
bool SignalChild(pid_t pid, int signalNumber);

// True while the child is listed and has not been reaped.
bool ChildRunning(pid_t pid);

// Blocks until the listed child has ended and reaps it; returns at once for any other pid.
void WaitForChild(pid_t pid);

// ForkChild, with the child tied to this process's life: the kernel sends it SIGTERM when this
// process dies, however it dies, and a child whose parent died before the tie was made ends at once.
pid_t ForkTiedChild();

// Starts a program found on PATH with its arguments (command[0] is the program), with no shell
// between, in a listed child that ends when this process ends, however it ends: the kernel sends
// it SIGTERM when this process dies. Returns the pid, or -1 when no child could be made.
pid_t StartProgram(const std::vector<std::string>& command);

// Runs the program as StartProgram does, but in a plain child that this call waits for: the way to
// run it when StartProgram could not. True when the program ran and exited with status 0.
bool RunProgramAndWait(const std::vector<std::string>& command);

// Closes every descriptor above standard error but the one to keep (-1: none): a child that stays
// a copy of the program must not hold its connections (the X server's above all) open.
void CloseInheritedDescriptors(int keep = -1);

// Makes ForkChild fail as fork() does when the system has no process to spare, so that the
// callers' fallbacks can be exercised.
void SimulateForkFailure(bool fail);
