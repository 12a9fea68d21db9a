#include "core/log_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char CarriageReturn = 13;
constexpr unsigned char LineFeed = 10;

// One file at a time is read through these.
LogByteSource* source;
LogBlockRead onBlockRead;
void* onBlockReadContext;
std::int32_t bytesBeforeBlock; // consumed in earlier blocks
std::size_t blockPosition;
std::size_t blockLength;
unsigned char block[LogBlockSize];
std::int32_t lineOffset;

bool FillBlock() {
    bytesBeforeBlock += static_cast<std::int32_t>(blockLength);
    blockPosition = 0;
    blockLength = source != nullptr ? source->Read(block, LogBlockSize) : 0;
    if (blockLength == 0) {
        return false;
    }
    if (onBlockRead != nullptr) {
        onBlockRead(onBlockReadContext, LogFilePosition());
    }
    return true;
}

} // namespace

std::size_t MemoryByteSource::Read(unsigned char* buffer, std::size_t size) {
    std::size_t count = std::min(size, length_ - position_);
    if (count == 0) {
        return 0;
    }
    std::memcpy(buffer, bytes_ + position_, count);
    position_ += count;
    return count;
}

void StartLogReading(LogByteSource& newSource, LogBlockRead newOnBlockRead, void* context) {
    source = &newSource;
    onBlockRead = newOnBlockRead;
    onBlockReadContext = context;
    bytesBeforeBlock = 0;
    blockPosition = 0;
    blockLength = 0;
    lineOffset = 0;
    std::memset(block, 0, sizeof block);
}

int ReadLogLine(char* buffer, std::size_t capacity, int keepEmpty) {
    std::size_t room = capacity > 0 ? capacity - 1 : 0;
    std::size_t length = 0;
    bool started = false;    // a byte other than a line feed was taken
    bool hasContent = false; // and one other than the ending carriage return
    for (;;) {
        if (blockPosition >= blockLength && !FillBlock()) {
            if (!started) {
                lineOffset = LogFilePosition();
            }
            if (capacity > 0) {
                buffer[length] = '\0';
            }
            return 0;
        }
        unsigned char byte = block[blockPosition++];
        if (byte == LineFeed) {
            continue;
        }
        if (!started) {
            started = true;
            lineOffset = bytesBeforeBlock + static_cast<std::int32_t>(blockPosition - 1);
        }
        if (byte == CarriageReturn) {
            if (!hasContent && !keepEmpty) {
                started = false;
                continue;
            }
            if (capacity > 0) {
                buffer[length] = '\0';
            }
            return 1;
        }
        hasContent = true;
        if (length < room) {
            buffer[length++] = static_cast<char>(byte);
        }
    }
}

std::int32_t LogLineOffset() {
    return lineOffset;
}

std::int32_t LogFilePosition() {
    return bytesBeforeBlock + static_cast<std::int32_t>(blockLength);
}
