#include "run/CommandLine.h"

#include <algorithm>
#include <string_view>

#include "fs/FolderPath.h"
#include "run/Choices.h"
#include "run/FolderReads.h"

namespace {

std::wstring Lower(std::wstring_view text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower;
}

bool IsDigits(std::wstring_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// A quoted path that ends in "\" ("C:\" from "Send To") reaches us as C:" since the
// backslash escapes the quote; a quote can never be part of a path.
std::wstring PathArgument(std::wstring_view text)
{
    std::wstring path(text);
    if (path.ends_with(L'"')) path.back() = L'\\';
    return path;
}

// The flags' parser: each flag takes its value from the arguments that follow.
class FlagReader {
public:
    explicit FlagReader(const std::vector<std::wstring>& arguments) : arguments_(arguments) {}

    bool Done() const { return next_ >= arguments_.size(); }
    const std::wstring& Take() { return arguments_[next_++]; }
    // The value after `flag`; none (and Error set) when the arguments end.
    std::optional<std::wstring> Value(const std::wstring& flag)
    {
        if (!Done()) return Take();
        Fail(ArgumentError::MissingValue, flag);
        return std::nullopt;
    }
    // What the word after `flag` means in the choice list.
    template <typename Meaning, std::size_t N>
    std::optional<Meaning> ChoiceValue(const std::wstring& flag, const Choice<Meaning> (&choices)[N])
    {
        auto value = Value(flag);
        if (!value) return std::nullopt;
        if (const Choice<Meaning>* choice = ChoiceOfWord(choices, Lower(*value))) return choice->Meaning;
        Fail(ArgumentError::BadChoice, flag, *value, ChoiceWords(choices, L"|"));
        return std::nullopt;
    }
    // A whole number from lowest to highest; no more digits than the highest has, so a
    // longer text is refused whatever it reads as.
    std::optional<int> NumberValue(const std::wstring& flag, int lowest, int highest, ArgumentError fault)
    {
        auto value = Value(flag);
        if (!value) return std::nullopt;
        bool shaped = IsDigits(*value) && value->size() <= std::to_wstring(highest).size();
        int number = shaped ? std::stoi(*value) : 0;
        if (number >= lowest && number <= highest) return number;
        Fail(fault, flag, *value);
        return std::nullopt;
    }
    // A whole number, then a unit's word in any letter case, or nothing for bytes.
    std::optional<SizeFlag> SizeValue(const std::wstring& flag)
    {
        auto value = Value(flag);
        if (!value) return std::nullopt;
        std::wstring text = Lower(*value);
        SizeFlag size;
        for (const Choice<SizeUnit>& unit : kSizeUnits) {
            if (text.ends_with(unit.Word)) {
                size.Unit = unit.Meaning;
                text.resize(text.size() - std::wstring_view(unit.Word).size());
                break;
            }
        }
        if (IsDigits(text)) {
            size.Number = text;
            return size;
        }
        Fail(ArgumentError::BadSize, flag, *value);
        return std::nullopt;
    }
    // YYYY-MM-DD, a real day of the calendar.
    std::optional<OleDate> DateValue(const std::wstring& flag)
    {
        auto value = Value(flag);
        if (!value) return std::nullopt;
        const std::wstring& text = *value;
        bool shaped = text.size() == 10 && text[4] == L'-' && text[7] == L'-' && IsDigits(text.substr(0, 4)) &&
                      IsDigits(text.substr(5, 2)) && IsDigits(text.substr(8, 2));
        if (shaped) {
            DateParts parts;
            parts.Year = std::stoi(text.substr(0, 4));
            parts.Month = std::stoi(text.substr(5, 2));
            parts.Day = std::stoi(text.substr(8, 2));
            if (auto date = OleDateFromParts(parts)) return *date;
        }
        Fail(ArgumentError::BadDate, flag, text);
        return std::nullopt;
    }

    void Fail(ArgumentError kind, const std::wstring& argument = {}, const std::wstring& value = {},
              const std::wstring& choices = {})
    {
        if (!Failed()) Error = {kind, argument, value, choices};
    }
    bool Failed() const { return Error.Kind != ArgumentError::None; }
    CommandError Error;

private:
    const std::vector<std::wstring>& arguments_;
    std::size_t next_ = 0;
};

struct ListFlag {
    const wchar_t* Name;
    void (*Read)(FlagReader& reader, const std::wstring& flag, CommandLine& command);
};

template <typename T>
void Set(std::optional<T>& target, std::optional<T> value)
{
    if (value) target = std::move(value);
}

const ListFlag kListFlags[] = {
    {L"/out", [](FlagReader& r, const std::wstring& f, CommandLine& c) {
         if (auto v = r.Value(f)) c.OutFolder = PathArgument(*v);
     }},
    {L"/settings", [](FlagReader& r, const std::wstring& f, CommandLine& c) {
         if (auto v = r.Value(f)) c.SettingsFile = PathArgument(*v);
     }},
    {L"/format", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.Format, r.ChoiceValue(f, kFormatChoices)); }},
    {L"/mode", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.SaveMode, r.ChoiceValue(f, kModeChoices)); }},
    {L"/sub", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.SubFolders = true; }},
    {L"/nosub", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.SubFolders = false; }},
    {L"/depth", [](FlagReader& r, const std::wstring& f, CommandLine& c) {
         Set(c.Flags.Depth, r.NumberValue(f, 1, kDeepestDepthLimit, ArgumentError::BadDepth));
     }},
    {L"/ignore-empty", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.IgnoreEmpty = true; }},
    {L"/sort", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.Sort, r.ChoiceValue(f, kSortChoices)); }},
    {L"/desc", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.Descending = true; }},
    {L"/filter", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.Filter, r.Value(f)); }},
    {L"/no-hidden", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.NoHidden = true; }},
    {L"/no-system", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.NoSystem = true; }},
    {L"/no-readonly", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.NoReadOnly = true; }},
    {L"/size-min", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.SizeMin, r.SizeValue(f)); }},
    {L"/size-max", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.SizeMax, r.SizeValue(f)); }},
    {L"/time", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.TimeKind, r.ChoiceValue(f, kTimeChoices)); }},
    {L"/from", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.From, r.DateValue(f)); }},
    {L"/to", [](FlagReader& r, const std::wstring& f, CommandLine& c) { Set(c.Flags.To, r.DateValue(f)); }},
    {L"/easy", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.Easy = true; }},
    {L"/fullpath", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.FullPath = true; }},
    {L"/noext", [](FlagReader&, const std::wstring&, CommandLine& c) { c.Flags.NoExtension = true; }},
    {L"/exclude", [](FlagReader& r, const std::wstring& f, CommandLine& c) {
         if (auto v = r.Value(f)) c.Flags.Excluded += (c.Flags.Excluded.empty() ? L"" : L";") + *v;
     }},
    {L"/readers", [](FlagReader& r, const std::wstring& f, CommandLine& c) {
         Set(c.Flags.Readers, r.NumberValue(f, 1, kMostReaders, ArgumentError::BadReaders));
     }},
};

