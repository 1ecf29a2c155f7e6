#pragma once
// The lists a user chooses from, one table each: what a choice means, its item in the
// window's list, its number in Setting.ini, its word on the command line and its name in
// the usage text. The window fills its lists from these tables, the option rules take the
// meanings from them, Setting.ini numbers are checked against the lists they fill, the
// command line reads the words and its usage lists them. A table whose meanings, numbers
// or words clash, or a format without a writer, does not compile.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/ListingFormat.h"
#include "formats/ListingOptions.h"
#include "run/JobInfo.h"
#include "run/SaveOptions.h"

template <typename Value>
struct Choice {
    Value Meaning;
    const wchar_t* Caption;  // the item of the window's list; null for a choice of the command line only
    int Saved;               // the Setting.ini number, which is the item's place in the list; -1 without an item
    const wchar_t* Word;     // the command line's word, in lower case; null when the command line has none
    const wchar_t* Usage;    // what the usage text calls it; null for its caption
};

// cboSortSave; a meaning is a field code, 0 leaving the enumeration order.
inline constexpr Choice<std::int32_t> kSortChoices[] = {
    {0, L"不排序", 0, L"none", nullptr},
    {FieldCodes::Name, L"檔案名稱", 1, L"name", L"名稱"},
    {FieldCodes::Extension, L"副檔名", 2, L"ext", nullptr},
    {FieldCodes::Size, L"檔案大小", 3, L"size", L"大小"},
    {FieldCodes::Created, L"起始建立時間", 4, L"created", L"建立時間"},
    {FieldCodes::Modified, L"最後修改時間", 5, L"modified", L"修改時間"},
    {FieldCodes::Accessed, L"最後存取時間", 6, L"accessed", L"存取時間"},
};

// comFormat; a meaning is a ListingFormats code.
inline constexpr Choice<int> kFormatChoices[] = {
    {ListingFormats::Txt, L"TXT", 0, L"txt", nullptr},
    {ListingFormats::Csv, L"CSV", 1, L"csv", nullptr},
    {ListingFormats::Html, L"HTML", 2, L"html", nullptr},
    {ListingFormats::Tree, L"樹狀", 3, L"tree", nullptr},
    {ListingFormats::Inventory, nullptr, -1, L"inventory", L"精確清單（CSV，供程式讀回）"},
};

// comSaveMode; a meaning is a SaveModes code.
inline constexpr Choice<int> kModeChoices[] = {
    {SaveModes::FilesOnly, L"僅檔案", 0, L"files", nullptr},
    {SaveModes::FoldersOnly, L"僅資料夾", 1, L"folders", nullptr},
    {SaveModes::Both, L"兩者皆是", 2, L"both", nullptr},
};

// cboDate. Without /time the command line takes any time.
inline constexpr Choice<TimeKind> kTimeChoices[] = {
    {TimeKind::Any, L"不指定", 0, nullptr, nullptr},
    {TimeKind::Modified, L"修改日期", 1, L"modified", nullptr},
    {TimeKind::Created, L"建立日期", 2, L"created", nullptr},
    {TimeKind::Accessed, L"最後存取日期", 3, L"accessed", nullptr},
};

// cboSize. The command line has its own size flags (/size-min, /size-max).
inline constexpr Choice<SizeMode> kSizeChoices[] = {
    {SizeMode::Any, L"不指定", 0, nullptr, nullptr},
    {SizeMode::AtLeast, L"至少", 1, nullptr, nullptr},
    {SizeMode::AtMost, L"至多", 2, nullptr, nullptr},
    {SizeMode::Between, L"兩者", 3, nullptr, nullptr},
};

// cboSizeType0 and cboSizeType1; the words end a size flag's number.
inline constexpr Choice<SizeUnit> kSizeUnits[] = {
    {SizeUnit::KB, L"KB", 0, L"kb", nullptr},
    {SizeUnit::MB, L"MB", 1, L"mb", nullptr},
};

// comIndentLevel's items are "1" to this: levels below the chosen folder.
constexpr int kDeepestDepthLimit = 99;

