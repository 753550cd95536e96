#include "tests/fault/DeviceWriter.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "tools/harness/Poll.h"

bool DeviceWriter::Open(const std::string& path, std::chrono::milliseconds deadline)
{
    Close();
    // Opening for writing without blocking fails until a reader has the FIFO open.
    return WaitFor([&] { return (fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) >= 0; }, deadline);
}

bool DeviceWriter::Write(const std::string& bytes)
{
    std::size_t done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote > 0) {
            done += static_cast<std::size_t>(wrote);
        } else if (wrote < 0 && errno == EAGAIN) {
            pollfd room{fd, POLLOUT, 0};
            if (poll(&room, 1, 10000) <= 0) return false;
        } else if (!(wrote < 0 && errno == EINTR)) {
            return false;
        }
    }
    return fd >= 0;
}

bool DeviceWriter::Send(std::int16_t value, std::uint8_t type, std::uint8_t number)
{
    js_event event{};
    event.value = value;
    event.type = type;
    event.number = number;
    return Write(std::string(reinterpret_cast<const char*>(&event), sizeof event));
}

void DeviceWriter::Close()
{
    if (fd >= 0) close(fd);
    fd = -1;
}
