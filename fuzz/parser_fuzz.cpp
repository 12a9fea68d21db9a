// Arbitrary bytes as an install log: first through the line reader alone,
// with a capacity and empty-line rule taken from the input, then through the
// whole parser in a system where about half of all files exist. Any crash,
// out-of-bounds access or undefined behaviour is a finding.

#include "memory_env.h"
#include "parse_dump.h"

#include "core/log_reader.h"
#include "core/parse_results.h"
#include "core/parser.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Enough of a world that every branch of the parser can be reached.
class FuzzEnvironment : public MemoryParseEnvironment {
public:
    FuzzEnvironment() {
        removableDrives = "A";
        pathForms = {{"C:\\Program Files", "C:\\PROGRA~1"},
                     {"C:\\APP\\LONGNAME", "C:\\APP\\LONGNA~1"}};
        startMenu = "C:\\WINDOWS\\PROFILES\\ME\\START MENU";
        commonStartMenu = "C:\\WINDOWS\\PROFILES\\ALL USERS\\START MENU";
        leadBytes = "\x83";
    }
    bool FileExists(const char* path) override { return std::strlen(path) % 2 == 0; }
    bool IsCountedSharedFile(const char* path) override { return std::strlen(path) % 3 == 0; }
};

void ReadEveryLine(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    std::size_t capacity = data[0] % 64;
    int keepEmpty = data[0] >> 7;
    MemoryByteSource source(data + 1, size - 1);
    StartLogReading(source);
    char line[64];
    std::size_t lines = 0;
    while (ReadLogLine(line, capacity, keepEmpty) != 0) {
        if (capacity > 0 && std::strlen(line) >= capacity) {
            std::abort();
        }
        if (LogLineOffset() < 0 || static_cast<std::size_t>(LogLineOffset()) >= size) {
            std::abort();
        }
        ++lines;
    }
    if (lines > size) {
        std::abort(); // every line the reader returns took at least one byte
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReadEveryLine(data, size);

    ResetParseResults();
    FuzzEnvironment env;
    env.logBytes.assign(reinterpret_cast<const char*>(data), size);
    ParseInstallLog("C:\\Program Files\\App\\INSTALL.LOG", installDirectory, env);
    if (env.logOpen) {
        std::abort(); // the log is closed on every way out
    }
    return 0;
}
