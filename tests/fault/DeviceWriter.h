#pragma once
// The test's end of the FIFO that stands in for the joystick device.

#include <linux/joystick.h>

#include <chrono>
#include <string>

class DeviceWriter {
public:
    DeviceWriter() = default;
    ~DeviceWriter() { Close(); }
    DeviceWriter(const DeviceWriter&) = delete;
    DeviceWriter& operator=(const DeviceWriter&) = delete;

    // Opens the FIFO once the reader has opened it; false when it never did before the deadline.
    bool Open(const std::string& path, std::chrono::milliseconds deadline);
    // Writes all bytes, waiting while the FIFO is full; false when the reader has gone.
    bool Write(const std::string& bytes);
    bool Send(std::int16_t value, std::uint8_t type, std::uint8_t number);
    void Close();

private:
    int fd = -1;
};
