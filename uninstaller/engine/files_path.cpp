#include "engine/files_path.h"

#include "common/safe_text.h"

#include <cstring>
#include <string>

namespace {

// The length of the head that keeps its form: "\\server\" before a UNC
// path, then the drive ("C:") or the share name and the backslash after it.
std::size_t HeadLength(const std::string& text) {
    std::size_t position = 0;
    if (text.compare(0, 2, "\\\\") == 0) {
        position = text.find('\\', 2);
        position = position == std::string::npos ? text.size() : position + 1;
    }
    std::size_t next = text.find('\\', position);
    return next == std::string::npos ? text.size() : next + 1;
}

// A directory search for a pattern answers with the first file that matches
// it, which must not take the pattern's place.
bool IsPattern(const std::string& component) {
    return component.find_first_of("*?") != std::string::npos;
}

} // namespace

void NormalizePathWith(const PathLookup& lookup, char* path, std::size_t size, bool toLong) {
    if (size == 0) {
        return;
    }
    std::string text(path, strnlen(path, size - 1));
    // An empty path names nothing; it must not turn into the current directory.
    if (text.empty() || (toLong && text.find('~') == std::string::npos)) {
        return;
    }
    if (text.find('\\') == std::string::npos) {
        char directory[260];
        if (!lookup.CurrentDirectory(directory, sizeof(directory))) {
            return;
        }
        std::string full = directory;
        if (full.empty() || full.back() != '\\') {
            full += '\\';
        }
        full += text;
        // Cut, the name would point elsewhere; as written it still names the file.
        if (full.size() >= size) {
            return;
        }
        text = full;
    }
    if (text.size() >= 2 && text[1] == ':' && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    std::size_t position = HeadLength(text);
    while (position < text.size()) {
        std::size_t end = text.find('\\', position);
        if (end == std::string::npos) {
            end = text.size();
        }
        PathLookup::EntryNames names;
        if (end > position && !IsPattern(text.substr(position, end - position)) &&
            lookup.FindEntry(text.substr(0, end).c_str(), names)) {
            const char* replacement =
                toLong || names.shortName[0] == '\0' ? names.longName : names.shortName;
            std::size_t replacementLength = std::strlen(replacement);
            // Any mix of long and short components names the same file, so a
            // component whose other form would not fit simply stays.
            if (text.size() - (end - position) + replacementLength < size) {
                text.replace(position, end - position, replacement);
                end = position + replacementLength;
            }
        }
        position = end + 1;
    }
    SafeCopy(path, size, text.c_str());
}
