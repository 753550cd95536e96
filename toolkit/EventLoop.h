#pragma once
// The program's only event loop. It serves every form (dialogs included: there is no nested
// loop), drives the timers in 10 ms steps of the monotonic clock, sleeping until the first running
// timer is due, and ends when quitRequested is set.

#include <initializer_list>

class Form;

// The process-wide request to end the loop (quitRequested): the game makes it, and so does an end
// signal; the loop ends once it has finished the event at hand.
bool QuitRequested();
void RequestQuit();
// Withdraws the request, so that the loop can run again (tests run it many times).
void CancelQuitRequest();

// The loop also ends when another client destroys the main form's window: the game cannot go on
// without it, and nobody could end a game that has no window.
void Run(Form& mainForm);
// True when the last Run ended because the main form's window was destroyed from outside.
bool MainWindowDestroyed();
bool IsKeyDown(int code);

// Makes each of these signals end the loop the way quitRequested does, whether it arrives while
// the loop waits, while a handler runs or before Run starts. A process forked afterwards gets the
// signal's default action back the first time the signal reaches it.
void EndLoopOnSignals(std::initializer_list<int> signalNumbers);
