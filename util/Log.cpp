#include "util/Log.h"

#include <cstdio>

#include "util/TextFile.h"

void Log(const char* message)
{
    std::fputs(message, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    TextFile("log.txt").AppendLines({message});
}

void Log(const std::string& message) { Log(message.c_str()); }
