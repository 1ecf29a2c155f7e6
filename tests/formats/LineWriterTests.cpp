#include <gtest/gtest.h>

#include "WrittenText.h"
#include "support/TestFolder.h"

TEST(LineWriter, LinesReachTheFileInOrderAcrossChunks)
{
    std::wstring expected;
    std::wstring text = WrittenText([&](LineWriter& out) {
        for (int i = 0; i < 20000; ++i) out.WriteLine(L"line " + std::to_wstring(i));
    });
    for (int i = 0; i < 20000; ++i) expected += L"line " + std::to_wstring(i) + L"\r\n";
    EXPECT_EQ(text, expected);
}

TEST(LineWriter, EmptyLinesAndEmbeddedLineBreaksAreKept)
{
    EXPECT_EQ(WrittenText([](LineWriter& out) {
                  out.WriteLine(L"");
                  out.WriteLine(L"a\r\nb");
                  out.WriteLine(L"");
              }),
              L"\r\na\r\nb\r\n\r\n");
}

TEST(LineWriter, NothingWrittenLeavesOnlyTheMark)
{
    EXPECT_EQ(WrittenText([](LineWriter&) {}), L"");
}

TEST(LineWriter, SmallChunksGiveTheSameBytes)
{
    TestFolder folder;
    std::wstring path = folder / L"small.txt";
    OutputFile file;
    ASSERT_TRUE(OpenOutputFile(file, path));
    {
        LineWriter out(&file, 3);
        for (auto line : {L"one", L"", L"three", L"x"}) out.WriteLine(line);
    }
    CloseOutputFile(file);
    EXPECT_EQ(ReadFileBytes(path), std::string("\xFF\xFEo\0n\0e\0\r\0\n\0\r\0\n\0t\0h\0r\0e\0e\0\r\0\n\0x\0\r\0\n\0", 36));
}

TEST(LineWriter, WithoutAFileEverythingIsDropped)
{
    LineWriter out(nullptr);
    out.WriteLine(L"nowhere");
    out.Flush();
    EXPECT_FALSE(out.Failed());
}
