// Every install log of the corpus beside its expected outcome. NAME.expect
// sets up the system the parser meets ("env" lines) and lists, in the form
// of DumpParseResults, the result, what the user saw and every list and
// header value the log NAME.log must produce.

#include "memory_env.h"
#include "parse_dump.h"

#include "core/parse_results.h"
#include "core/parser.h"
#include "core/run_state.h"
#include "status/platform.h"

#include "common/safe_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const fs::path CorpusDirectory = PARSER_CORPUS_DIR;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// "<fc>" in an expectation stands for the byte 0xFC.
std::string Unescaped(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && i + 3 < text.size() && text[i + 3] == '>' &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            result += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 3;
        } else {
            result += text[i];
        }
    }
    return result;
}

struct CorpusCase {
    std::string logPath = "C:\\APP\\INSTALL.LOG";
    std::string logName; // the corpus log read: NAME.log unless told otherwise
    std::string expected;
};

// Applies one "env" line to the environment and the process-wide values.
void ApplySetting(const std::string& setting, MemoryParseEnvironment& env, CorpusCase& test) {
    std::size_t blank = setting.find(' ');
    std::string name = setting.substr(0, blank);
    std::string value = blank == std::string::npos ? "" : Unescaped(setting.substr(blank + 1));
    if (name == "log") {
        test.logPath = value;
    } else if (name == "corpus") {
        test.logName = value;
    } else if (name == "file") {
        env.files.push_back(value);
    } else if (name == "removable") {
        env.removableDrives = value;
    } else if (name == "shared") {
        env.sharedFiles.push_back(value);
    } else if (name == "form") {
        std::size_t arrow = value.find(" => ");
        env.pathForms.emplace_back(value.substr(0, arrow), value.substr(arrow + 4));
    } else if (name == "start-menu") {
        env.startMenu = value;
    } else if (name == "common-start-menu") {
        env.commonStartMenu = value;
    } else if (name == "lead-bytes") {
        env.leadBytes = value;
    } else if (name == "title") {
        SafeCopy(commandLineTitle, value.c_str());
    } else if (name == "win95") {
        isWindowsNT = 0;
    } else if (name == "old-shell") {
        hasNewShell = 0;
    } else if (name == "no-rights") {
        env.mayManageServices = false;
    } else if (name == "no-progress") {
        env.progressShown = false;
    } else if (name == "no-log") {
        env.logExists = false;
    } else {
        FAIL() << "unknown setting: " << setting;
    }
}

CorpusCase LoadCase(const std::string& name, MemoryParseEnvironment& env) {
    CorpusCase test;
    test.logName = name;
    std::istringstream lines(ReadFile(CorpusDirectory / (name + ".expect")));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.rfind("env ", 0) == 0) {
            ApplySetting(line.substr(4), env, test);
        } else {
            test.expected += line + "\n";
        }
    }
    if (env.logExists) {
        env.logBytes = ReadFile(CorpusDirectory / (test.logName + ".log"));
    }
    return test;
}

std::vector<std::string> CorpusNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(CorpusDirectory)) {
        if (entry.path().extension() == ".expect") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class CorpusTest : public testing::TestWithParam<std::string> {};

TEST_P(CorpusTest, ProducesExpectedRecords) {
    ResetParseResults();
    MemoryParseEnvironment env;
    CorpusCase test = LoadCase(GetParam(), env);

    int result = ParseInstallLog(test.logPath.c_str(), installDirectory, env);

    std::string actual = "result " + std::to_string(result) + "\n";
    for (const std::string& event : env.events) {
        actual += "event " + Escaped(event.c_str()) + "\n";
    }
    actual += DumpParseResults();
    EXPECT_EQ(test.expected, actual);
    EXPECT_FALSE(env.logOpen) << "the log is closed on every way out";
}

INSTANTIATE_TEST_SUITE_P(Logs, CorpusTest, testing::ValuesIn(CorpusNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

TEST(CorpusTest, EveryLogHasItsExpectation) {
    for (const fs::directory_entry& entry : fs::directory_iterator(CorpusDirectory)) {
        if (entry.path().extension() == ".log") {
            fs::path expectation = entry.path();
            EXPECT_TRUE(fs::exists(expectation.replace_extension(".expect"))) << entry.path();
        }
    }
}

} // namespace
