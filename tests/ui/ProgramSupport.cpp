#include "ProgramSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

struct HandleCloser {
    HANDLE handle = nullptr;
    ~HandleCloser()
    {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

std::wstring FromUtf8(const std::string& bytes)
{
    if (bytes.empty()) return {};
    auto length = static_cast<int>(bytes.size());
    int chars = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, text.data(), chars);
    return text;
}

std::string ReadToEnd(HANDLE pipe)
{
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

void WaitWhileMessagesRun(HANDLE process, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        DWORD waited = MsgWaitForMultipleObjects(1, &process, FALSE, 50, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0) return;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

std::wstring CopyOfProgram(const TestFolder& folder)
{
    wchar_t built[MAX_PATH] = {};
    std::string given = QUORVANE_PROGRAM_PATH;
    GetFullPathNameW(std::wstring(given.begin(), given.end()).c_str(), MAX_PATH, built, nullptr);
    std::wstring copy = folder / L"Quorvane.exe";
    EXPECT_TRUE(CopyFileW(built, copy.c_str(), FALSE)) << "cannot copy the program from " << given;
    return copy;
}

std::wstring Quoted(const std::wstring& argument)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only before a quote.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

ProgramRun RunProgramWithCommandLine(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs)
{
    ProgramRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HandleCloser outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(&outRead.handle, &outWrite.handle, &inherit, 0) ||
        !CreatePipe(&errRead.handle, &errWrite.handle, &inherit, 0)) {
        ADD_FAILURE() << "no pipes";
        return run;
    }
    SetHandleInformation(outRead.handle, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead.handle, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite.handle;
    startup.hStdError = errWrite.handle;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = Quoted(program) + L" " + arguments;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    HandleCloser processHandle{process.hProcess}, threadHandle{process.hThread};
    // Only the program holds the write ends now, so the reads end when it does.
    CloseHandle(outWrite.handle), outWrite.handle = nullptr;
    CloseHandle(errWrite.handle), errWrite.handle = nullptr;
    std::string output, errors;
    std::thread outReader([&] { output = ReadToEnd(outRead.handle); });
    std::thread errReader([&] { errors = ReadToEnd(errRead.handle); });
    WaitWhileMessagesRun(process.hProcess, timeoutMs);
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(process.hProcess, 99);
    }
    outReader.join();
    errReader.join();
    GetExitCodeProcess(process.hProcess, &run.ExitCode);
    run.Output = FromUtf8(output);
    run.Errors = FromUtf8(errors);
    return run;
}

ProgramRun RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    std::wstring text;
    for (const std::wstring& argument : arguments) text += (text.empty() ? L"" : L" ") + Quoted(argument);
    return RunProgramWithCommandLine(program, text);
}
