#pragma once

// What the program answers its caller, the same for every command.
namespace ExitStatus {
enum Code : int {
    Success = 0,
    Failed = 1,      // a check or run that failed, an input that cannot be used, a failed write
    UsageError = 2,  // arguments that do not make a command, a file that cannot be read
};
}  // namespace ExitStatus
