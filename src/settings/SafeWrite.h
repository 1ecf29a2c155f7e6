#pragma once
// Replacing a file only once its new content is complete: the content goes to a file
// beside it first, which then takes the old file's place. A failure leaves the old file
// as it was and removes the partial new one. A read-only file is never replaced.
#include <string>
#include <string_view>
#include <vector>

// Writes the lines as UTF-16LE text with the byte-order mark and CR LF after each.
// Returns 0 on success, else the system's error code.
unsigned long ReplaceWithLines(std::wstring_view path, const std::vector<std::wstring>& lines);
// The same, but where the folder takes no new file (a read-only program folder) and the
// old file is writable, the old file is overwritten instead.
unsigned long ReplaceOrOverwriteWithLines(std::wstring_view path, const std::vector<std::wstring>& lines);
// Writes the bytes unchanged. Returns 0 on success, else the system's error code.
unsigned long ReplaceWithBytes(std::wstring_view path, const void* bytes, unsigned long size);
// Writes the built-in resource of type "FILE" with the given name to path, byte for byte.
// False when the resource cannot be loaded or the file cannot be written.
bool WriteResourceToFile(std::wstring_view resourceName, std::wstring_view path);
// The text of such a resource (UTF-16LE bytes) without its byte-order mark; empty when
// it cannot be loaded.
std::wstring ResourceText(std::wstring_view resourceName);
// True when the path names a file with the read-only attribute.
bool IsReadOnlyFile(std::wstring_view path);
