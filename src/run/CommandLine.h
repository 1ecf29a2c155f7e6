#pragma once
// The program's arguments: a folder to select in the window (what "Send To", a shortcut
// or a folder dropped on the program's icon pass), /list with its flags for a listing
// without a window, or /compare of two inventory files. The flags change option values;
// the window's own rules do the rest.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fs/DateTime.h"
#include "run/OptionValues.h"

enum class CommandKind {
    Window,        // the window; Folder, when not empty, is selected in the tree
    List,          // list Folder without a window
    Compare,       // compare the inventories CompareOld and CompareNew, into OutFolder when given
    Usage,         // print the usage
    BadArguments,  // Error says what is wrong
};

enum class ArgumentError {
    None,
    NoListFolder,  // /list without the folder to list
    UnknownFlag,   // Argument is no flag of /list
    MissingValue,  // the arguments end after the flag Argument
    BadChoice,     // Value is none of Choices
    BadDepth,      // Value is no whole number from 1 to kDeepestDepthLimit
    BadReaders,    // Value is no whole number from 1 to kMostReaders
    BadSize,       // Value is no whole number followed by KB, MB or nothing
    BadDate,       // Value is no day of the calendar written YYYY-MM-DD
    NoCompareFiles,  // /compare without the two inventory files
};

// What is wrong with the arguments; the first fault found.
struct CommandError {
    ArgumentError Kind = ArgumentError::None;
    std::wstring Argument;  // the flag at fault, as typed
    std::wstring Value;     // the value it was given
    std::wstring Choices;   // BadChoice: the words the flag takes, "|" between them
};

// A size flag's whole number as typed and its unit (None for bytes).
struct SizeFlag {
    std::wstring Number;
    SizeUnit Unit = SizeUnit::None;
    friend bool operator==(const SizeFlag&, const SizeFlag&) = default;
};

// What the /list flags set; whatever is unset keeps its value from the settings.
struct ListFlags {
    std::optional<int> Format;    // a ListingFormats code
    std::optional<int> SaveMode;  // a SaveModes code
    std::optional<bool> SubFolders;
    std::optional<int> Depth;     // levels, 1 to kDeepestDepthLimit
    bool IgnoreEmpty = false;
    std::optional<std::int32_t> Sort;  // a field code, 0 for none
    bool Descending = false;
    std::optional<std::wstring> Filter;
    bool NoHidden = false;
    bool NoSystem = false;
    bool NoReadOnly = false;
    std::optional<SizeFlag> SizeMin;
    std::optional<SizeFlag> SizeMax;
    std::optional<::TimeKind> TimeKind;
    std::optional<OleDate> From;
    std::optional<OleDate> To;
    bool Easy = false;
    bool FullPath = false;
    bool NoExtension = false;
    std::optional<int> Readers;  // folders read at once; no option of the window
    std::wstring Excluded;       // the /exclude patterns, ";" between flags; no option of the window
};

struct CommandLine {
    CommandKind Kind = CommandKind::Window;
    // Window: the first argument that names an existing folder, as the tree spells it.
    // List: the folder as given.
    std::wstring Folder;
    std::wstring OutFolder;     // /out, as given
    std::wstring SettingsFile;  // /settings, as given
    std::wstring CompareOld;    // Compare: the two inventory files, as given
    std::wstring CompareNew;
    ListFlags Flags;
    CommandError Error;
};

// arguments: without the program's own name.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);
// Sets the options the flags name. Size flags replace the saved size options: a minimum
// alone is the window's "至多" with its second box, a maximum alone "至少" with its first
// box, both together "兩者".
void ApplyListFlags(const ListFlags& flags, OptionValues& values);
