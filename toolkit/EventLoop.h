#pragma once
// The program's only event loop. It serves every form (dialogs included: there is no nested
// loop), drives the timers from its 10 ms idle time-outs and ends when quitRequested is set.

class Form;

inline bool quitRequested = false;

void Run(Form& mainForm);
bool IsKeyDown(int code);
