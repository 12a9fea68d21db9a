#include "core/log_file_win.h"

LogFileSource::LogFileSource(const char* path)
    : file_(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

std::int32_t LogFileSource::Size() const {
    if (!file_) {
        return 0;
    }
    DWORD size = GetFileSize(file_.get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : static_cast<std::int32_t>(size);
}

std::size_t LogFileSource::Read(unsigned char* buffer, std::size_t size) {
    DWORD read = 0;
    if (!file_ || !ReadFile(file_.get(), buffer, static_cast<DWORD>(size), &read, nullptr)) {
        return 0;
    }
    return read;
}
