#pragma once
// The one way the program reports failures and notices: each message is one line on standard
// output and in "log.txt" in the working directory. The file is reopened for every message, so
// the joystick reader process can log too and lines of both processes interleave whole.

#include <string>

void Log(const char* message);
void Log(const std::string& message);
