#include "ui/FolderHandOver.h"

#include <type_traits>

#include "controls/Form.h"
#include "fs/FolderPath.h"
#include "ui/Texts.h"

namespace {

// Marks our WM_COPYDATA among any other program's.
constexpr ULONG_PTR kFolderData = 0x51564E46;  // "QVNF"
constexpr DWORD kRetryMs = 100;

struct DropFinisher {
    void operator()(HDROP drop) const { DragFinish(drop); }
};

std::wstring DroppedName(HDROP drop, UINT index)
{
    UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    UINT copied = DragQueryFileW(drop, index, name.data(), length + 1);
    name.resize(copied);
    return name;
}

}  // namespace

bool HandFolderToRunningWindow(std::wstring_view folder, DWORD timeoutMs)
{
    std::wstring text(folder);
    COPYDATASTRUCT data{kFolderData, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), text.data()};
    DWORD start = GetTickCount();
    for (;;) {
        // The mutex tells that an instance runs, not where its window is: the class and
        // caption find it. Until it has loaded, it declines the folder, so we retry.
        if (HWND window = FindWindowW(kFormClass, kProgramTitle)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            // We were started by the user, so we may pass the right to come to the front on.
            AllowSetForegroundWindow(process);
            DWORD_PTR taken = 0;
            if (SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                    timeoutMs, &taken) &&
                taken)
                return true;
        }
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kRetryMs);
    }
}

std::optional<std::wstring> HandedOverFolder(LPARAM copyData)
{
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
    if (!data || data->dwData != kFolderData || !data->lpData) return std::nullopt;
    std::wstring_view text(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    return std::wstring(text.substr(0, text.find(L'\0')));
}

std::optional<std::wstring> FirstDroppedFolder(HDROP drop)
{
    std::unique_ptr<std::remove_pointer_t<HDROP>, DropFinisher> finisher(drop);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i)
        if (auto folder = ExistingFolderPath(DroppedName(drop, i))) return folder;
    return std::nullopt;
}