bool HasArgument(const std::vector<std::wstring>& arguments, std::wstring_view word)
{
    return std::any_of(arguments.begin(), arguments.end(), [word](const std::wstring& a) { return Lower(a) == word; });
}

CommandLine ParseList(const std::vector<std::wstring>& arguments)
{
    CommandLine command;
    command.Kind = CommandKind::List;
    FlagReader reader(arguments);
    bool listed = false;
    while (!reader.Done() && !reader.Failed()) {
        const std::wstring& argument = reader.Take();
        std::wstring flag = Lower(argument);
        if (flag == L"/list") {
            if (!reader.Done()) command.Folder = PathArgument(reader.Take());
            listed = true;
            continue;
        }
        auto known = std::find_if(std::begin(kListFlags), std::end(kListFlags),
                                  [&flag](const ListFlag& entry) { return flag == entry.Name; });
        if (known == std::end(kListFlags)) {
            reader.Fail(ArgumentError::UnknownFlag, argument);
            break;
        }
        known->Read(reader, argument, command);
    }
    if (!listed || command.Folder.empty()) reader.Fail(ArgumentError::NoListFolder);
    if (reader.Failed()) {
        command.Kind = CommandKind::BadArguments;
        command.Error = reader.Error;
    }
    return command;
}

// /compare OLD NEW, and /out DIR before or after them. A flag where a file should be
// means the files are missing.
CommandLine ParseCompare(const std::vector<std::wstring>& arguments)
{
    CommandLine command;
    CommandError& error = command.Error;
    auto fileAt = [&arguments](std::size_t at) { return at < arguments.size() && !arguments[at].starts_with(L'/'); };
    for (std::size_t i = 0; i < arguments.size() && error.Kind == ArgumentError::None; ++i) {
        std::wstring flag = Lower(arguments[i]);
        if (flag == L"/compare") {
            if (fileAt(i + 1)) command.CompareOld = arguments[++i];
            if (fileAt(i + 1)) command.CompareNew = arguments[++i];
        } else if (flag == L"/out" && i + 1 < arguments.size()) {
            command.OutFolder = PathArgument(arguments[++i]);
        } else {
            error = {flag == L"/out" ? ArgumentError::MissingValue : ArgumentError::UnknownFlag, arguments[i], {}, {}};
        }
    }
    if (error.Kind == ArgumentError::None && command.CompareNew.empty()) error.Kind = ArgumentError::NoCompareFiles;
    command.Kind = error.Kind == ArgumentError::None ? CommandKind::Compare : CommandKind::BadArguments;
    return command;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments)
{
    CommandLine command;
    if (HasArgument(arguments, L"/?")) {
        command.Kind = CommandKind::Usage;
        return command;
    }
    if (HasArgument(arguments, L"/compare")) return ParseCompare(arguments);
    if (HasArgument(arguments, L"/list")) return ParseList(arguments);
    // Anything else starts the window; several items dropped on the icon give the first folder.
    for (const std::wstring& argument : arguments) {
        if (auto folder = ExistingFolderPath(PathArgument(argument))) {
            command.Folder = *folder;
            break;
        }
    }
    return command;
}

