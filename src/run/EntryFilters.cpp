#include "run/EntryFilters.h"

#include <cmath>

#include "formats/ValueText.h"

namespace {

constexpr std::size_t npos = std::wstring_view::npos;

// Every "[" has its "]" (the first "]" after it closes the list).
bool BracketsClosed(std::wstring_view pattern)
{
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'[') continue;
        std::size_t close = pattern.find(L']', i + 1);
        if (close == npos) return false;
        i = close;
    }
    return true;
}

bool InList(std::wstring_view list, wchar_t c)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i + 2 < list.size() && list[i + 1] == L'-') {
            if (c >= list[i] && c <= list[i + 2]) return true;
            i += 2;
        } else if (list[i] == c) {
            return true;
        }
    }
    return false;
}

// Whether the single-character element at p matches c; next is set past it. An
// empty list ("[]") holds no character, so it matches none.
bool ElementMatches(std::wstring_view pattern, std::size_t p, wchar_t c, std::size_t& next)
{
    wchar_t head = pattern[p];
    next = p + 1;
    switch (head) {
    case L'?': return true;
    case L'#': return c >= L'0' && c <= L'9';
    case L'[': {
        std::size_t close = pattern.find(L']', p + 1);
        std::wstring_view list = pattern.substr(p + 1, close - p - 1);
        next = close + 1;
        if (!list.empty() && list[0] == L'!') return !InList(list.substr(1), c);
        return InList(list, c);
    }
    default: return head == c;
    }
}

// Date-times as whole seconds on a straight line: before 1899-12-30 the fraction
// of an OLE date still counts forward from midnight while the day counts back.
long long LinearSeconds(OleDate date)
{
    double day = std::trunc(date);
    double linear = day + std::fabs(date - day);
    return std::llround(linear * 86400.0);
}

long long FloorToMinute(long long seconds)
{
    long long minutes = seconds / 60;
    if (seconds % 60 < 0) --minutes;
    return minutes * 60;
}

const FileTimeInfo& ChosenTime(const EntryInfo& entry, std::uint16_t field)
{
    switch (field) {
    case DateFields::Created: return entry.Created;
    case DateFields::Accessed: return entry.Accessed;
    default: return entry.Modified;
    }
}

template <typename Test>
bool AnyPart(std::wstring_view text, wchar_t separator, Test test)
{
    for (;;) {
        std::size_t cut = text.find(separator);
        if (test(text.substr(0, cut))) return true;
        if (cut == npos) return false;
        text.remove_prefix(cut + 1);
    }
}

}  // namespace

bool MatchesPattern(std::wstring_view name, std::wstring_view pattern)
{
    if (pattern.empty() || !BracketsClosed(pattern)) return false;
    std::size_t p = 0, n = 0;
    std::size_t starPattern = npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starPattern = ++p;
            starName = n;
            continue;
        }
        std::size_t next = 0;
        if (p < pattern.size() && ElementMatches(pattern, p, name[n], next)) {
            p = next;
            ++n;
            continue;
        }
        if (starPattern == npos) return false;
        p = starPattern;
        n = ++starName;
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

bool MatchesPatternList(std::wstring_view name, std::wstring_view group)
{
    if (group.find_first_not_of(L' ') == npos) return true;
    return AnyPart(group, L';', [name](std::wstring_view part) {
        return MatchesPattern(name, part == L"*.*" ? std::wstring_view(L"*") : part);
    });
}

bool MatchesFilter(std::wstring_view name, std::wstring_view filter)
{
    if (filter.empty()) return true;
    return AnyPart(filter, L'\t', [name](std::wstring_view group) { return MatchesPatternList(name, group); });
}

bool IsExcludedName(std::wstring_view name, std::wstring_view patterns)
{
    if (patterns.find_first_not_of(L' ') == npos) return false;
    // Kept from call to call: the walk asks for every entry, always with the same patterns.
    thread_local std::wstring upperName, givenPatterns, upperPatterns;
    if (patterns != givenPatterns) {
        givenPatterns.assign(patterns);
        upperPatterns = givenPatterns;
        UpperCaseInPlace(upperPatterns.data(), upperPatterns.size());
    }
    upperName.assign(name);
    UpperCaseInPlace(upperName.data(), upperName.size());
    return AnyPart(upperPatterns, L';', [](std::wstring_view part) {
        // "*.tmp; Thumbs.db" as a user types it.
        std::size_t first = part.find_first_not_of(L' ');
        if (first == npos) return false;
        part = part.substr(first, part.find_last_not_of(L' ') - first + 1);
        return MatchesPattern(upperName, part == L"*.*" ? std::wstring_view(L"*") : part);
    });
}

bool AttributesAllowed(const EntryInfo& entry, const JobInfo& job)
{
    if ((entry.Attributes & AttributeBits::Hidden) && !job.IncludeHidden()) return false;
    if ((entry.Attributes & AttributeBits::System) && !job.IncludeSystem()) return false;
    if ((entry.Attributes & AttributeBits::ReadOnly) && !job.IncludeReadOnly()) return false;
    return true;
}

bool FolderPasses(const EntryInfo& entry, const JobInfo& job)
{
    if (entry.Name == L"." || entry.Name == L".." || !(entry.Attributes & AttributeBits::Directory)) return false;
    if (!AttributesAllowed(entry, job)) return false;
    return MatchesFilter(entry.Name, job.FolderFilter());
}

bool SizePasses(const EntryInfo& entry, const RunState& state)
{
    if ((state.SizeTest & SizeTestBits::Lower) && entry.Size < ExactSize(state.SizeLower)) return false;
    if ((state.SizeTest & SizeTestBits::Upper) && entry.Size > ExactSize(state.SizeUpper)) return false;
    return true;
}

bool TimePasses(const EntryInfo& entry, const RunState& state)
{
    if (state.AnyTime) return true;
    // With a time kind chosen a file must have that time, whatever the bounds.
    const FileTimeInfo& time = ChosenTime(entry, state.DateField);
    if (time.Invalid || time.Local == 0) return false;
    long long t = FloorToMinute(LinearSeconds(time.Local));
    if ((state.DateTest & DateTestBits::From) && t < LinearSeconds(state.DateFrom)) return false;
    if ((state.DateTest & DateTestBits::To) && t > LinearSeconds(state.DateTo)) return false;
    return true;
}

bool FilePasses(const EntryInfo& entry, const JobInfo& job, const RunState& state)
{
    if (entry.Attributes & AttributeBits::Directory) return false;
    if (!AttributesAllowed(entry, job)) return false;
    return MatchesFilter(entry.Name, job.FileFilter()) && SizePasses(entry, state) && TimePasses(entry, state);
}
