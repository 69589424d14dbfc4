#include "tools/storyloom/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

OutputFile::OutputFile(std::string path)
    : _path(std::move(path)), _temporary(_path + ".tmp" + std::to_string(getpid())) {}

OutputFile::~OutputFile() {
    if (!_committed) std::remove(_temporary.c_str());
}

bool OutputFile::Write(const std::string& content, std::string& error) {
    FILE* file = std::fopen(_temporary.c_str(), "wb");
    bool ok = file && std::fwrite(content.data(), 1, content.size(), file) == content.size();
    if (file && std::fclose(file) != 0) ok = false;
    if (!ok) error = _path + ": cannot be written (" + std::strerror(errno) + ")";
    return ok;
}

bool OutputFile::Commit(std::string& error) {
    if (std::rename(_temporary.c_str(), _path.c_str()) != 0) {
        error = _path + ": cannot be written (" + std::strerror(errno) + ")";
        return false;
    }
    _committed = true;
    return true;
}
