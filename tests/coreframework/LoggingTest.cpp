#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "storyloom/coreframework/Defines/UsefulDefines.h"
#include "storyloom/coreframework/Logging.h"
#include "storyloom/coreframework/debugrenderer/DebugRenderer.h"

TEST(Logging, TimeStampIsLocalTimeInTwoDigitFields) {
    EXPECT_EQ(WriteTimeStamp(nullptr), 1);
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::time_t now = std::time(nullptr);
    EXPECT_EQ(WriteTimeStamp(file), 0);
    std::rewind(file);
    char written[64] = {};
    ASSERT_NE(std::fgets(written, sizeof(written), file), nullptr);
    std::fclose(file);
    std::tm local{};
    localtime_r(&now, &local);
    char expected[32];
    std::snprintf(expected, sizeof(expected), "%02d/%02d/%02d ", local.tm_year % 100, local.tm_mon + 1, local.tm_mday);
    EXPECT_EQ(std::string(written, 9), expected);  // the day; the time of day may have moved on
    EXPECT_EQ(std::string(written).size(), 20u);
    EXPECT_EQ(std::string(written + 11, 1) + std::string(written + 14, 1) + std::string(written + 17), ":: > ");
}

TEST(Logging, ResultNamesAndLowBitsFallback) {
    const std::pair<unsigned, const char*> cases[] = {
        {0x8876086Cu, "D3DERR_INVALIDCALL"},      {0x88760868u, "D3DERR_DEVICELOST"},
        {0x8876017Cu, "D3DERR_OUTOFVIDEOMEMORY"}, {0x0876086Fu, "D3DOK_NOAUTOGEN"},
        {0x88760B54u, "D3DXERR_CANNOTMODIFYINDEXBUFFER"}, {0x88760B5Cu, "D3DXERR_CANNOTREMOVELASTITEM"},
        {0x8000FFFFu, "E_UNEXPECTED"},
        {0x80070002u, "HRESULT_CODE(2)"},  // a missing file is not in the list
        {0u, "HRESULT_CODE(0)"},
    };
    for (const auto& [code, name] : cases) {
        DebugRenderer::SetLastResult(static_cast<HRESULT>(code));
        std::string out = "result ";
        AppendResultName(out);
        EXPECT_EQ(out, std::string("result ") + name) << std::hex << code;
    }
}

TEST(Logging, FailedCheckIsCollectedAndExecutionGoesOn) {
    ClearAssertionReports();
    const char* chunk = nullptr;
    const int line = __LINE__ + 1;
    EXPECT_FALSE(FRAMEWORK_ASSERT(chunk, "coreframework/serializer/Serializer"));
    EXPECT_TRUE(FRAMEWORK_ASSERT(line > 0, "unused"));
    ASSERT_EQ(GetAssertionReports().size(), 1u);  // expression and path are checked with the chunks
    EXPECT_EQ(GetAssertionReports()[0].line, line);
    ClearAssertionReports();
}

// Formatted texts at and beyond the 20,479 characters of the report buffer are cut there,
// and the buffer always ends in a NUL.
TEST(Logging, FormattedTextsAreCutToTheReportBuffer) {
    for (size_t length : {20478u, 20479u, 20480u, 100000u}) {
        const std::string text(length, 'x');
        EXPECT_EQ(FormatText("%s", text.c_str()), text.substr(0, REPORT_BUFFER_SIZE - 1)) << length;
        EXPECT_EQ(ReportBuffer()[REPORT_BUFFER_SIZE - 1], '\0') << length;
        EXPECT_EQ(FormatText("%s%s", "ab", text.c_str()).size(), std::min<size_t>(length + 2, REPORT_BUFFER_SIZE - 1));
    }
}
