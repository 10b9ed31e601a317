#include "corpora/lob.h"

#include <cctype>
#include <string_view>

namespace plix {

namespace {

bool IsLetterOrSpace(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return std::isalpha(b) != 0 || std::isspace(b) != 0;
}

// Removes each code that begins with `code` through the byte before the
// first letter or white space after it (or through the end of the text).
// What follows a removed code is a letter or white space, so a removal never
// makes a new code: one pass finds every code the search from the text's
// start would find, one after another.
void RemoveLeadCodes(std::string& text, std::string_view code)
{
    size_t found = text.find(code);
    if (found == std::string::npos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    while (found != std::string::npos) {
        kept.append(text, pos, found - pos);
        pos = found + 1;
        while (pos < text.size() && !IsLetterOrSpace(text[pos])) {
            ++pos;
        }
        found = text.find(code, pos);
    }
    kept.append(text, pos, std::string::npos);
    text = std::move(kept);
}

// A "*" goes with the bytes after it up to the first letter or white space.
// When none comes before the text's last byte, the last byte stays; a "*"
// that is itself the last byte goes too.
void RemoveStarCodes(std::string& text)
{
    if (text.find('*') == std::string::npos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    const size_t last = text.size() - 1;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t star = text.find('*', pos);
        if (star == std::string::npos) {
            kept.append(text, pos, std::string::npos);
            break;
        }
        kept.append(text, pos, star - pos);
        if (star == last) {
            break;
        }
        pos = star + 1;
        while (pos < last && !IsLetterOrSpace(text[pos])) {
            ++pos;
        }
    }
    text = std::move(kept);
}

}  // namespace

void CLOB::StripCodes(std::string& text)
{
    RemoveLeadCodes(text, "\\0");
    RemoveLeadCodes(text, "{0");
    // The signs are removed one after another; removing single bytes, the
    // order does not change the result.
    std::erase_if(text, [](char c) {
        return c == '^' || c == '~' || c == '_' || c == '|' || c == '\\' || c == '{' || c == '}';
    });
    RemoveStarCodes(text);
}

void CLOB::ScanLine(CHandlerFrame&, std::string& line)
{
    StripCodes(line);
}

void CLOB::CleanFollowingText(CHandlerFrame&, std::string& text)
{
    StripCodes(text);
}

}  // namespace plix
