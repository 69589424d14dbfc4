#pragma once
#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Runs a test inside a fresh directory, so files written to the current directory can be
// counted and read, and are gone afterwards.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char cwd[4096];
        _previous = getcwd(cwd, sizeof(cwd)) ? cwd : ".";
        char pattern[] = "/tmp/storyloom_scratch_XXXXXX";
        if (mkdtemp(pattern) && chdir(pattern) == 0) _path = pattern;
    }
    ~ScratchDirectory() {
        for (const std::string& name : FileNames()) unlink(name.c_str());
        if (chdir(_previous.c_str()) == 0 && !_path.empty()) rmdir(_path.c_str());
    }
    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        if (DIR* dir = opendir(".")) {
            while (dirent* entry = readdir(dir))
                if (entry->d_name[0] != '.') names.push_back(entry->d_name);
            closedir(dir);
        }
        return names;
    }
    static std::string Read(const std::string& name) {
        std::ostringstream content;
        content << std::ifstream(name, std::ios::binary).rdbuf();
        return content.str();
    }

private:
    std::string _previous;
    std::string _path;
};
