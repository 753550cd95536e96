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
    // Why the last operation failed, in words ("Permission denied", "not a regular file"), or the
    // empty text when it did not.
    const std::string& Failure() const { return failure; }

    // ReadLines skips a line longer than this, or one holding a NUL byte, and reads on.
    static constexpr std::size_t maxLineLength = 255;
    // ReadLines takes only a regular file, and no more of it than this: the program's own text
    // files hold a few hundred bytes, and a FIFO, a device or an endless file in their place must
    // neither stall nor swamp it. A line that this cuts is not returned.
    static constexpr std::size_t maxReadBytes = 64 * 1024;

private:
    bool Write(const std::vector<std::string>& lines, const char* mode);

    void Fail(bool opening, std::string why);

    std::string path;
    bool error = false;
    bool openFailed = false;
    std::string failure;
};
