// The pattern layer: translating and compiling any pattern, in a byte locale
// and in UTF-8, and searching any text with it from every place a hit leaves
// off. The first byte picks the locale and the word settings, the pattern
// runs to the first line feed, the text is the rest.
#include <clocale>
#include <cstdint>
#include <string>
#include <string_view>

#include "match/gnu.h"

namespace {

bool PlainAscii(std::string_view text)
{
    for (const char c : text) {
        if (c == 0 || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool HasBackReference(std::string_view pattern)
{
    for (size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == '\\') {
            if (pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
                return true;
            }
            ++i;
        }
    }
    return false;
}

// Over ASCII, with numbers counted and no diacritics, the program's word
// characters in UTF-8 are the byte-wise ones: the two ways of searching must
// agree from every start. (Back-references are left out: the byte-wise way
// bounds each attempt by the library's cost, which the other need not.)
void CompareWithBytes(std::string_view pattern, std::string_view text)
{
    using namespace plix;
    std::setlocale(LC_ALL, "C");
    CGNU bytes;
    const bool compiled = bytes.CompileKeyword(pattern).empty();
    std::setlocale(LC_ALL, "C.UTF-8");
    CGNU characters;
    if (characters.CompileKeyword(pattern).empty() != compiled) {
        __builtin_trap();
    }
    if (!compiled) {
        return;
    }
    for (size_t start = 0; start < text.size(); ++start) {
        size_t byteLength = 0;
        size_t characterLength = 0;
        std::setlocale(LC_ALL, "C");
        const long byteHit = bytes.SearchKeyword(text, start, byteLength);
        std::setlocale(LC_ALL, "C.UTF-8");
        const long characterHit = characters.SearchKeyword(text, start, characterLength);
        if (byteHit != characterHit || byteLength != characterLength) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    if (size == 0) {
        return 0;
    }
    const uint8_t mode = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t feed = rest.find('\n');
    const std::string_view pattern = rest.substr(0, feed);
    const std::string_view text =
        feed == std::string_view::npos ? std::string_view() : rest.substr(feed + 1);
    if ((mode & 8) != 0 && text.size() <= 300 && PlainAscii(pattern) && PlainAscii(text) &&
        !HasBackReference(pattern)) {
        CompareWithBytes(pattern, text);
        return 0;
    }
    std::setlocale(LC_ALL, (mode & 1) != 0 ? "C.UTF-8" : "C");
    RegexWordCharacters words;
    words.countNumbers = (mode & 2) != 0;
    if ((mode & 4) != 0) {
        words.diacritics = "'\xc3\xa9-";
    }
    CGNU gnu;
    gnu.InitKeyword();
    if (!gnu.CompileKeyword(pattern, words).empty()) {
        return 0;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t length = 0;
        const long hit = gnu.SearchKeyword(text, start, length);
        if (hit < 0) {
            break;
        }
        start = static_cast<size_t>(hit) + (length > 0 ? length : 1);
    }
    (void)gnu.TakeGaveUpNotes();
    return 0;
}