void ApplyListFlags(const ListFlags& flags, OptionValues& values)
{
    SettingsModel& saved = values.Saved;
    if (flags.Format) {
        int number = SavedOf(kFormatChoices, *flags.Format);
        saved.Format.Selected = number;
        values.CommandLineFormat = number < 0 ? *flags.Format : ListingFormats::None;
    }
    if (flags.SaveMode) saved.SaveMode.Selected = SavedOf(kModeChoices, *flags.SaveMode);
    if (flags.SubFolders) saved.ScanSubFolders = *flags.SubFolders;
    if (flags.Depth) {
        values.optIndentLevel0 = false;
        saved.DirectoryLevel.Selected = *flags.Depth - 1;
    }
    if (flags.IgnoreEmpty) saved.EmptyDirectory = true;
    if (flags.Sort) saved.SortSave.Selected = SavedOf(kSortChoices, *flags.Sort);
    if (flags.Descending) values.optAscSave0 = false;
    if (flags.Filter) saved.SaveFilter = ComboChoice{-1, *flags.Filter};
    if (flags.NoHidden) saved.ScanHidden = false;
    if (flags.NoSystem) saved.ScanSystem = false;
    if (flags.NoReadOnly) saved.ScanReadOnly = false;

    // The window's first box is the upper bound in "至少" but the lower one in "兩者".
    if (flags.SizeMin && flags.SizeMax) {
        saved.Size.Selected = SavedOf(kSizeChoices, SizeMode::Between);
        saved.Size0 = flags.SizeMin->Number;
        saved.SizeType0.Selected = SavedOf(kSizeUnits, flags.SizeMin->Unit);
        saved.Size1 = flags.SizeMax->Number;
        saved.SizeType1.Selected = SavedOf(kSizeUnits, flags.SizeMax->Unit);
    } else if (flags.SizeMax) {
        saved.Size.Selected = SavedOf(kSizeChoices, SizeMode::AtLeast);
        saved.Size0 = flags.SizeMax->Number;
        saved.SizeType0.Selected = SavedOf(kSizeUnits, flags.SizeMax->Unit);
    } else if (flags.SizeMin) {
        saved.Size.Selected = SavedOf(kSizeChoices, SizeMode::AtMost);
        saved.Size1 = flags.SizeMin->Number;
        saved.SizeType1.Selected = SavedOf(kSizeUnits, flags.SizeMin->Unit);
    }

    if (flags.TimeKind) saved.Date.Selected = SavedOf(kTimeChoices, *flags.TimeKind);
    if (flags.From) values.ClsDate1 = *flags.From;
    if (flags.To) values.ClsDate2 = *flags.To;
    if (flags.Easy) values.chkEasy = true;
    if (flags.FullPath) values.chkFullPath = true;
    if (flags.NoExtension) values.chkDelEXE = true;
}
