#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "storyloom/host/d3d9/D3DResults.h"

// Receives the messages of framework objects. Whoever hands a logger to an object keeps
// ownership of it.
class VirtualLogger {
public:
    virtual ~VirtualLogger() = default;
    virtual void Log(const std::string& message, int level) = 0;
};

// Discards everything; the logger of objects that were given no other.
class DefaultLogger : public VirtualLogger {
public:
    constexpr DefaultLogger() = default;
    void Log(const std::string& message, int level) override;

    // The one process-wide instance, alive for as long as the library is loaded.
    static DefaultLogger& Instance();
};

// Writes the local time as "yy/mm/dd hh:mm:ss > " without a line break.
// Answers 1 (and writes nothing) for a null file, else 0.
int WriteTimeStamp(FILE* file);

// Appends the name of the result the debug renderer stored last (DebugRenderer::GetLastResult),
// or "HRESULT_CODE(n)" with its low 16 bits.
void AppendResultName(std::string& out);

// A failed framework check: what is printed to standard error and kept for inspection.
struct AssertionReport {
    std::string expression;  // "(" + condition + ") && 0"
    std::string sourcePath;
    int line = 0;
};

// Reports a failed check unless it holds, and answers whether it held. Never stops the
// process: the caller goes on as if the check had been made by hand.
bool FrameworkCheck(bool holds, const char* condition, const char* sourcePath, int line);

const std::vector<AssertionReport>& GetAssertionReports();
void ClearAssertionReports();

// The condition's spelling is part of the report, so write it the way it should read.
#define FRAMEWORK_ASSERT(condition, sourcePath) \
    FrameworkCheck(static_cast<bool>(condition), #condition, sourcePath, __LINE__)
