#include "ui/Texts.h"

#include "fs/SystemError.h"

// ---- The program
const wchar_t kProgramTitle[] = L"Quorvane Ver 1.06";

// ---- Main window
const wchar_t kReady[] = L"就緒 ...";
const wchar_t kChooseFormat[] = L"請選擇儲存格式";
const wchar_t kSettingsNotSaved[] = L"設定檔無法儲存：";

// ---- File-type editor
std::wstring FileTypeSaveErrorText(unsigned long error)
{
    std::wstring text = L"副檔名清單無法儲存\r\n錯誤代碼：";
    if (error == 0) return text;
    std::wstring description = SystemErrorDescription(error);
    return text + (description.empty() ? std::to_wstring(error) : description);
}
