#pragma once
// UTF-8, the encoding of the files written for other programs, against the UTF-16 of
// the program's own text.
#include <string>
#include <string_view>

// Appends the text as UTF-8. A surrogate without its partner (a name the file system
// takes but Unicode does not) becomes U+FFFD, so that the bytes stay valid UTF-8.
void AppendUtf8(std::string& out, std::wstring_view text);
// Where the first byte lies that starts no valid UTF-8 sequence (a stray continuation,
// a cut sequence, an overlong form, a surrogate, a value past U+10FFFF); npos when
// there is none.
std::size_t FirstInvalidUtf8(std::string_view bytes);
// Valid UTF-8 as UTF-16; each byte of an invalid sequence gives U+FFFD.
void AppendUtf16(std::wstring& out, std::string_view utf8);
std::wstring Utf16FromUtf8(std::string_view utf8);
