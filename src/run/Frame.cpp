#include "run/Frame.h"

#include "formats/ListingOptions.h"
#include "formats/ListingTexts.h"
#include "formats/NumberText.h"

const wchar_t kMessageTitle[] = L"Quorvane Ver 1.06";

namespace {

constexpr std::wstring_view kHashRun = L"###########################";

std::wstring Digits(int value, std::size_t width)
{
    std::wstring text = std::to_wstring(value);
    if (text.size() < width) text.insert(0, width - text.size(), L'0');
    return text;
}

std::wstring DayPeriod(int hour)
{
    wchar_t text[32] = {};
    int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, hour < 12 ? LOCALE_S1159 : LOCALE_S2359, text, 32);
    return length > 1 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring(hour < 12 ? L"AM" : L"PM");
}

std::wstring HtmlHead()
{
    return L"<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
           L"<title>Quorvane 檔案/資料夾清單</title>\r\n</head>\r\n<body>\r\n";
}

// Thousandths of a second as an exact decimal ("2.350").
std::wstring SecondsDecimal(std::uint64_t milliseconds)
{
    return std::to_wstring(milliseconds / 1000) + L"." + Digits(static_cast<int>(milliseconds % 1000), 3);
}

}  // namespace

std::optional<std::wstring> OutputFileName(std::wstring_view outputFolder, const SYSTEMTIME& now, int format,
                                           bool easyMode)
{
    const wchar_t* extension = nullptr;
    if (easyMode) {
        extension = L".txt";
    } else {
        switch (format) {
        case ListingFormats::Txt:
        case ListingFormats::Tree: extension = L".txt"; break;
        case ListingFormats::Csv: extension = L".csv"; break;
        case ListingFormats::Html: extension = L".html"; break;
        default: return std::nullopt;
        }
    }
    return std::wstring(outputFolder) + Digits(now.wYear, 4) + Digits(now.wMonth, 2) + Digits(now.wDay, 2) + L"_" +
           Digits(now.wHour, 2) + Digits(now.wMinute, 2) + Digits(now.wSecond, 2) + L"_Quorvane" + extension;
}

std::wstring FrameTimeText(const SYSTEMTIME& t)
{
    int hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    return Digits(t.wYear, 4) + L" 年 " + Digits(t.wMonth, 2) + L" 月 " + Digits(t.wDay, 2) + L" 日 - " +
           DayPeriod(t.wHour) + L" " + Digits(hour12, 2) + L" 時 " + Digits(t.wMinute, 2) + L" 分 " +
           Digits(t.wSecond, 2) + L" 秒";
}

void WriteOpeningLines(LineWriter& out, int format, int saveMode, const SYSTEMTIME& startLocal)
{
    bool filesOnly = saveMode == SaveModes::FilesOnly;
    switch (format) {
    case ListingFormats::Txt:
        out.WriteLine(std::wstring(kHashRun) + L" - 開始時間：" + FrameTimeText(startLocal) + L" - " +
                      std::wstring(kHashRun));
        if (filesOnly) out.WriteLine(RuleLine() + L"\r\n" + TxtColumnHeader() + L"\r\n" + RuleLine());
        break;
    case ListingFormats::Csv:
        if (filesOnly) out.WriteLine(L"\r\n" + CsvColumnHeader());
        break;
    case ListingFormats::Html:
        out.WriteLine(HtmlHead());
        if (filesOnly) out.WriteLine(HtmlFileTableHeader());
        break;
    default: break;
    }
}

void WriteClosingLines(LineWriter& out, int format, int saveMode, const SYSTEMTIME& endLocal)
{
    switch (format) {
    case ListingFormats::Txt:
        if (saveMode != SaveModes::FoldersOnly) out.WriteLine(RuleLine());
        out.WriteLine(std::wstring(kHashRun) + L" - 完成時間：" + FrameTimeText(endLocal) + L" - " +
                      std::wstring(kHashRun));
        break;
    case ListingFormats::Html: out.WriteLine(L"</table>\r\n</body>\r\n</html>"); break;
    default: break;
    }
}

std::wstring ElapsedText(std::uint64_t ms)
{
    if (ms < 1000) return std::to_wstring(ms) + L" 毫秒";
    if (ms < 60000) return FormatNumber(SecondsDecimal(ms), 3) + L" 秒";
    std::uint64_t minutes = ms / 60000;
    std::uint64_t rest = ms - minutes * 60000;
    std::wstring text = std::to_wstring(minutes) + L" 分";
    if (rest == 1000)
        text += L", 1 秒";
    else if (rest != 0)
        text += L", " + FormatNumber(SecondsDecimal(rest), 3) + L" 秒";
    return text;
}

std::wstring CompletionMessageText(std::uint64_t elapsed, std::int32_t fileCount, std::int32_t folderCount)
{
    std::wstring suffix = elapsed > 0 ? L" (" + ElapsedText(elapsed) + L")" : std::wstring();
    return L"OK！！ 花費時間共：" + suffix + L"\r\n" + std::to_wstring(fileCount) + L" 個檔案 , " +
           std::to_wstring(folderCount) + L" 個資料夾";
}

std::uint64_t TickStamp() { return static_cast<std::uint32_t>(GetTickCount()); }

std::uint64_t TicksBetween(std::uint64_t start, std::uint64_t now)
{
    if (now < start) now += 4294967296ull;
    return now - start;
}

std::uint64_t TicksSince(std::uint64_t start) { return TicksBetween(start, TickStamp()); }
