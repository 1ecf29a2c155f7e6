#include "ListingFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

struct Stamp {
    int Year, Month, Day, Hour, Minute, Second;
};

FILETIME FromLocal(const Stamp& s)
{
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(s.Year);
    local.wMonth = static_cast<WORD>(s.Month);
    local.wDay = static_cast<WORD>(s.Day);
    local.wHour = static_cast<WORD>(s.Hour);
    local.wMinute = static_cast<WORD>(s.Minute);
    local.wSecond = static_cast<WORD>(s.Second);
    SYSTEMTIME utc{};
    FILETIME time{};
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    EXPECT_TRUE(SystemTimeToFileTime(&utc, &time));
    return time;
}

// Creation and modification alike, since Wine reports the one as the other.
void SetTimes(const std::wstring& path, const Stamp& written, const Stamp& accessed)
{
    FILETIME write = FromLocal(written), access = FromLocal(accessed);
    HANDLE handle = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(handle, &write, &access, &write));
    CloseHandle(handle);
}

void MakeFile(const TestFolder& folder, const wchar_t* name, int size, const Stamp& written, const Stamp& accessed,
              DWORD attributes = FILE_ATTRIBUTE_ARCHIVE)
{
    std::wstring path = folder.MakeFile(name, std::string(static_cast<std::size_t>(size), 'q'));
    SetTimes(path, written, accessed);
    EXPECT_TRUE(SetFileAttributesW(path.c_str(), attributes));
}

void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to)
{
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::wstring FromUtf8(const std::string& bytes)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

// "#" a digit, "@" an upper-case letter, anything else itself.
bool FitsShape(std::wstring_view text, std::wstring_view shape)
{
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        wchar_t c = text[i];
        if (shape[i] == L'#' ? !(c >= L'0' && c <= L'9') : shape[i] == L'@' ? !(c >= L'A' && c <= L'Z') : c != shape[i])
            return false;
    }
    return true;
}

bool LineMatches(const std::wstring& actual, const std::wstring& expected)
{
    std::size_t at = expected.find(L"{TIME}");
    if (at == std::wstring::npos) return actual == expected;
    std::wstring before = expected.substr(0, at), after = expected.substr(at + 6);
    if (actual.size() < before.size() + after.size() || !actual.starts_with(before) || !actual.ends_with(after))
        return false;
    std::wstring_view time(actual.data() + before.size(), actual.size() - before.size() - after.size());
    return FitsShape(time, L"#### 年 ## 月 ## 日 - @@ ## 時 ## 分 ## 秒");
}

std::string Narrow(const std::wstring& text)
{
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

}  // namespace

ListingFixture::ListingFixture()
{
    const TestFolder& f = folder_;
    f.MakeFolder(L"empty");
    f.MakeFolder(L"sub1");
    f.MakeFolder(L"sub1\\deep");
    f.MakeFolder(L"sub1\\deep\\deeper");
    f.MakeFolder(L"zeta & co");
    MakeFile(f, L"alpha.txt", 1234, {2023, 5, 1, 15, 4, 10}, {2023, 5, 3, 10, 0, 0});
    MakeFile(f, L"Beta.EXE", 100, {2022, 12, 31, 23, 59, 59}, {2023, 1, 1, 0, 0, 0},
             FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    MakeFile(f, L"gamma.jpeg2k", 0, {2024, 2, 29, 12, 0, 0}, {2024, 3, 1, 8, 30, 0});
    MakeFile(f, L"R&D notes.htm", 2048, {2021, 7, 4, 9, 5, 0}, {2021, 7, 5, 18, 45, 0});
    MakeFile(f, L"sub1\\one.doc", 5000, {2020, 1, 2, 3, 4, 5}, {2025, 6, 7, 8, 9, 0});
    MakeFile(f, L"sub1\\deep\\two.bin", 3000000, {2019, 11, 11, 11, 11, 0}, {2019, 11, 12, 12, 12, 0});
    MakeFile(f, L"zeta & co\\z.txt", 0, {2018, 8, 8, 8, 8, 0}, {2018, 8, 9, 9, 9, 0});
    // Folder access times lie in the future: reading a folder moves an older access
    // time on file systems that keep it (relatime), and the listings show it.
    SetTimes(f / L"sub1\\deep\\deeper", {2022, 5, 5, 5, 5, 0}, {2031, 4, 4, 4, 4, 0});
    SetTimes(f / L"sub1\\deep", {2022, 4, 4, 4, 4, 0}, {2031, 3, 3, 3, 3, 0});
    SetTimes(f / L"sub1", {2022, 3, 3, 3, 3, 0}, {2031, 2, 2, 2, 2, 0});
    SetTimes(f / L"empty", {2022, 6, 6, 6, 6, 0}, {2031, 5, 5, 5, 5, 0});
    SetTimes(f / L"zeta & co", {2022, 7, 7, 7, 7, 0}, {2031, 6, 6, 6, 6, 0});
    SetTimes(f.Path(), {2022, 2, 2, 2, 2, 0}, {2031, 1, 1, 1, 1, 0});
}

std::wstring ListingFixture::RootName() const { return Root().substr(Root().rfind(L'\\') + 1); }

void FakeHost::PumpMessages()
{
    ++Pumps;
    if (stopAfter_ >= 0 && Pumps >= stopAfter_) PressStop();
    if (OnEvent) OnEvent(*this);
}

void FakeHost::ShowStatus(std::wstring_view text)
{
    Statuses.emplace_back(text);
    if (OnEvent) OnEvent(*this);
}

std::wstring ListingText(const std::wstring& path)
{
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return L"<no mark>";
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

std::wstring ExpectedListing(const std::string& name, const ListingFixture& fixture)
{
    std::ifstream file(std::string(QUORVANE_EXPECTED_DIR) + "/" + name + ".txt", std::ios::binary);
    EXPECT_TRUE(file.good()) << "no expected file " << name;
    std::stringstream content;
    content << file.rdbuf();
    std::wstring text = FromUtf8(content.str());
    ReplaceAll(text, L"\n", L"\r\n");
    ReplaceAll(text, L"{RULE}",
               L"----------- ---------------- ---------------- ---------------- -------- -------- "
               L"--------------------------------------------------------");
    ReplaceAll(text, L"{HEADER}",
               L"  檔案大小    起始建立時間     最後修改時間     最後存取時間   檔案屬性  副檔名  檔案名稱" +
                   std::wstring(48, L' '));
    ReplaceAll(text, L"{ROOTNAME}", fixture.RootName());
    ReplaceAll(text, L"{ROOT}", fixture.Root());
    return text;
}

std::string MatchListing(const std::wstring& actual, const std::wstring& expected)
{
    std::vector<std::wstring> got = SplitLines(actual), want = SplitLines(expected);
    for (std::size_t i = 0; i < std::max(got.size(), want.size()); ++i) {
        std::wstring a = i < got.size() ? got[i] : L"<end of file>";
        std::wstring e = i < want.size() ? want[i] : L"<end of file>";
        if (!LineMatches(a, e))
            return "line " + std::to_string(i + 1) + "\n  actual:   [" + Narrow(a) + "]\n  expected: [" + Narrow(e) +
                   "]";
    }
    return {};
}
