#pragma once
// A text file seen as a list of lines. Every operation opens, uses and closes the file; failures
// are reported through the two flags only.

#include <string>
#include <vector>

class TextFile {
public:
    explicit TextFile(std::string path);

    bool AppendLines(const std::vector<std::string>& lines);
    bool WriteLines(const std::vector<std::string>& lines);
    std::vector<std::string> ReadLines();
    std::string ReadAll();

    bool HasError() const { return error; }
    bool OpenFailed() const { return openFailed; }

    // ReadLines skips a line longer than this, or one holding a NUL byte, and reads on.
    static constexpr std::size_t maxLineLength = 255;

private:
    bool Write(const std::vector<std::string>& lines, const char* mode);

    std::string path;
    bool error = false;
    bool openFailed = false;
};
