#include "core/log_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Line {
    std::string text;
    int ended; // ReadLogLine's result
    std::int32_t offset;

    bool operator==(const Line& other) const {
        return text == other.text && ended == other.ended && offset == other.offset;
    }
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
    return out << "{\"" << line.text.substr(0, 40) << "\" (" << line.text.size() << "), "
               << line.ended << ", @" << line.offset << "}";
}

// Every line up to the end of bytes, the last one (ended 0) included.
std::vector<Line> ReadAll(const std::string& bytes, int keepEmpty,
                          std::size_t capacity = LogLineCapacity) {
    MemoryByteSource source(bytes.data(), bytes.size());
    StartLogReading(source);
    std::vector<Line> lines;
    std::vector<char> buffer(capacity + 1);
    int ended;
    do {
        ended = ReadLogLine(buffer.data(), capacity, keepEmpty);
        lines.push_back({buffer.data(), ended, LogLineOffset()});
    } while (ended == 1);
    return lines;
}

struct LineCase {
    const char* name;
    std::string bytes;
    int keepEmpty;
    std::vector<Line> expected;
};

TEST(ReadLogLineTest, SplitsAtCarriageReturnsOnly) {
    const LineCase cases[] = {
        {"CR", "a\rbb\rccc\r", 0, {{"a", 1, 0}, {"bb", 1, 2}, {"ccc", 1, 5}, {"", 0, 9}}},
        {"CR LF", "a\r\nbb\r\nccc\r\n", 0, {{"a", 1, 0}, {"bb", 1, 3}, {"ccc", 1, 7}, {"", 0, 12}}},
        {"LF alone", "a\nbb\nccc\n", 0, {{"abbccc", 0, 0}}},
        {"LF inside a line", "ab\ncd\r", 0, {{"abcd", 1, 0}, {"", 0, 6}}},
        {"empty lines skipped", "a\r\r\n\rb\r", 0, {{"a", 1, 0}, {"b", 1, 5}, {"", 0, 7}}},
        {"empty lines kept",
         "a\r\r\n\rb\r",
         1,
         {{"a", 1, 0}, {"", 1, 2}, {"", 1, 4}, {"b", 1, 5}, {"", 0, 7}}},
        {"only empty lines", "\r\n\r\n", 0, {{"", 0, 4}}},
        {"unterminated last line", "a\r\nlast", 0, {{"a", 1, 0}, {"last", 0, 3}}},
        {"empty file", "", 0, {{"", 0, 0}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, ReadAll(c.bytes, c.keepEmpty)) << c.name;
    }
}

TEST(ReadLogLineTest, LongLineKeepsItsFirstBytesAndTheNextLineStartsAfterItsReturn) {
    std::string bytes = std::string(3000, 'x') + "\r\nnext\r\n";
    std::vector<Line> expected = {
        {std::string(LogLineCapacity - 1, 'x'), 1, 0}, {"next", 1, 3002}, {"", 0, 3008}};
    EXPECT_EQ(expected, ReadAll(bytes, 0));
}

TEST(ReadLogLineTest, NeverWritesPastTheCapacity) {
    const char canary = static_cast<char>(0xcc);
    for (std::size_t capacity : {0u, 1u, 4u}) {
        std::string bytes = "abcdefgh\rij\r";
        MemoryByteSource source(bytes.data(), bytes.size());
        StartLogReading(source);
        char buffer[16];
        std::memset(buffer, canary, sizeof buffer);
        EXPECT_EQ(1, ReadLogLine(buffer, capacity, 0)) << capacity;
        if (capacity > 0) {
            EXPECT_EQ(std::string("abcdefgh").substr(0, capacity - 1), buffer) << capacity;
        }
        for (std::size_t i = capacity; i < sizeof buffer; ++i) {
            ASSERT_EQ(canary, buffer[i]) << "capacity " << capacity << ", byte " << i;
        }
        // The cut line was consumed whole, even when nothing of it could be stored.
        EXPECT_EQ(1, ReadLogLine(buffer, capacity, 0)) << capacity;
        EXPECT_EQ(9, LogLineOffset()) << capacity;
        EXPECT_EQ(canary, buffer[capacity + 1]) << capacity;
    }
}

// Lines laid out so that line starts, carriage returns and line feeds fall on
// and around the block boundaries; each line's offset is where it was written.
struct BoundaryCase {
    const char* name;
    std::size_t fillerLength; // bytes before the line under test, in 100-byte lines
    const char* ending;       // of the filler's last line
    std::size_t lineLength;
};

TEST(ReadLogLineTest, OffsetOfEachLineIsRightAcrossBlockBoundaries) {
    const BoundaryCase cases[] = {
        {"line starts one before a boundary", LogBlockSize - 1, "\r\n", 10},
        {"line starts on a boundary", LogBlockSize, "\r\n", 10},
        {"CR before a boundary, LF after it", LogBlockSize + 1, "\r\n", 10},
        {"CR alone on the last byte of a block", LogBlockSize, "\r", 10},
        {"line spanning a boundary", LogBlockSize - 5, "\r\n", 10},
        {"cut line spanning two boundaries", 100, "\r\n", 2 * LogBlockSize + 7},
        {"second boundary", 2 * LogBlockSize, "\r", 3},
    };
    for (const auto& c : cases) {
        std::string bytes;
        std::vector<Line> expected;
        // Filler lines of 100 bytes with their ending, then one to reach fillerLength.
        const std::size_t endingLength = std::strlen(c.ending);
        while (bytes.size() < c.fillerLength) {
            std::size_t length = std::min<std::size_t>(100, c.fillerLength - bytes.size());
            length = length > endingLength ? length - endingLength : 1;
            std::string text(length, static_cast<char>('a' + expected.size() % 26));
            expected.push_back({text, 1, static_cast<std::int32_t>(bytes.size())});
            bytes += text + c.ending;
        }
        ASSERT_EQ(c.fillerLength, bytes.size()) << c.name;
        std::string line(c.lineLength, 'L');
        expected.push_back(
            {line.substr(0, LogLineCapacity - 1), 1, static_cast<std::int32_t>(bytes.size())});
        bytes += line + "\r\n";
        expected.push_back({"tail", 0, static_cast<std::int32_t>(bytes.size())});
        bytes += "tail";
        EXPECT_EQ(expected, ReadAll(bytes, 0)) << c.name;
    }
}

struct BlockRecorder {
    std::vector<std::int32_t> positions;
    static void Record(void* context, std::int32_t filePosition) {
        static_cast<BlockRecorder*>(context)->positions.push_back(filePosition);
    }
};

TEST(ReadLogLineTest, ReportsEachBlockOnceWithTheFilePositionAfterIt) {
    std::string line = std::string(99, 'p') + "\r";
    std::string bytes;
    while (bytes.size() < 40000) {
        bytes += line;
    }
    MemoryByteSource source(bytes.data(), bytes.size());
    BlockRecorder recorder;
    StartLogReading(source, BlockRecorder::Record, &recorder);
    char buffer[LogLineCapacity];
    int lines = 0;
    while (ReadLogLine(buffer, sizeof buffer, 0) == 1) {
        ++lines;
        EXPECT_EQ(LogFilePosition(), recorder.positions.back()) << "line " << lines;
    }
    EXPECT_EQ(400, lines);
    std::vector<std::int32_t> expected = {16384, 32768, 40000};
    EXPECT_EQ(expected, recorder.positions);

    // The next file starts from offset 0 with no block of the first one left.
    std::string next = "second\r";
    MemoryByteSource nextSource(next.data(), next.size());
    StartLogReading(nextSource);
    EXPECT_EQ(1, ReadLogLine(buffer, sizeof buffer, 0));
    EXPECT_STREQ("second", buffer);
    EXPECT_EQ(0, LogLineOffset());
    EXPECT_EQ(7, LogFilePosition());
}

} // namespace
