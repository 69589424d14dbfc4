#pragma once
#include <string>
#include <vector>

// The serializer writes its error dump files into the current folder. The program runs in a
// fresh private folder instead, so none lands in the user's; every path the user gives still
// means what it means in the folder the program was called from.
namespace DumpFolder {
// Makes the folder and moves into it; false with the reason in `error`.
bool Enter(std::string& error);
// `path` as it reads in the caller's folder; unchanged when the folder was not entered.
std::string CallerPath(const std::string& path);
// At exit: the dump files written; the folder is removed when there are none.
std::vector<std::string> Close();
}  // namespace DumpFolder
