#include "util/TextFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

TextFile::TextFile(std::string path) : path(std::move(path)) {}

bool TextFile::AppendLines(const std::vector<std::string>& lines) { return Write(lines, "ab"); }

bool TextFile::WriteLines(const std::vector<std::string>& lines) { return Write(lines, "wb"); }

bool TextFile::Write(const std::vector<std::string>& lines, const char* mode)
{
    error = openFailed = false;
    FilePtr file(std::fopen(path.c_str(), mode));
    if (!file) {
        error = openFailed = true;
        return false;
    }
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), file.get());
        std::fputc('\n', file.get());
        if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
            error = true;
            break;
        }
    }
    if (std::fclose(file.release()) != 0) error = true;
    return !error;
}

std::vector<std::string> TextFile::ReadLines()
{
    error = openFailed = false;
    std::vector<std::string> lines;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = openFailed = true;
        return lines;
    }
    char buffer[maxLineLength + 1];
    while (std::fgets(buffer, sizeof buffer, file.get())) {
        std::size_t length = std::strlen(buffer);
        const bool complete = length > 0 && buffer[length - 1] == '\n';
        if (complete) {
            --length;
        } else if (!std::feof(file.get())) {
            // Either an over-long line or a NUL byte cut the buffer short: stop here.
            const int next = std::fgetc(file.get());
            if (next != '\n' && next != EOF) break;
        }
        lines.emplace_back(buffer, length);
    }
    if (std::ferror(file.get())) error = true;
    return lines;
}

std::string TextFile::ReadAll()
{
    std::string all;
    for (const std::string& line : ReadLines()) all += line + "\r\n";
    return error ? std::string() : all;
}
