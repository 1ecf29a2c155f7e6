#include "run/RunReport.h"

#include <windows.h>

#include "fs/SystemError.h"
#include "run/Frame.h"

namespace {

const wchar_t kWriteFailed[] = L"清單檔案寫入失敗，內容不完整！";
const wchar_t kOutOfMemory[] = L"記憶體不足，清單不完整！";
const wchar_t kCannotCreate[] = L"無法建立清單檔案：";

}  // namespace

std::wstring SystemErrorText(unsigned long error)
{
    std::wstring text = SystemErrorDescription(error);
    return text.empty() ? L"錯誤代碼：" + std::to_wstring(error) : text;
}

std::wstring CannotCreateText(std::wstring_view path, unsigned long error)
{
    return std::wstring(kCannotCreate) + L"\r\n" + std::wstring(path) + L"\r\n" + SystemErrorText(error);
}

std::wstring RunReportText(const RunResult& result)
{
    std::wstring text = CompletionMessageText(result.ElapsedMs, result.FileCount, result.FolderCount);
    if (!result.AllWritten)
        text.replace(0, text.find(L' '), kWriteFailed);
    else if (result.OutOfMemory)
        text.replace(0, text.find(L' '), kOutOfMemory);
    return text;
}

bool RunFailed(const RunResult& result) { return !result.AllWritten || result.OutOfMemory; }

bool RunComplete(const RunResult& result)
{
    return result.Started && result.AllWritten && !result.Stopped && !result.OutOfMemory;
}
