#include "core/parser.h"

#include "core/arena.h"
#include "core/log_format.h"
#include "core/parse_results.h"
#include "core/parser_internal.h"
#include "core/run_state.h"
#include "status/platform.h"

#include "common/safe_text.h"

namespace log_parsing {

namespace {

// String table numbers of the three fatal conditions.
constexpr int TextCannotOpen = 3;
constexpr int TextInvalid = 4;
constexpr int TextNoRights = 67;
constexpr int CaptionVellUninstall = 2;
constexpr int CaptionUninstall = 25;

// Cuts text just after its last backslash; false when it holds none.
bool CutAfterLastBackslash(char* text) {
    char* last = std::strrchr(text, '\\');
    if (last == nullptr) {
        return false;
    }
    last[1] = '\0';
    return true;
}

} // namespace

int LogParser::Parse(const char* logPath) {
    Prepare(logPath);
    LogByteSource* source = env_.OpenLog(logPath);
    if (source == nullptr) {
        return Fail(TextCannotOpen, CaptionVellUninstall);
    }
    logBytesTotal = env_.LogSize();
    StartLogReading(*source);

    ReadLine();
    if (!IsSessionLine(line_)) {
        return Fail(TextInvalid, CaptionVellUninstall);
    }
    ansiText_ = IsAnsiSession(line_);
    sessionSources[0] = nullptr;
    sessionSources[1] = nullptr;
    sessionNumber = 1;
    do {
        ReadLine();
        if (line_[0] == '\0') {
            return Fail(TextInvalid, CaptionVellUninstall);
        }
    } while (!IsTitleLine(line_));
    SetProductTitle(line_, env_);

    ReadLine();
    while (line_[0] != '\0') {
        ShowProgress();
        advance_ = true;
        markNonSystem_ = IsWholeLine(line_, LogKeyword::NonSystemFile);
        if (markNonSystem_) {
            ReadLine();
        }
        markCounterIgnored_ = IsWholeLine(line_, LogKeyword::SharedCounterIgnored);
        if (markCounterIgnored_) {
            ReadLine();
        }
        if (!Dispatch()) {
            return Fail(TextNoRights, CaptionUninstall);
        }
        if (advance_) {
            ReadLine();
        }
    }
    env_.CloseLog();
    return 0;
}

void LogParser::Prepare(const char* logPath) {
    char logDirectory[256];
    SafeCopy(logDirectory, logPath);
    char* lastBackslash = std::strrchr(logDirectory, '\\');
    *(lastBackslash != nullptr ? lastBackslash : logDirectory) = '\0';
    env_.NormalizePath(logDirectory, sizeof logDirectory, false);
    SafeAppend(logDirectory, "\\");
    SafeCopy(installDirectory_, logDirectory);

    removableA_ = env_.IsRemovableDrive('A');
    removableB_ = env_.IsRemovableDrive('B');
    env_.WindowsDirectory(systemDirectories_[0], PathSize);
    env_.SystemDirectory(systemDirectories_[1], PathSize);
    SafeCopy(systemDirectories_[2], systemDirectories_[1]);
    SafeAppend(systemDirectories_[2], "\\WIN32S");
    AddLogDirectoryEntry(logPath);
}

void LogParser::AddLogDirectoryEntry(const char* logPath) {
    DirectoryRecord* entry = AppendRecord(Directories);
    if (entry == nullptr) {
        return;
    }
    SafeCopy(entry->path, logPath);
    env_.NormalizePath(entry->path, sizeof entry->path, true);
    if (!CutAfterLastBackslash(entry->path) || std::strlen(entry->path) <= 3) {
        entry->path[0] = '\0';
    }
    entry->madeSession = LatestSession;

    // A log kept in the Windows or System directory, or in a folder above
    // them, never offers its folder for removal: the next directory record
    // takes the entry's place.
    bool counts = entry->path[0] != '\0';
    for (int i = 0; counts && i < 2; ++i) {
        char protectedDirectory[PathSize + 1];
        SafeCopy(protectedDirectory, systemDirectories_[i]);
        SafeAppend(protectedDirectory, "\\");
        counts = !StartsWithNoCase(protectedDirectory, entry->path);
    }
    if (!counts) {
        --Directories.count;
    }
}

int LogParser::Fail(int textId, int captionId) {
    if (env_.ProgressShown()) {
        env_.CloseProgress();
    }
    env_.ShowError(textId, captionId);
    env_.CloseLog();
    return 1;
}

void LogParser::ShowProgress() {
    if (!env_.ProgressShown()) {
        return;
    }
    // The reader takes the file in whole blocks, so this changes once per block.
    logBytesRead = LogFilePosition();
    if (logBytesRead != shownPosition_) {
        shownPosition_ = logBytesRead;
        env_.RepaintProgressBar();
    }
}

bool LogParser::Dispatch() {
    namespace K = LogKeyword;
    const char* field;
    if (KeywordField(line_, K::FileCopy) != nullptr) {
        HandleFileRecord(FileRecordKind::Copy, K::FileCopy);
    } else if (KeywordField(line_, K::ShellLink) != nullptr) {
        HandleFileRecord(FileRecordKind::ShellLink, K::ShellLink);
    } else if (KeywordField(line_, K::FileOverwrite) != nullptr) {
        HandleFileRecord(FileRecordKind::Overwrite, K::FileOverwrite);
    } else if ((field = KeywordField(line_, K::RegistryKey)) != nullptr) {
        HandleRegistryValue(field);
    } else if ((field = KeywordField(line_, K::FileEdit)) != nullptr) {
        HandleFileEdit(field);
    } else if ((field = KeywordField(line_, K::FileDelete)) != nullptr) {
        HandleFileDelete(field);
    } else if ((field = KeywordField(line_, K::CreateService)) != nullptr) {
        HandleCreateService(field);
    } else if ((field = KeywordField(line_, K::AddDevice)) != nullptr) {
        HandleAddDevice(field);
    } else if ((field = KeywordField(line_, K::SelfRegister)) != nullptr) {
        HandleSelfRegister(field);
    } else if (KeywordField(line_, K::IniNew) != nullptr) {
        HandleIniNew();
    } else if ((field = KeywordField(line_, K::IniFile)) != nullptr) {
        HandleIniFile(field);
    } else if ((field = KeywordField(line_, K::ExecutePath)) != nullptr ||
               (field = KeywordField(line_, K::ExecuteProgram)) != nullptr) {
        HandleExecute(field);
    } else if ((field = KeywordField(line_, K::IconGroup)) != nullptr) {
        HandleIconGroup(field);
    } else if ((field = KeywordField(line_, K::SubSystem)) != nullptr) {
        // The name starts at the keyword's closing "B".
        subSystemName = CopyTextToArena(field - 1);
        subSystemSelected = 0;
    } else if ((field = KeywordField(line_, K::MadeDirectory)) != nullptr) {
        HandleMadeDirectory(field);
    } else if ((field = KeywordField(line_, K::FileTree)) != nullptr) {
        HandleFileTree(field);
    } else if ((field = KeywordField(line_, K::RegistryTree)) != nullptr) {
        HandleRegistryTree(field);
    } else if (IsSessionLine(line_)) {
        HandleSessionLine();
    } else if ((field = KeywordField(line_, K::Source)) != nullptr) {
        HandleSource(field);
    } else if ((field = KeywordField(line_, K::UninstallMif)) != nullptr) {
        SafeCopy(mifName, field);
    } else if ((field = KeywordField(line_, K::Manufacturer)) != nullptr) {
        SafeCopy(manufacturer, field);
    } else if ((field = KeywordField(line_, K::Product)) != nullptr) {
        SafeCopy(productName, field);
    } else if ((field = KeywordField(line_, K::VersionNumber)) != nullptr) {
        SafeCopy(versionNumber, field);
    } else if ((field = KeywordField(line_, K::SerialNumber)) != nullptr) {
        SafeCopy(serialNumber, field);
    } else if (IsWholeLine(line_, K::UserRightsAdmin)) {
        return HandleUserRights();
    } else if ((field = KeywordField(line_, K::PerUserId)) != nullptr) {
        HandlePerUserId(field);
    } else if ((field = KeywordField(line_, K::DeleteInUseFiles)) != nullptr) {
        if (StartsWithNoCase(field, "On")) {
            deleteInUseFiles = 1;
        } else if (StartsWithNoCase(field, "Of")) {
            deleteInUseFiles = 0;
        }
    } else if (KeywordField(line_, K::SystemRestore) != nullptr) {
        restorePointEnabled = 1;
    } else if (KeywordField(line_, K::Title) != nullptr) {
        SetProductTitle(line_, env_);
    }
    return true;
}

bool LogParser::IsOnRemovableMedia(const char* path) const {
    return (removableA_ && StartsWithNoCase(path, "A:")) ||
           (removableB_ && StartsWithNoCase(path, "B:"));
}

// Every converted field is converted as soon as it is read, so that the file
// system, the registry and the duplicate index all see the path that is
// stored: the OEM bytes would name a different file in the ANSI world.
void LogParser::ConvertUnlessAnsi(char* text) const {
    if (!ansiText_) {
        env_.ConvertOemToAnsi(text);
    }
}

void LogParser::HandleSessionLine() {
    lastSessionOffset = LogLineOffset();
    ++sessionNumber;
    if (sessionNumber < SessionSourceCount) {
        sessionSources[sessionNumber] = nullptr;
    }
    ansiText_ = IsAnsiSession(line_);
}

void LogParser::HandleSource(const char* field) {
    if (sessionNumber < SessionSourceCount) {
        sessionSources[sessionNumber] = CopyTextToArena(field);
    }
    if (std::strchr(line_, '|') != nullptr) {
        sourceHasPipe = 1;
    }
}

bool LogParser::HandleUserRights() {
    if (rightsChecked_) {
        return true;
    }
    rightsChecked_ = true;
    return !isWindowsNT || env_.MayManageServices();
}

void LogParser::HandlePerUserId(const char* field) {
    perUserId = CopyTextToArena(field);
    if (!hasNewShell) {
        return;
    }
    char folder[256] = "";
    if (env_.ReadStartMenuFolder(false, folder, sizeof folder) && folder[0] != '\0') {
        // "...\Profiles\<user>\Start Menu": the folder that holds every
        // user's profile ends at the second backslash from the end.
        char* last = std::strrchr(folder, '\\');
        if (last != nullptr) {
            *last = '\0';
            if (CutAfterLastBackslash(folder)) {
                SafeCopy(profilesRoot_, folder);
            }
        }
    }
    if (!isWindowsNT) {
        return;
    }
    folder[0] = '\0';
    if (env_.ReadStartMenuFolder(true, folder, sizeof folder) && folder[0] != '\0' &&
        CutAfterLastBackslash(folder)) {
        SafeCopy(allUsersRoot_, folder);
    }
}

} // namespace log_parsing

int ParseInstallLog(const char* logPath, char (&installDirectory)[256], ParseEnvironment& env) {
    log_parsing::LogParser parser(env, installDirectory);
    return parser.Parse(logPath);
}

void SetProductTitle(const char* titleLine, ParseEnvironment& env) {
    SafeCopy(productTitle, TitleText(titleLine));
    std::size_t length = std::strlen(productTitle);
    if (length > 13 && log_parsing::EndsWithNoCase(productTitle, " INSTALLATION")) {
        length -= 13;
        productTitle[length] = '\0';
    }
    if (length > 8 && log_parsing::EndsWithNoCase(productTitle, " INSTALL")) {
        productTitle[length - 8] = '\0';
    }
    if (commandLineTitle[0] == '\0') {
        env.SetBackgroundCaption(productTitle);
    }
}
