#pragma once
// What every fuzz target shares: a working folder of its own (the code under test reads and
// writes fixed relative paths) and a check that stops the run with a message when a property
// fails, so that libFuzzer keeps the input as a crash.

#include <cstddef>
#include <cstdint>
#include <string>

// Moves the process into a fresh temporary folder the first time it is called; the folder is
// removed when the process ends.
void EnterFuzzFolder();

// Writes the bytes to the file, replacing it.
void WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string ReadFuzzFile(const std::string& path);

[[noreturn]] void FuzzFailure(const char* what, const char* file, int line);

#define FUZZ_CHECK(condition)                                          \
    do {                                                               \
        if (!(condition)) FuzzFailure(#condition, __FILE__, __LINE__); \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
