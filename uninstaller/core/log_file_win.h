#pragma once
// The install log read from its file.

#include "core/log_reader.h"

#include "common/win_handle.h"

#include <cstdint>

class LogFileSource : public LogByteSource {
public:
    // Opens path for reading; IsOpen tells whether that worked.
    explicit LogFileSource(const char* path);
    bool IsOpen() const { return static_cast<bool>(file_); }
    // The file's size in bytes; 0 when it is not open.
    std::int32_t Size() const;
    std::size_t Read(unsigned char* buffer, std::size_t size) override;

private:
    win::unique_hfile file_;
};
