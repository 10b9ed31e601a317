#include "settings/codec.h"

#include <langinfo.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace plix {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The "C" locale knows only ASCII; its other bytes are shown as Latin-1.
bool AsciiCodeset()
{
    const char* codeset = nl_langinfo(CODESET);
    return codeset != nullptr && std::strcmp(codeset, "ANSI_X3.4-1968") == 0;
}

void AppendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

}  // namespace

std::u16string DecodeLocaleText(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    const bool ascii = AsciiCodeset();
    std::mbstate_t state{};
    size_t i = 0;
    while (i < bytes.size()) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80 && byte != 0) {
            out += static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        if (ascii) {
            out += byte == 0 ? char16_t{0} : static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        wchar_t wc = 0;
        size_t n = std::mbrtowc(&wc, bytes.data() + i, bytes.size() - i, &state);
        if (n == 0) {
            out += char16_t{0};
            ++i;
        } else if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2) ||
                   (wc >= 0xD800 && wc <= 0xDFFF)) {
            state = std::mbstate_t{};
            out += static_cast<char16_t>(kEscapeBase + byte);
            ++i;
        } else {
            AppendCodePoint(out, static_cast<char32_t>(wc));
            i += n;
        }
    }
    return out;
}

std::string EncodeLocaleText(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    const bool ascii = AsciiCodeset();
    std::mbstate_t state{};
    char buf[MB_LEN_MAX];
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= kEscapeBase + 0x80 && cp <= kEscapeBase + 0xFF) {
            out += static_cast<char>(cp - kEscapeBase);
            continue;
        }
        if (ascii) {
            out += cp <= 0xFF ? static_cast<char>(cp) : '?';
            continue;
        }
        size_t n = std::wcrtomb(buf, static_cast<wchar_t>(cp), &state);
        if (n == static_cast<size_t>(-1)) {
            state = std::mbstate_t{};
            out += '?';
        } else {
            out.append(buf, n);
        }
    }
    return out;
}

}  // namespace plix
