#include "DumpFolder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

namespace fs = std::filesystem;

namespace DumpFolder {
namespace {
std::string callerFolder;
std::string dumpFolder;
}  // namespace

bool Enter(std::string& error) {
    std::error_code failed;
    const fs::path caller = fs::current_path(failed);
    // A caller's folder that is gone cannot hold dumps either.
    if (failed) return true;
    std::string pattern = (fs::temp_directory_path(failed) / "storyloom-XXXXXX").string();
    if (failed || !mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
        error = "no private folder for the serializer's dump files in " + pattern + " (" +
                (failed ? failed.message() : std::strerror(errno)) + "; set TMPDIR)";
        return false;
    }
    callerFolder = caller.string();
    dumpFolder = pattern;
    return true;
}

std::string CallerPath(const std::string& path) {
    if (callerFolder.empty() || path.empty() || path[0] == '/') return path;
    return callerFolder + "/" + path;
}

std::vector<std::string> Close() {
    std::vector<std::string> dumps;
    // Removing first allocates nothing, so this serves when memory has run out too.
    if (dumpFolder.empty() || rmdir(dumpFolder.c_str()) == 0) return dumps;
    std::error_code failed;
    for (fs::directory_iterator entry(dumpFolder, failed), end; !failed && entry != end; entry.increment(failed))
        dumps.push_back(entry->path().string());
    return dumps;
}
}  // namespace DumpFolder
