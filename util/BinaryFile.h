#pragma once
// A binary file stream owned for the lifetime of the object. Once an operation has failed,
// later reads and writes do nothing, so a caller may check the flags once at the end.

#include <cstdint>
#include <cstdio>
#include <string>

class BinaryFile {
public:
    explicit BinaryFile(const std::string& path) : BinaryFile(path, true, false) {}
    BinaryFile(const std::string& path, bool readOnly, bool create, bool append = false);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    std::size_t Read(std::int64_t offset, void* buffer, std::size_t count);
    bool Write(std::int64_t offset, const void* data, std::size_t count);
    bool Write(const void* data, std::size_t count);
    bool AtEnd() const;
    void Close();

    bool HasError() const { return error; }
    bool OpenFailed() const { return openFailed; }

private:
    bool Usable() const { return stream != nullptr && !error && !openFailed; }

    std::FILE* stream = nullptr;
    bool error = false;
    bool openFailed = false;
};
