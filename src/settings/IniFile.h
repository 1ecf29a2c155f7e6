#pragma once
// Reading the program's INI-style files through the platform's private-profile reader:
// section and key names match in any letter case, blanks around a value and one pair of
// quotes enclosing it are dropped, the first of duplicate keys counts, and a file that
// starts with the UTF-16 byte-order mark is read as UTF-16. A file without a mark is read
// as UTF-8 when its bytes are UTF-8 (as today's editors save it), else in the system's
// code page.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The longest path; a longer value is cut to this many characters when it is read.
constexpr std::size_t kMaxIniValueChars = 32767;

// The keys of one section, read from the file in one pass.
class IniSection {
public:
    IniSection() = default;
    IniSection(IniSection&&) = default;
    IniSection& operator=(IniSection&&) = default;

    // The value; empty when the key is missing.
    std::wstring Value(std::wstring_view key) const;
    // The value, or none when the key is missing.
    std::optional<std::wstring_view> Find(std::wstring_view key) const;

private:
    friend IniSection ReadIniSection(std::wstring_view section, std::wstring_view file);

    // Names compare as the platform's reader compares them: in any letter case.
    struct NameHash {
        std::size_t operator()(std::wstring_view name) const;
    };
    struct NameEqual {
        bool operator()(std::wstring_view a, std::wstring_view b) const;
    };

    std::unique_ptr<std::wstring> text_;  // the section as read; names and values point into it
    std::unordered_map<std::wstring_view, std::wstring_view, NameHash, NameEqual> values_;
};

// Empty when the file or the section is missing.
IniSection ReadIniSection(std::wstring_view section, std::wstring_view file);
// The section of a text as the file holding that text would give it.
IniSection ReadIniSectionOfText(std::wstring_view section, std::wstring_view text);

// What reading a file of the program does when the file is missing.
enum class MissingFile {
    CreateFromDefault,  // writes its built-in default there first, then reads that
    ReadDefault,        // reads the built-in default and writes nothing
};
// The section of the file; when the file is missing, that of the built-in "FILE"
// resource `defaultResource`.
IniSection ReadIniSectionOrDefault(std::wstring_view section, std::wstring_view file, std::wstring_view defaultResource,
                                   MissingFile missing);

// True when the path names an existing file or folder.
bool FileExists(std::wstring_view path);
// folder + name with exactly one "\" between them.
std::wstring FileInFolder(std::wstring_view folder, std::wstring_view name);
