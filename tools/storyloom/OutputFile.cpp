#include "OutputFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DumpFolder.h"

namespace fs = std::filesystem;

namespace {
// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;
constexpr const char* kHiddenPattern = ".storyloom-%d-%u.tmp";
// Names a run of the same number left behind are stepped over.
constexpr int kMaxAttempts = 100;

// The file `path` names once its links are followed; a link to nothing names the file it
// would make. A link loop stays a link, and writing to it fails.
std::string FollowLinks(const std::string& path) {
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code failed;
        if (!fs::is_symlink(fs::symlink_status(current, failed))) break;
        const fs::path target = fs::read_symlink(current, failed);
        if (failed) break;
        current = current.parent_path() / target;
    }
    return current.string();
}

// Makes an empty hidden file beside the target, its name of a fixed shape far below NAME_MAX
// whatever the target is called; false with errno set when the folder takes none.
bool MakeHiddenFile(const fs::path& folder, std::string& path) {
    static unsigned made = 0;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, kHiddenPattern, static_cast<int>(getpid()), made++);
        path = (folder / name).string();
        const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            close(descriptor);
            return true;
        }
        if (errno != EEXIST) break;
    }
    return false;
}

// Removes hidden files of runs that no longer exist (killed while writing).
void RemoveLeftovers(const fs::path& folder) {
    DIR* entries = opendir(folder.empty() ? "." : folder.c_str());
    if (!entries) return;
    const std::string pattern = std::string(kHiddenPattern) + "%n";
    while (const dirent* entry = readdir(entries)) {
        int pid = 0, end = 0;
        unsigned count = 0;
        if (std::sscanf(entry->d_name, pattern.c_str(), &pid, &count, &end) != 2 || entry->d_name[end] != '\0')
            continue;
        const bool gone = pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
        if (gone) unlinkat(dirfd(entries), entry->d_name, 0);
    }
    closedir(entries);
}
}  // namespace

OutputFile::OutputFile(std::string path) : _path(std::move(path)) {
    const std::string named = DumpFolder::CallerPath(_path);
    struct stat info {};
    if (stat(named.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        _target = _writePath = named;
        return;
    }
    _target = FollowLinks(named);
    const fs::path folder = fs::path(_target).parent_path();
    RemoveLeftovers(folder);
    if (!MakeHiddenFile(folder, _writePath)) _hiddenError = errno;
}

OutputFile::~OutputFile() {
    if (!_committed && _writePath != _target && _hiddenError == 0) std::remove(_writePath.c_str());
}

bool OutputFile::Failed(std::string& error) const {
    error = _path + ": cannot be written (" + std::strerror(errno) + ")";
    return false;
}

bool OutputFile::Write(const std::string& content, std::string& error) {
    errno = _hiddenError;
    FILE* file = _hiddenError == 0 ? std::fopen(_writePath.c_str(), "wb") : nullptr;
    if (!file) return Failed(error);
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const int writeError = errno;
    if (std::fclose(file) != 0) return Failed(error);
    errno = writeError;
    return ok || Failed(error);
}

bool OutputFile::Commit(std::string& error) {
    if (_writePath != _target && std::rename(_writePath.c_str(), _target.c_str()) != 0) return Failed(error);
    _committed = true;
    return true;
}

void PrintText(FILE* out, const std::string& text) { std::fwrite(text.data(), 1, text.size(), out); }
