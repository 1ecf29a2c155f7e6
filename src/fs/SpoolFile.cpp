#include "fs/SpoolFile.h"

#include <windows.h>

#include <cstdint>
#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kChunk = 1 << 20;

}  // namespace

bool SpoolFile::Open()
{
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t path[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"qvs", 0, path)) {
        Fail();
        return false;
    }
    file_.Reset(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file_) {
        Fail();
        DeleteFileW(path);
        return false;
    }
    buffer_.reserve(kChunk);
    return true;
}

// Each text: its length in UTF-16 units (32 bits), then the units.
void SpoolFile::Append(std::wstring_view text)
{
    if (failed_) return;
    auto length = static_cast<std::uint32_t>(text.size());
    const char* bytes = reinterpret_cast<const char*>(&length);
    buffer_.insert(buffer_.end(), bytes, bytes + sizeof(length));
    bytes = reinterpret_cast<const char*>(text.data());
    buffer_.insert(buffer_.end(), bytes, bytes + text.size() * sizeof(wchar_t));
    if (buffer_.size() >= kChunk) Flush();
}

bool SpoolFile::Rewind()
{
    if (failed_ || !Flush()) return false;
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN)) {
        Fail();
        return false;
    }
    buffer_.clear();
    at_ = 0;
    return true;
}

bool SpoolFile::Next(std::wstring& text)
{
    std::uint32_t length = 0;
    if (failed_ || !Fill(sizeof(length))) return false;
    std::memcpy(&length, buffer_.data() + at_, sizeof(length));
    at_ += sizeof(length);
    std::size_t bytes = std::size_t{length} * sizeof(wchar_t);
    if (!Fill(bytes)) {
        Fail();  // a text cut short: the spool was not written whole
        return false;
    }
    text.assign(reinterpret_cast<const wchar_t*>(buffer_.data() + at_), length);
    at_ += bytes;
    return true;
}

bool SpoolFile::Flush()
{
    if (buffer_.empty()) return true;
    if (!WriteAll(file_.Get(), buffer_.data(), static_cast<DWORD>(buffer_.size()))) {
        Fail();
        return false;
    }
    buffer_.clear();
    return true;
}

// At least `bytes` unread bytes in the buffer; false at the end of the file.
bool SpoolFile::Fill(std::size_t bytes)
{
    if (buffer_.size() - at_ >= bytes) return true;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(at_));
    at_ = 0;
    while (buffer_.size() < bytes) {
        std::size_t had = buffer_.size();
        buffer_.resize(had + std::max(kChunk, bytes - had));
        DWORD read = 0;
        if (!ReadFile(file_.Get(), buffer_.data() + had, static_cast<DWORD>(buffer_.size() - had), &read, nullptr)) {
            buffer_.resize(had);
            Fail();
            return false;
        }
        buffer_.resize(had + read);
        if (read == 0) return false;
    }
    return true;
}

void SpoolFile::Fail()
{
    if (!failed_) lastError_ = GetLastError();
    failed_ = true;
}
