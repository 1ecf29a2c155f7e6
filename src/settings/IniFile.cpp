#include "settings/IniFile.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "fs/Handles.h"
#include "fs/LongPath.h"
#include "settings/SafeWrite.h"

namespace {

// Bounds that keep a damaged, enormous file from exhausting a 32-bit process's memory:
// 64 MB of section text, and 16 MB of file taken for UTF-8.
constexpr DWORD kMaxSectionChars = 32u * 1024 * 1024;
constexpr LONGLONG kMaxUtf8FileBytes = 16LL * 1024 * 1024;

// The bytes of a file without the UTF-16 byte-order mark, which the platform's reader
// reads as it is.
std::optional<std::string> UnmarkedFileBytes(const std::wstring& path)
{
    UniqueFile file(CreateFileW(LongPathArg(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxUtf8FileBytes) return std::nullopt;
    // The mark is looked at before the file's size is claimed: the program's own files have one.
    char mark[2] = {};
    DWORD got = 0;
    if (size.QuadPart >= 2 && (!ReadFile(file.Get(), mark, 2, &got, nullptr) || got != 2 ||
                               std::string_view(mark, 2) == "\xFF\xFE" || std::string_view(mark, 2) == "\xFE\xFF"))
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::copy(mark, mark + got, bytes.begin());
    DWORD rest = 0;
    if (bytes.size() > got &&
        !ReadFile(file.Get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &rest, nullptr))
        return std::nullopt;
    bytes.resize(got + rest);
    return bytes;
}

// The text of bytes that are UTF-8 but not plain ASCII (which reads alike in every code
// page).
std::optional<std::wstring> Utf8Text(const std::string& bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::nullopt;
    auto count = static_cast<int>(bytes.size());
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), count, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), count, text.data(), length);
    if (text.starts_with(L'\xFEFF')) text.erase(0, 1);
    return text;
}

// A UTF-16 copy, with the mark, of a UTF-8 file: the platform's reader takes a file
// without a mark for the system's code page. The copy lives in the temp folder (the
// program's folder may refuse new files) until this object goes.
class Utf16Copy {
public:
    explicit Utf16Copy(const std::wstring& text);
    ~Utf16Copy()
    {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    Utf16Copy(const Utf16Copy&) = delete;
    Utf16Copy& operator=(const Utf16Copy&) = delete;

    // Empty when the copy could not be made.
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

Utf16Copy::Utf16Copy(const std::wstring& text)
{
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"qvn", 0, name)) return;
    path_ = name;  // created, empty, by GetTempFileNameW
    std::wstring content = L"\xFEFF" + text;
    auto bytes = static_cast<DWORD>(content.size() * sizeof(wchar_t));
    UniqueFile file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    bool complete = file && WriteAll(file.Get(), content.data(), bytes);
    if (!file.Reset() || !complete) {
        DeleteFileW(name);
        path_.clear();
    }
}

// Enough for the section of a UTF-16 file in one call, which is the usual case.
DWORD FirstBufferChars(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(LongPathArg(path).c_str(), GetFileExInfoStandard, &data)) return 256;
    ULONGLONG bytes = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return static_cast<DWORD>(std::clamp<ULONGLONG>(bytes / 2 + 64, 256, kMaxSectionChars));
}

// The section's "key=value" lines in file order. `cut` is set when the section did not
// fit into the largest buffer; the last line is then incomplete.
std::wstring ReadSectionText(const std::wstring& section, const std::wstring& path, bool& cut)
{
    std::wstring buffer(FirstBufferChars(path), L'\0');
    for (;;) {
        auto size = static_cast<DWORD>(buffer.size());
        DWORD got = GetPrivateProfileSectionW(section.c_str(), buffer.data(), size, path.c_str());
        // A section that does not fit comes back as size - 2 characters.
        cut = got + 2 >= size;
        if (!cut || size >= kMaxSectionChars) {
            buffer.resize(std::min(got, size));
            return buffer;
        }
        buffer.assign(std::min(static_cast<std::size_t>(size) * 2, std::size_t{kMaxSectionChars}), L'\0');
    }
}

std::vector<std::wstring_view> NulSeparated(std::wstring_view text)
{
    std::vector<std::wstring_view> pieces;
    while (!text.empty()) {
        std::size_t end = std::min(text.find(L'\0'), text.size());
        if (end > 0) pieces.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return pieces;
}

std::wstring_view Trimmed(std::wstring_view text)
{
    constexpr std::wstring_view kBlanks = L" \t\r\n\v\f";
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The platform drops one pair of quotes around a value when it reads one key, but not
// when it hands out a whole section.
std::wstring_view Unquoted(std::wstring_view value)
{
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Key names are nearly always ASCII; a call for each character would be slow with many.
wchar_t UpperCase(wchar_t c)
{
    if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    CharUpperBuffW(&c, 1);
    return c;
}

}  // namespace

std::size_t IniSection::NameHash::operator()(std::wstring_view name) const
{
    std::size_t hash = 0;
    for (wchar_t c : name) hash = hash * 131 + UpperCase(c);
    return hash;
}

bool IniSection::NameEqual::operator()(std::wstring_view a, std::wstring_view b) const
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return UpperCase(x) == UpperCase(y); });
}

std::optional<std::wstring_view> IniSection::Find(std::wstring_view key) const
{
    auto found = values_.find(key);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::wstring IniSection::Value(std::wstring_view key) const { return std::wstring(Find(key).value_or(L"")); }

IniSection ReadIniSection(std::wstring_view section, std::wstring_view file)
{
    std::wstring path(file);
    std::optional<Utf16Copy> copy;
    if (auto bytes = UnmarkedFileBytes(path)) {
        if (auto text = Utf8Text(*bytes)) {
            copy.emplace(*text);
            if (!copy->Path().empty()) path = copy->Path();
        }
    }
    IniSection result;
    bool cut = false;
    result.text_ = std::make_unique<std::wstring>(ReadSectionText(std::wstring(section), path, cut));
    std::vector<std::wstring_view> lines = NulSeparated(*result.text_);
    if (cut && !lines.empty()) lines.pop_back();

    result.values_.reserve(lines.size());
    for (std::wstring_view line : lines) {
        std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) continue;
        std::wstring_view value = Unquoted(Trimmed(line.substr(equals + 1)));
        // The first of duplicate keys counts, as with the platform's reader.
        result.values_.try_emplace(Trimmed(line.substr(0, equals)), value.substr(0, kMaxIniValueChars));
    }
    return result;
}

IniSection ReadIniSectionOfText(std::wstring_view section, std::wstring_view text)
{
    // Through a file, so that the platform's reader applies its own rules to the text.
    Utf16Copy copy{std::wstring(text)};
    if (copy.Path().empty()) return {};
    return ReadIniSection(section, copy.Path());
}

IniSection ReadIniSectionOrDefault(std::wstring_view section, std::wstring_view file, std::wstring_view defaultResource,
                                   MissingFile missing)
{
    if (FileExists(file)) return ReadIniSection(section, file);
    if (missing == MissingFile::ReadDefault) return ReadIniSectionOfText(section, ResourceText(defaultResource));
    // Written or not, the file is read: a default that could not be written reads as empty.
    WriteResourceToFile(defaultResource, file);
    return ReadIniSection(section, file);
}

bool FileExists(std::wstring_view path)
{
    if (path.empty()) return false;
    return GetFileAttributesW(LongPathArg(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FileInFolder(std::wstring_view folder, std::wstring_view name)
{
    std::wstring path(folder);
    if (!path.ends_with(L'\\')) path += L'\\';
    return path.append(name);
}
