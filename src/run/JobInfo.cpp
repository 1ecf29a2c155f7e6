#include "run/JobInfo.h"

#include <windows.h>

#include <algorithm>

JobInfo::JobInfo() : rootFolder_(ProgramFolder())
{
    for (std::int32_t code : {8, 9, 10, 11, 6, 1}) FileFieldAdd(code);
    for (std::int32_t code : {3, 8, 9, 10, 11, 13, 12, 6, 7}) FolderFieldAdd(code);
}

void JobInfo::AddField(std::vector<FieldInfo>& fields, std::int32_t code)
{
    bool present = std::any_of(fields.begin(), fields.end(), [code](const FieldInfo& f) { return f.code == code; });
    if (!present) fields.push_back(FieldInfo{code});
}

std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}
