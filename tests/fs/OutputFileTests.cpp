#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "fs/OutputFile.h"
#include "support/TestFolder.h"

namespace {

std::string Bytes(std::initializer_list<int> values) { return std::string(values.begin(), values.end()); }

}  // namespace

TEST(OutputFile, ReplacesTheFileWithTheMarkAndEachLineUnitForUnitEndingInCrLf)
{
    TestFolder folder;
    std::wstring path = folder.MakeFile(L"old.txt", std::string(5000, 'z'));
    const std::pair<std::vector<std::wstring>, std::string> cases[] = {
        {{L"abc"}, Bytes({0xFF, 0xFE, 'a', 0, 'b', 0, 'c', 0, 13, 0, 10, 0})},
        {{L""}, Bytes({0xFF, 0xFE, 13, 0, 10, 0})}, {{}, Bytes({0xFF, 0xFE})},
        {{L"a\r\nb", L"\u4e2d\U0001F600"},
         Bytes({0xFF, 0xFE, 'a', 0, 13, 0, 10, 0, 'b', 0, 13, 0, 10, 0, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE, 13, 0, 10, 0})},
    };
    for (const auto& [lines, bytes] : cases) {
        OutputFile file;
        EXPECT_TRUE(OpenOutputFile(file, path));
        for (const std::wstring& line : lines) WriteOutputLine(file, line);
        CloseOutputFile(file);
        EXPECT_FALSE(file.Failed());
        EXPECT_EQ(ReadFileBytes(path), bytes) << lines.size();
    }
}

// The test script provides a folder on a tiny volume, so a write can really fail.
TEST(OutputFile, AFailedWriteKeepsEarlierLinesAndDropsEverythingAfter)
{
    const char* volume = std::getenv("QUORVANE_SMALL_VOLUME");
    if (!volume || !*volume) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring path = std::wstring(volume, volume + std::strlen(volume)) + L"\\full.txt";
    OutputFile file;
    ASSERT_TRUE(OpenOutputFile(file, path));
    WriteOutputLine(file, L"first");
    WriteOutputLine(file, std::wstring(4 * 1024 * 1024, L'x'));  // larger than the volume
    EXPECT_TRUE(file.Failed() && !file.IsOpen() && file.LastError() != 0);
    WriteOutputLine(file, L"after");
    CloseOutputFile(file);
    std::string bytes = ReadFileBytes(path);
    DeleteFileW(path.c_str());
    EXPECT_EQ(bytes.substr(0, 14), Bytes({0xFF, 0xFE, 'f', 0, 'i', 0, 'r', 0, 's', 0, 't', 0, 13, 0}));
    EXPECT_EQ(bytes.find(std::string("a\0f\0t\0e\0r\0", 10)), std::string::npos);
}
