#pragma once
// Reads the install log (and, after it, SYSTEM.INI) line by line. A line ends
// at a carriage return; a line feed is dropped wherever it stands, so it never
// ends a line. The file is read in blocks of LogBlockSize bytes through one
// process-wide block buffer, so one file at a time is read.

#include <cstddef>
#include <cstdint>

constexpr std::size_t LogBlockSize = 16384;
// What the parser passes: 2,047 bytes of text and the zero byte.
constexpr std::size_t LogLineCapacity = 2048;

// Where the bytes come from: a file in the program, a memory buffer in tests.
class LogByteSource {
public:
    virtual ~LogByteSource() = default;
    // Reads up to size bytes into buffer and returns how many it read; 0 at
    // the end of the source or when it cannot be read.
    virtual std::size_t Read(unsigned char* buffer, std::size_t size) = 0;
};

class MemoryByteSource : public LogByteSource {
public:
    // The bytes are borrowed and must outlive the source.
    MemoryByteSource(const void* bytes, std::size_t length)
        : bytes_(static_cast<const unsigned char*>(bytes)), length_(length) {}
    std::size_t Read(unsigned char* buffer, std::size_t size) override;

private:
    const unsigned char* bytes_;
    std::size_t length_;
    std::size_t position_ = 0;
};

// Told once per block read, with the file position after the block.
using LogBlockRead = void (*)(void* context, std::int32_t filePosition);

// Starts reading source from its beginning; onBlockRead may be nullptr. The
// source must stay alive while lines are read from it.
void StartLogReading(LogByteSource& source, LogBlockRead onBlockRead = nullptr,
                     void* context = nullptr);

// Reads the next line into buffer: at most capacity - 1 bytes, then a zero
// byte; the rest of a longer line is read and dropped. Returns 1 when the line
// ended with a carriage return, 0 at the end of the file, with whatever bytes
// of an unterminated last line were read (possibly none) in buffer. Empty
// lines are skipped unless keepEmpty is 1. A capacity of 0 writes nothing.
int ReadLogLine(char* buffer, std::size_t capacity, int keepEmpty);

// The file offset of the first byte of the line ReadLogLine returned last:
// where that line begins in the file. Line feeds are not part of any line, so
// after a carriage return and line feed the next line begins after the feed.
std::int32_t LogLineOffset();

// How far into the file the reader has read: the end of the current block.
std::int32_t LogFilePosition();
