#pragma once
#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Runs a test inside a fresh empty directory, so files the code writes into the current
// directory can be counted and read, and are gone afterwards.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char cwd[PATH_MAX];
        _previous = getcwd(cwd, sizeof(cwd)) ? cwd : ".";
        char pattern[] = "/tmp/storyloom_scratch_XXXXXX";
        _path = mkdtemp(pattern) ? pattern : ".";
        if (chdir(_path.c_str()) != 0) _path = ".";
    }
    ~ScratchDirectory() {
        for (const std::string& name : FileNames()) unlink((_path + "/" + name).c_str());
        if (chdir(_previous.c_str()) == 0 && _path != ".") rmdir(_path.c_str());
    }

    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        if (DIR* dir = opendir(_path.c_str())) {
            while (dirent* entry = readdir(dir))
                if (entry->d_name[0] != '.') names.push_back(entry->d_name);
            closedir(dir);
        }
        return names;
    }

    static std::string Read(const std::string& name) {
        std::ifstream file(name, std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        return content.str();
    }

private:
    std::string _previous;
    std::string _path;
};
