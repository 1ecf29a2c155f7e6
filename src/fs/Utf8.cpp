#include "fs/Utf8.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the valid sequence at bytes[at], 0 when none starts there. The bounds
// of the second byte rule out overlong forms, surrogates and values past U+10FFFF.
std::size_t SequenceLength(const unsigned char* bytes, std::size_t at, std::size_t size)
{
    unsigned char lead = bytes[at];
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (size - at < length || bytes[at + 1] < low || bytes[at + 1] > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((bytes[at + i] & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

void AppendUtf8(std::string& out, std::wstring_view text)
{
    static_assert(sizeof(wchar_t) == 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint16_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDFFF) {
            std::uint32_t next = i + 1 < text.size() ? static_cast<std::uint16_t>(text[i + 1]) : 0;
            if (c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            } else {
                c = kReplacement;
            }
        }
        AppendCodePoint(out, c);
    }
}

std::size_t FirstInvalidUtf8(std::string_view text)
{
    auto bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = SequenceLength(bytes, at, text.size());
        if (length == 0) return at;
        at += length;
    }
    return std::string_view::npos;
}

void AppendUtf16(std::wstring& out, std::string_view utf8)
{
    auto bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t length = SequenceLength(bytes, at, utf8.size());
        std::uint32_t c = kReplacement;
        if (length == 1) {
            c = bytes[at];
        } else if (length > 1) {
            c = bytes[at] & (0xFF >> (length + 1));
            for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (bytes[at + i] & 0x3F);
        }
        at += length == 0 ? 1 : length;
        if (c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
}

std::wstring Utf16FromUtf8(std::string_view utf8)
{
    std::wstring text;
    text.reserve(utf8.size());
    AppendUtf16(text, utf8);
    return text;
}
