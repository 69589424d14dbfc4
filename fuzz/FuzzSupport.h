#pragma once
// Helpers shared by the fuzz targets: reading choices out of the input, failing loudly when
// a property breaks, and keeping error dump files out of the source tree.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "storyloom/coreframework/Logging.h"

// A broken property is a finding: libFuzzer keeps the input that caused the abort.
#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, \
                         #condition);                                                 \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

// Reads the fuzzer's bytes as a series of choices; past the end every choice is 0.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : _data(data), _size(size) {}

    uint8_t Byte() { return _at < _size ? _data[_at++] : 0; }
    uint32_t Word() {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i) word |= uint32_t(Byte()) << (8 * i);
        return word;
    }
    int Int() { return static_cast<int>(Word()); }
    // Any bit pattern: infinities and NaNs included.
    float Float() {
        const uint32_t word = Word();
        float value;
        std::memcpy(&value, &word, sizeof value);
        return value;
    }
    // A choice among `count` options.
    unsigned Pick(unsigned count) { return count ? Byte() % count : 0; }
    // Bytes up to the next `separator` (not included) or the end.
    std::string Until(char separator) {
        std::string text;
        while (_at < _size && static_cast<char>(_data[_at]) != separator) text += static_cast<char>(_data[_at++]);
        if (_at < _size) ++_at;
        return text;
    }
    std::string Rest() {
        std::string text(reinterpret_cast<const char*>(_data) + _at, _size - _at);
        _at = _size;
        return text;
    }
    bool AtEnd() const { return _at >= _size; }

private:
    const uint8_t* _data;
    size_t _size;
    size_t _at = 0;
};

// One run of a target. While it lasts, the process works in a scratch folder under /tmp,
// where the serializer's error dump files land; the folder is emptied now and then and
// removed at exit. Framework check reports are dropped at its end: reports kept from run to
// run would look like leaks to libFuzzer and make it search for them after every run.
class FuzzRun {
public:
    FuzzRun() : _previous(open(".", O_RDONLY | O_DIRECTORY)) {
        if (!*Folder() || chdir(Folder()) != 0) return;
        if (++Uses() % 1000 == 0) Empty();
    }
    ~FuzzRun() {
        ClearAssertionReports();
        if (_previous >= 0) {
            if (fchdir(_previous) != 0) std::abort();
            close(_previous);
        }
    }
    FuzzRun(const FuzzRun&) = delete;
    FuzzRun& operator=(const FuzzRun&) = delete;

private:
    // A plain array, so the exit handler never meets a destroyed string.
    static const char* Folder() {
        static char folder[] = "/tmp/storyloom_fuzz_XXXXXX";
        static const bool made = [] {
            if (!mkdtemp(folder)) return false;
            std::atexit([] {
                Empty(folder);
                rmdir(folder);
            });
            return true;
        }();
        return made ? folder : "";
    }
    static unsigned& Uses() {
        static unsigned uses = 0;
        return uses;
    }
    static void Empty(const char* folder = ".") {
        if (DIR* dir = opendir(folder)) {
            while (dirent* entry = readdir(dir))
                if (entry->d_name[0] != '.') unlink((std::string(folder) + "/" + entry->d_name).c_str());
            closedir(dir);
        }
    }

    int _previous;
};
