// The list modes: word list, backward list, frequency lists, index and rhyme index.
#include <algorithm>
#include <cstring>

#include "corpora/dispatch.h"
#include "engine/parse.h"

namespace plix {

void CParse::CompileListFilter()
{
    if (listFilterReady_) {
        return;
    }
    listFilterReady_ = true;
    const CCorpus& c = ctx_.corpus;
    // In UTF-8 text the filter is lowered as the words are, character by
    // character; in a code page it is compared as stored.
    listKeyword_ = utf8_ && c.ignoreCase && !c.keywordRegex ? LowerUtf8(c.keyword) : c.keyword;
    if (!c.keyword.empty() && c.keywordRegex) {
        // Compiled once for the whole command: the same answers as compiling
        // it for every word, at a fraction of the cost. A pattern that does not
        // compile matches nothing.
        ctx_.gnu.InitKeyword();
        (void)ctx_.gnu.CompileKeyword(
            c.keyword, RegexWordCharacters{ctx_.corpus.countNumbers != 0, ctx_.corpus.diacritics});
    }
}

bool CParse::ListFilter()
{
    const CCorpus& c = ctx_.corpus;
    if (c.keyword.empty()) {
        return true;
    }
    if (c.keywordRegex) {
        size_t length = 0;
        return ctx_.gnu.SearchKeyword(word, 0, length) >= 0;
    }
    const std::string& filter = listFilterReady_ ? listKeyword_ : c.keyword;
    size_t at = word.find(filter);
    if (at == std::string::npos) {
        return false;
    }
    unsigned char before = at == 0 ? ' ' : static_cast<unsigned char>(word[at - 1]);
    size_t endAt = at + filter.size();
    unsigned char after = endAt >= word.size() ? 0 : static_cast<unsigned char>(word[endAt]);
    bool beforeWord = IsWordChar(before);
    bool afterWord = after != 0 && IsWordChar(after);
    if (utf8_) {
        (void)ListFilterBoundaryUtf8(at, endAt, beforeWord, afterWord);
    }
    if (c.matchLeft && c.matchRight) {
        return !beforeWord && !afterWord;
    }
    if (c.matchLeft) {
        return !beforeWord;
    }
    if (c.matchRight) {
        return !afterWord;
    }
    return true;
}

void CParse::TakeListWords(bool backward, bool index)
{
    if (CCorpusHandler* h = Handler(row_.listClean)) {
        h->CleanListLine(view_, line);
    }
    if (!index) {
        CountLineWords(backward);
        return;
    }
    // The index takes the words one by one, with the line number, so it scans
    // the line into a scratch buffer with room after it for HashPadded.
    const size_t n = line.size();
    if (wordBuffer_.size() < n + 16) {
        wordBuffer_.resize(n + 16);
    }
    if (wordStarts_.size() < n / 2 + 2) {
        wordStarts_.resize(n / 2 + 2);
        wordEnds_.resize(n / 2 + 2);
    }
    if (utf8_ && wordBuffer_.size() < 2 * n + 16) {
        wordBuffer_.resize(2 * n + 16);  // a lowered character may be longer
    }
    char* buffer = wordBuffer_.data();
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    size_t lowered = 0;
    const size_t count =
        utf8_ ? ScanUtf8(bytes, n, buffer, 0, wordStarts_.data(), wordEnds_.data(), lowered)
              : wordScanner_->Scan(bytes, n, buffer, 0, wordStarts_.data(), wordEnds_.data());
    const bool filtering = !ctx_.corpus.keyword.empty();
    for (size_t k = 0; k < count; ++k) {
        const size_t length = wordEnds_[k] - wordStarts_[k];
        std::string_view w(buffer + wordStarts_[k], length);
        if (filtering) {
            word.assign(w);
            if (!ListFilter()) {
                continue;
            }
        }
        uint64_t head[2];
        const uint64_t hash = CStringTable::HashPadded(w.data(), length, head);
        ++ctx_.totalTokens;
        if (indexTree_.Insert(w, hash, lineNumber, fileCounter)) {
            ++ctx_.totalTypes;
        }
    }
}

void CParse::CountLineWords(bool backward)
{
    // A very long line is counted in pieces cut between words, so that the
    // memory of the batches in flight stays that of a piece, not of the line.
    constexpr size_t kPiece = size_t{1} << 18;
    const size_t n = line.size();
    const auto* text = reinterpret_cast<const unsigned char*>(line.data());
    // A piece never ends inside a UTF-8 character: bytes from 128 up hold on.
    const bool utf8 = utf8_;
    auto inWord = [this, text, utf8](size_t i) {
        return (wordLower_[text[i]] >> 8) != 0 || (utf8 && text[i] >= 0x80);
    };
    size_t pos = 0;
    while (pos < n) {
        size_t end = n;
        size_t maxWords = 0;
        if (n - pos > kPiece) {
            end = pos + kPiece;
            while (end > pos && inWord(end - 1) && inWord(end)) {
                --end;
            }
            if (end == pos) {
                // One word longer than a piece, from `pos` (a cut is never
                // inside a word) to its end.
                end = pos + kPiece;
                while (end < n && inWord(end)) {
                    ++end;
                }
                maxWords = 1;
            }
        }
        if (maxWords == 0) {
            maxWords = (end - pos) / 2 + 1;  // words are separated by at least one byte
        }
        CountPieceWords(text + pos, end - pos, maxWords, backward);
        pos = end;
    }
}

void CParse::CountPieceWords(const unsigned char* text, size_t n, size_t maxWords, bool backward)
{
    // This loop sees every byte of a word list's corpus: the scanner copies the
    // text lowered into the word counter's batch and notes where the words are.
    // A lowered UTF-8 character may take a byte more than the character did.
    const bool wider = utf8_ && FirstNonAscii(text, n) != n;
    wordCounter_.Reserve(wider ? 2 * n : n, maxWords);
    char* out = wordCounter_.Bytes();
    size_t* starts = wordCounter_.Starts();
    size_t* ends = wordCounter_.Ends();
    const size_t base = wordCounter_.Used();
    size_t written = n;
    size_t count = utf8_ ? ScanUtf8(text, n, out, base, starts, ends, written)
                         : wordScanner_->Scan(text, n, out, base, starts, ends);
    const bool filtering = !ctx_.corpus.keyword.empty();
    if (backward || filtering) {
        // Reverse and test each word in place; the ones the filter drops are
        // dropped from the counter's list.
        size_t kept = 0;
        for (size_t k = 0; k < count; ++k) {
            char* w = out + (starts[k] - base);
            const size_t length = ends[k] - starts[k];
            if (backward && utf8_) {
                const std::string reversed = ReverseUtf8(std::string_view(w, length));
                std::memcpy(w, reversed.data(), length);
            } else if (backward) {
                std::reverse(w, w + length);
            }
            if (filtering) {
                word.assign(w, length);
                if (!ListFilter()) {
                    continue;
                }
            }
            starts[kept] = starts[k];
            ends[kept] = ends[k];
            ++kept;
        }
        count = kept;
    }
    ctx_.totalTokens += static_cast<int64_t>(count);
    wordCounter_.EndLine(written, count);
}

void CParse::LastWordReversed(std::string& text)
{
    if (utf8_) {
        LastWordReversedUtf8(text);
        return;
    }
    word.clear();
    if (text.size() < 2) {
        text.clear();
        return;
    }
    // The last byte of a file line is the blank the reader appended.
    long i = static_cast<long>(text.size()) - 2;
    while (i >= 0 && !wordChar_[static_cast<unsigned char>(text[static_cast<size_t>(i)])]) {
        --i;
    }
    while (i >= 0 && wordChar_[static_cast<unsigned char>(text[static_cast<size_t>(i)])]) {
        word += static_cast<char>(alwaysLower_[static_cast<unsigned char>(text[static_cast<size_t>(i)])]);
        --i;
    }
    text.clear();
}

void CParse::WriteWordEntries(const std::vector<CWordEntry>& entries, bool backward)
{
    CFormat& f = ctx_.format;
    const char* eol = f.Eol();
    std::string text;
    for (const CWordEntry& e : entries) {
        if (WriterCancelled()) {
            break;
        }
        std::string count = std::to_string(e.count);
        text.clear();
        if (outputType == kOutputXml) {
            text.append("<list><word>").append(e.text).append("</word><count>").append(count);
            text.append("</count></list>").append(eol);
        } else if (backward) {
            text.append("\t").append(ReverseText(e.text)).append("\t").append(count);
            text.append(eol);
        } else {
            text.append(e.text).append("\t").append(count).append(eol);
        }
        f.Write(text);
        EntryWritten();
    }
}

bool CParse::MakeWordList(const std::string& name, int backward)
{
    ModeSteps steps;
    steps.opening = [this, backward] {
        if (backward && fileCounter == 1 && !keywordReversed_) {
            // The words are reversed, so the filter keyword is too, and
            // "Left"/"Right" trade places, for the whole command.
            ctx_.corpus.ReverseKeyword();
            keywordReversed_ = true;
        }
        CompileListFilter();
        WriteListHeader();
        WriteInfoClose();
    };
    steps.lineWork = [this, backward] { TakeListWords(backward != 0, false); };
    steps.writeResult = [this, backward] {
        ctx_.totalTypes += wordCounter_.Finish();
        std::vector<CWordEntry> entries = wordTree_.Alphabetical();
        ctx_.totalTypes -= static_cast<int64_t>(wordTree_.Types() - entries.size());
        BeginEntries(entries.size());
        WriteWordEntries(entries, backward != 0);
        WriteListFooter();
    };
    steps.discard = [this] {
        (void)wordCounter_.Finish();
        wordTree_.DeleteTree();
    };
    return RunFile(name, steps);
}

bool CParse::MakeFrequencyList(const std::string& name, int backward, int ascending)
{
    ModeSteps steps;
    steps.opening = [this] {
        CompileListFilter();
        WriteListHeader();
        WriteInfoClose();
    };
    steps.lineWork = [this, backward] { TakeListWords(backward != 0, false); };
    steps.writeResult = [this, backward, ascending] {
        ctx_.totalTypes += wordCounter_.Finish();
        std::vector<CWordEntry> alphabetical = wordTree_.Alphabetical();
        ctx_.totalTypes -= static_cast<int64_t>(wordTree_.Types() - alphabetical.size());
        BeginEntries(alphabetical.size());
        std::vector<CWordEntry> byCount =
            CWordTree::Rebuild(alphabetical, ascending != 0, [this] { return WriterCancelled(); });
        WriteWordEntries(byCount, backward != 0);
        WriteListFooter();
    };
    steps.discard = [this] {
        (void)wordCounter_.Finish();
        wordTree_.DeleteTree();
    };
    return RunFile(name, steps);
}

namespace {

void WriteIndexEntries(CParse& parse, CFormat& f, const CIndexTree& tree, bool reversed,
                       int outputType, const std::function<bool()>& cancelled)
{
    const bool window = !f.ToFile();
    const char* eol = f.Eol();
    const bool xml = outputType == kOutputXml;
    std::string text;
    tree.Walk([&](const CIndexNode& node) {
        if (cancelled()) {
            return false;
        }
        std::string spelling(node.text);
        if (reversed) {
            spelling = parse.ReadsUtf8() ? ReverseUtf8(spelling)
                                         : std::string(spelling.rbegin(), spelling.rend());
        }
        std::string count = std::to_string(node.count);
        text.clear();
        if (xml) {
            text.append("<list><word>").append(spelling).append("</word><count>").append(count);
            text.append("</count>").append(eol).append("<index>").append(eol);
        } else {
            text.append(spelling).append("\t").append(count).append(eol);
        }
        bool whole = true;
        for (int64_t number : node.lines) {
            if (window && cancelled()) {
                // Stopped within the entry: what it has is closed off, so that
                // the lines after it start on a line (and in an element) of
                // their own.
                whole = false;
                break;
            }
            if (xml) {
                text.append("<line>").append(std::to_string(number)).append("</line>").append(eol);
            } else {
                text.append(" ").append(std::to_string(number));
            }
        }
        if (xml) {
            text.append("</index>").append(eol).append("</list>").append(eol);
        } else {
            text.append(eol);
        }
        f.Write(text);
        if (!whole) {
            return false;
        }
        parse.EntryWritten();
        return true;
    });
}

}  // namespace

bool CParse::MakeIndex(const std::string& name)
{
    ModeSteps steps;
    steps.opening = [this] {
        CompileListFilter();
        WriteListHeader();
        WriteInfoClose();
    };
    steps.lineWork = [this] { TakeListWords(false, true); };
    steps.writeResult = [this] {
        const size_t entries = indexTree_.MergedTypes();
        ctx_.totalTypes -= static_cast<int64_t>(indexTree_.Types() - entries);
        BeginEntries(entries);
        WriteIndexEntries(*this, ctx_.format, indexTree_, false, outputType,
                          [this] { return WriterCancelled(); });
        WriteListFooter();
    };
    steps.discard = [this] { indexTree_.DeleteTree(); };
    return RunFile(name, steps);
}

bool CParse::MakeRhymeIndex(const std::string& name)
{
    ModeSteps steps;
    steps.opening = [this] {
        if (fileCounter == 1 && !keywordReversed_) {
            // The rhyme index tests its words spelt backwards: the filter is
            // reversed too, so that "Right" still means "ends the word".
            ctx_.corpus.ReverseKeyword();
            keywordReversed_ = true;
        }
        CompileListFilter();
        WriteListHeader();
        WriteInfoClose();
    };
    steps.lineWork = [this] {
        if (CCorpusHandler* h = Handler(row_.listClean)) {
            h->CleanListLine(view_, line);
        }
        LastWordReversed(line);
        // In UTF-8 text the reversed word may begin with a combining mark; it
        // holds word characters only either way.
        const bool wordFirst = !word.empty() && (utf8_ || IsWordChar(static_cast<unsigned char>(word[0])));
        if (!wordFirst || !ListFilter()) {
            return;
        }
        bool newType = indexTree_.Insert(word, lineNumber, fileCounter);
        ++ctx_.totalTokens;
        if (newType) {
            ++ctx_.totalTypes;
        }
    };
    steps.writeResult = [this] {
        const size_t entries = indexTree_.MergedTypes();
        ctx_.totalTypes -= static_cast<int64_t>(indexTree_.Types() - entries);
        BeginEntries(entries);
        WriteIndexEntries(*this, ctx_.format, indexTree_, true, outputType,
                          [this] { return WriterCancelled(); });
        WriteListFooter();
    };
    steps.discard = [this] { indexTree_.DeleteTree(); };
    return RunFile(name, steps);
}

}  // namespace plix
