#include "WrittenText.h"

#include <gtest/gtest.h>

#include "support/TestFolder.h"

std::wstring WrittenText(const std::function<void(LineWriter&)>& write)
{
    TestFolder folder;
    std::wstring path = folder / L"out.txt";
    OutputFile file;
    EXPECT_TRUE(OpenOutputFile(file, path));
    {
        LineWriter out(&file);
        write(out);
    }
    CloseOutputFile(file);
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return L"<no mark>";
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

FileTimeInfo LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    FileTimeInfo time;
    time.Local = *OleDateFromParts({year, month, day, hour, minute, second});
    time.Utc = time.Local - 8.0 / 24;
    return time;
}

EntryInfo FileEntry(const std::wstring& folder, const std::wstring& name, std::int64_t size, std::uint32_t attributes)
{
    EntryInfo entry;
    entry.Folder = folder;
    entry.Name = name;
    entry.FullPath = folder + name;
    std::size_t dot = name.rfind(L'.');
    entry.Extension = dot == std::wstring::npos ? L"" : name.substr(dot + 1);
    entry.Attributes = attributes;
    entry.IsFolder = (attributes & AttributeBits::Directory) != 0;
    entry.IsFile = !entry.IsFolder;
    entry.Size = size;
    entry.CompressedSize = size;
    entry.Created = LocalTime(2023, 5, 1, 15, 4);
    entry.Modified = LocalTime(2023, 5, 2, 9, 30);
    entry.Accessed = LocalTime(2023, 5, 3, 10, 0);
    return entry;
}
