#include "util/BinaryFile.h"

BinaryFile::BinaryFile(const std::string& path, bool readOnly, bool create, bool append)
{
    const char* mode = readOnly ? "rb" : create ? "w+b" : append ? "a+b" : "r+b";
    stream = std::fopen(path.c_str(), mode);
    if (!stream) error = openFailed = true;
}

BinaryFile::~BinaryFile() { Close(); }

std::size_t BinaryFile::Read(std::int64_t offset, void* buffer, std::size_t count)
{
    if (!Usable()) return 0;
    if (std::fseek(stream, static_cast<long>(offset), SEEK_SET) != 0) {
        error = true;
        return 0;
    }
    const std::size_t read = std::fread(buffer, 1, count, stream);
    if (std::ferror(stream)) error = true;
    return read;
}

bool BinaryFile::Write(std::int64_t offset, const void* data, std::size_t count)
{
    if (!Usable()) return false;
    if (std::fseek(stream, static_cast<long>(offset), SEEK_SET) != 0) {
        error = true;
        return false;
    }
    return Write(data, count);
}

bool BinaryFile::Write(const void* data, std::size_t count)
{
    if (!Usable()) return false;
    if (std::fwrite(data, 1, count, stream) != count) error = true;
    return !error;
}

bool BinaryFile::AtEnd() const { return Usable() && std::feof(stream); }

void BinaryFile::Close()
{
    if (stream) std::fclose(stream);
    stream = nullptr;
}
