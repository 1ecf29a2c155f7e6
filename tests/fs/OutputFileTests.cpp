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
    const std::wstring lone = std::wstring(1, wchar_t(0xD800)) + L"x" + wchar_t(0xDC00) + wchar_t(0xDBFF);
    const struct {
        TextEncoding Encoding;
        std::vector<std::wstring> Lines;
        std::string Bytes;
    } cases[] = {
        {TextEncoding::Utf16Le, {L"abc"}, Bytes({0xFF, 0xFE, 'a', 0, 'b', 0, 'c', 0, 13, 0, 10, 0})},
        {TextEncoding::Utf16Le, {L""}, Bytes({0xFF, 0xFE, 13, 0, 10, 0})}, {TextEncoding::Utf16Le, {}, Bytes({0xFF, 0xFE})},
        {TextEncoding::Utf16Le, {L"a\r\nb", L"\u4e2d\U0001F600"},
         Bytes({0xFF, 0xFE, 'a', 0, 13, 0, 10, 0, 'b', 0, 13, 0, 10, 0, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE, 13, 0, 10, 0})},
        {TextEncoding::Utf8, {}, Bytes({0xEF, 0xBB, 0xBF})},
        {TextEncoding::Utf8, {L"a", L""}, Bytes({0xEF, 0xBB, 0xBF, 'a', 13, 10, 13, 10})},
        // Up to four bytes a character; a surrogate without its partner is U+FFFD.
        {TextEncoding::Utf8, {L"\u007f\u0080\u07ff\u0800\uffff\U0001F600\U0010FFFF"},
         Bytes({0xEF, 0xBB, 0xBF, 0x7F, 0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF, 0xF0, 0x9F, 0x98,
                0x80, 0xF4, 0x8F, 0xBF, 0xBF, 13, 10})},
        {TextEncoding::Utf8, {lone},
         Bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBF, 0xBD, 'x', 0xEF, 0xBF, 0xBD, 0xEF, 0xBF, 0xBD, 13, 10})},
    };
    for (const auto& c : cases) {
        OutputFile file;
        EXPECT_TRUE(OpenOutputFile(file, path, OpenMode::Replace, c.Encoding));
        for (const std::wstring& line : c.Lines) WriteOutputLine(file, line);
        CloseOutputFile(file);
        EXPECT_FALSE(file.Failed());
        EXPECT_EQ(ReadFileBytes(path), c.Bytes) << c.Lines.size();
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
