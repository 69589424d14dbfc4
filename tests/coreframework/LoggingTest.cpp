#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "coreframework/Logging.h"

// The stamp is local time in two-digit fields: yy/mm/dd hh:mm:ss > (no line break).
TEST(WriteTimeStamp, WritesLocalTimePrefixAndRefusesNullFile) {
    EXPECT_EQ(WriteTimeStamp(nullptr), 1);

    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::time_t before = std::time(nullptr);
    EXPECT_EQ(WriteTimeStamp(file), 0);
    std::time_t after = std::time(nullptr);
    std::rewind(file);
    char written[128] = {};
    size_t length = std::fread(written, 1, sizeof(written) - 1, file);
    std::fclose(file);

    ASSERT_EQ(length, 20u) << written;
    auto stampOf = [](std::time_t t) {
        std::tm local{};
        localtime_r(&t, &local);
        char text[32];
        std::snprintf(text, sizeof(text), "%02d/%02d/%02d %02d:%02d:%02d > ", local.tm_year % 100,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        return std::string(text);
    };
    EXPECT_TRUE(written == stampOf(before) || written == stampOf(after)) << written;
}

TEST(AppendResultName, NamesKnownResultsAndFallsBackToLowBits) {
    struct Case {
        unsigned code;
        const char* text;
    };
    const Case cases[] = {
        {0x8876086Cu, "D3DERR_INVALIDCALL"},
        {0x88760818u, "D3DERR_WRONGTEXTUREFORMAT"},
        {0x88760868u, "D3DERR_DEVICELOST"},
        {0x8876017Cu, "D3DERR_OUTOFVIDEOMEMORY"},
        {0x8876021Cu, "D3DERR_WASSTILLDRAWING"},
        {0x0876086Fu, "D3DOK_NOAUTOGEN"},
        {0x88760B54u, "D3DXERR_CANNOTMODIFYINDEXBUFFER"},
        {0x88760B5Cu, "D3DXERR_CANNOTREMOVELASTITEM"},
        {0x80004005u, "E_FAIL"},
        {0x8000FFFFu, "E_UNEXPECTED"},
        {0x80070002u, "HRESULT_CODE(2)"},  // a missing file is not in the list
        {0x00000000u, "HRESULT_CODE(0)"},
        {0x8876FFFFu, "HRESULT_CODE(65535)"},
    };
    for (const Case& c : cases) {
        SetLastResult(static_cast<HRESULT>(c.code));
        std::string out = "result: ";
        AppendResultName(out);
        EXPECT_EQ(out, std::string("result: ") + c.text) << std::hex << c.code;
    }
    EXPECT_EQ(D3DERR_INVALIDCALL, static_cast<HRESULT>(0x8876086Cu));
}

TEST(FrameworkAssert, ReportsFailedConditionAndGoesOn) {
    ClearAssertionReports();
    const char* chunk = nullptr;
    int line = __LINE__ + 1;
    EXPECT_FALSE(FRAMEWORK_ASSERT(chunk, "coreframework/serializer/Serializer"));
    EXPECT_TRUE(FRAMEWORK_ASSERT(line > 0, "unused"));
    DefaultLogger::Instance().Log("discarded", 0);

    ASSERT_EQ(GetAssertionReports().size(), 1u);
    EXPECT_EQ(GetAssertionReports()[0].expression, "(chunk) && 0");
    EXPECT_EQ(GetAssertionReports()[0].sourcePath, "coreframework/serializer/Serializer");
    EXPECT_EQ(GetAssertionReports()[0].line, line);
    ClearAssertionReports();
    EXPECT_TRUE(GetAssertionReports().empty());
}
