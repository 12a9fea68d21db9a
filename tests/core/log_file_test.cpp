#include "core/log_file_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class LogFileTest : public testing::Test {
protected:
    void SetUp() override {
        char directory[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(sizeof directory, directory));
        ASSERT_NE(0u, GetTempFileNameA(directory, "log", 0, path_));
    }
    void TearDown() override { DeleteFileA(path_); }

    void Write(const std::string& bytes) {
        HANDLE file = CreateFileA(path_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        EXPECT_TRUE(
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        CloseHandle(file);
        ASSERT_EQ(bytes.size(), written);
    }

    char path_[MAX_PATH];
};

TEST_F(LogFileTest, ReadsTheFileInBlocksLineByLine) {
    // The session line of the second session lies in the second block.
    std::string bytes = "*** first\r\n";
    while (bytes.size() < LogBlockSize + 100) {
        bytes += "File Copy: C:\\APP\\A.DLL\r\n";
    }
    const auto secondSession = static_cast<std::int32_t>(bytes.size());
    bytes += "*** second\r\nlast";
    Write(bytes);

    LogFileSource file(path_);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(static_cast<std::int32_t>(bytes.size()), file.Size());
    StartLogReading(file);
    char line[LogLineCapacity];
    std::int32_t sessionOffset = -1;
    int lines = 0;
    while (ReadLogLine(line, sizeof line, 0) == 1) {
        ++lines;
        if (std::string(line) == "*** second") {
            sessionOffset = LogLineOffset();
        }
    }
    EXPECT_STREQ("last", line);
    EXPECT_EQ(secondSession, sessionOffset);
    EXPECT_EQ(static_cast<std::int32_t>(bytes.size()), LogFilePosition());
    EXPECT_EQ(2 + (secondSession - 11) / 25, lines);
}

TEST_F(LogFileTest, AMissingFileIsNotOpenAndReadsAsEmpty) {
    DeleteFileA(path_);
    LogFileSource file(path_);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(0, file.Size());
    StartLogReading(file);
    char line[16] = "untouched";
    EXPECT_EQ(0, ReadLogLine(line, sizeof line, 0));
    EXPECT_STREQ("", line);
}

} // namespace
