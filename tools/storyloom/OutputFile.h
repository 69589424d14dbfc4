#pragma once
#include <string>

// A file written whole or not at all: written under a temporary name next to the target
// and renamed over it by Commit; removed when never committed.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::string& TemporaryPath() const { return _temporary; }
    // Writes `content` to the temporary file; false with the reason in `error`.
    bool Write(const std::string& content, std::string& error);
    // Moves the temporary file over the target; false with the reason in `error`.
    bool Commit(std::string& error);

private:
    std::string _path;
    std::string _temporary;
    bool _committed = false;
};