namespace choices {

constexpr bool Same(const wchar_t* a, const wchar_t* b) { return a && b && std::wstring_view(a) == b; }

constexpr bool IsLowerWord(const wchar_t* word)
{
    for (std::wstring_view rest(word); !rest.empty(); rest.remove_prefix(1))
        if (!(rest.front() >= L'a' && rest.front() <= L'z') && rest.front() != L'-') return false;
    return *word != L'\0';
}

// The window's items carry the numbers 0, 1, 2... in table order and the others none;
// every choice is offered somewhere and has a name for the usage; no meaning, caption
// or word comes twice.
template <typename Value, std::size_t N>
consteval bool IsSound(const Choice<Value> (&table)[N])
{
    int items = 0;
    for (std::size_t row = 0; row < N; ++row) {
        const Choice<Value>& c = table[row];
        if (c.Saved != (c.Caption ? items++ : -1)) return false;
        if (!c.Caption && !c.Word) return false;
        if (!c.Caption && !c.Usage) return false;
        if (c.Word && !IsLowerWord(c.Word)) return false;
        for (std::size_t other = 0; other < row; ++other) {
            const Choice<Value>& o = table[other];
            if (o.Meaning == c.Meaning || Same(o.Caption, c.Caption) || Same(o.Word, c.Word)) return false;
        }
    }
    return true;
}

}  // namespace choices

static_assert(choices::IsSound(kSortChoices) && choices::IsSound(kFormatChoices) && choices::IsSound(kModeChoices) &&
                  choices::IsSound(kTimeChoices) && choices::IsSound(kSizeChoices) && choices::IsSound(kSizeUnits),
              "a choice list repeats a meaning, caption or word, or its Setting.ini numbers do not follow its items");

consteval bool EveryFormatHasAWriter()
{
    for (const Choice<int>& choice : kFormatChoices)
        if (!HasFormatWriter(choice.Meaning)) return false;
    return true;
}
static_assert(EveryFormatHasAWriter(), "a format of the choice list has no writer in kFormatWriters");

// How many items the window's list of a table holds.
template <typename Value, std::size_t N>
constexpr int WindowItems(const Choice<Value> (&table)[N])
{
    int items = 0;
    for (const Choice<Value>& choice : table) items += choice.Caption ? 1 : 0;
    return items;
}

// The choice a Setting.ini number (a list's selected index) stands for; null for none.
template <typename Value, std::size_t N>
constexpr const Choice<Value>* ChoiceOfSaved(const Choice<Value> (&table)[N], int saved)
{
    for (const Choice<Value>& choice : table)
        if (choice.Caption && choice.Saved == saved) return &choice;
    return nullptr;
}

// What a Setting.ini number means; `none` when it stands for no choice.
template <typename Value, std::size_t N>
constexpr Value MeaningOfSaved(const Choice<Value> (&table)[N], int saved, Value none)
{
    const Choice<Value>* choice = ChoiceOfSaved(table, saved);
    return choice ? choice->Meaning : none;
}

// The Setting.ini number of a meaning; -1 when the window does not offer it.
template <typename Value, std::size_t N>
constexpr int SavedOf(const Choice<Value> (&table)[N], Value meaning)
{
    for (const Choice<Value>& choice : table)
        if (choice.Meaning == meaning) return choice.Saved;
    return -1;
}

// The choice a command-line word (already in lower case) names; null for none.
template <typename Value, std::size_t N>
constexpr const Choice<Value>* ChoiceOfWord(const Choice<Value> (&table)[N], std::wstring_view word)
{
    for (const Choice<Value>& choice : table)
        if (choice.Word && word == choice.Word) return &choice;
    return nullptr;
}

// The command line's words, with `separator` between them.
template <typename Value, std::size_t N>
std::wstring ChoiceWords(const Choice<Value> (&table)[N], std::wstring_view separator)
{
    std::wstring words;
    for (const Choice<Value>& choice : table)
        if (choice.Word) words.append(words.empty() ? L"" : separator).append(choice.Word);
    return words;
}

// What the usage calls the choices the command line offers, with `separator` between them.
template <typename Value, std::size_t N>
std::wstring ChoiceUsages(const Choice<Value> (&table)[N], std::wstring_view separator)
{
    std::wstring names;
    for (const Choice<Value>& choice : table)
        if (choice.Word) names.append(names.empty() ? L"" : separator).append(choice.Usage ? choice.Usage : choice.Caption);
    return names;
}
