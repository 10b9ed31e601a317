// The pattern layer: translating and compiling any pattern, in a byte locale
// and in UTF-8, and searching any text with it from every place a hit leaves
// off. The first byte picks the locale and the word settings, the pattern
// runs to the first line feed, the text is the rest.
#include <clocale>
#include <cstdint>
#include <string>
#include <string_view>

#include "match/gnu.h"

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
