#pragma once
#include <cstdio>
#include <string>

// A file written whole or not at all. The path's links are followed: a regular file (or a new
// one) is written under a short hidden name beside the file the path names and renamed over
// it by Commit, removed when never committed; a device, a pipe or any other file that is not
// regular is written straight to, as a rename would replace it. A relative path means what it
// means in the caller's folder (see DumpFolder). Hidden files a killed run left behind are
// removed by the next run that writes into their folder.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Where to write: the hidden file, or the named file itself when it is not regular.
    const std::string& WritePath() const { return _writePath; }
    // Writes `content` whole; false with the reason in `error`.
    bool Write(const std::string& content, std::string& error);
    // Moves the hidden file over the named one; false with the reason in `error`.
    bool Commit(std::string& error);

private:
    bool Failed(std::string& error) const;

    std::string _path;
    std::string _target;
    std::string _writePath;
    int _hiddenError = 0;
    bool _committed = false;
};

// Writes every byte of `text`, NUL bytes too; a failure shows in ferror(out).
void PrintText(FILE* out, const std::string& text);
