#include "wide_text.h"

#include <cstdint>
#include <cstdio>

namespace {

// Decodes one code point starting at text[i]; on success advances i and returns true,
// otherwise names the fault in reason.
bool DecodeOne(const std::string& text, std::size_t& i, char32_t& cp, const char*& reason)
{
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    int extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        reason = "invalid leading byte";
        return false;
    }
    if (text.size() - i <= static_cast<std::size_t>(extra)) {
        reason = "truncated sequence";
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        const std::uint8_t b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            reason = "invalid continuation byte";
            return false;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min) {
        reason = "overlong sequence";
        return false;
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) {
        reason = "encoded surrogate";
        return false;
    }
    if (cp > 0x10FFFF) {
        reason = "code point out of range";
        return false;
    }
    i += extra + 1;
    return true;
}

}  // namespace

std::u16string Utf8ToWide(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t cp = 0;
        const char* reason = nullptr;
        if (!DecodeOne(text, i, cp, reason)) {
            std::fprintf(stderr, "Conversion error: %s\n", reason);
            return {};
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string WideToUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
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
    return out;
}

std::string IntToText(int n)
{
    // Widened first so that the most negative int prints correctly.
    return std::to_string(static_cast<long long>(n));
}

std::u16string IntToWide(int n)
{
    return Utf8ToWide(IntToText(n));
}

std::u16string SubstitutePlaceholder(const std::u16string& text, int n)
{
    const std::u16string number = IntToWide(n);
    std::u16string out;
    out.reserve(text.size() + number.size());
    std::size_t pos = 0;
    for (std::size_t at = text.find(u"%1"); at != std::u16string::npos; at = text.find(u"%1", pos)) {
        out.append(text, pos, at - pos);
        out += number;
        pos = at + 2;
    }
    out.append(text, pos, std::u16string::npos);
    return out;
}
