// The words around the keyword of a context line, for the context-word test
// and the collocation list.
#pragma once

#include <string_view>

namespace plix {

// The words around the keyword of a context line, nearest first: the left
// scan starts just before the keyword (after the rest of a word the keyword
// begins inside), the right scan just after it. A word cut by the edge of the
// line never counts. `visit` gets each word and returns false to stop.
template <typename IsWord, typename Visit>
void ScanLeftWords(std::string_view text, long start, IsWord isWord, Visit visit)
{
    long i = start;
    if (isWord(i)) {
        while (i >= 0 && isWord(i)) {
            --i;
        }
    }
    long wordEnd = -1;  // one past the last byte of the word being collected
    for (; i >= 0; --i) {
        if (isWord(i)) {
            if (wordEnd < 0) {
                wordEnd = i + 1;
            }
        } else if (wordEnd >= 0) {
            std::string_view w(text.data() + i + 1, static_cast<size_t>(wordEnd - i - 1));
            wordEnd = -1;
            if (!visit(w)) {
                return;
            }
        }
    }
}

template <typename IsWord, typename Visit>
void ScanRightWords(std::string_view text, long start, IsWord isWord, Visit visit)
{
    const long n = static_cast<long>(text.size());
    long i = start;
    while (i < n && isWord(i)) {
        ++i;
    }
    long wordStart = -1;
    for (; i < n; ++i) {
        if (isWord(i)) {
            if (wordStart < 0) {
                wordStart = i;
            }
        } else if (wordStart >= 0) {
            std::string_view w(text.data() + wordStart, static_cast<size_t>(i - wordStart));
            wordStart = -1;
            if (!visit(w)) {
                return;
            }
        }
    }
}

// The collocates of a hit: up to five words on each side of the keyword, nearest
// first, each with its position slot (4 down to 0 on the left for -1..-5, 5 up
// to 9 on the right for +1..+5). `add(word, slot)` gets each.
template <typename IsWord, typename Add>
void ScanCollocates(std::string_view text, long keywordAt, size_t keywordLength, IsWord isWord,
                    Add add)
{
    int slot = 4;
    ScanLeftWords(text, keywordAt - 1, isWord, [&](std::string_view w) {
        add(w, slot--);
        return slot >= 0;
    });
    slot = 5;
    ScanRightWords(text, keywordAt + static_cast<long>(keywordLength), isWord,
                   [&](std::string_view w) {
                       add(w, slot++);
                       return slot <= 9;
                   });
}

}  // namespace plix
