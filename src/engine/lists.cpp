// The list modes: word list, backward list, frequency lists, index and rhyme index.
#include <algorithm>
#include <charconv>
#include <cstring>

#include "corpora/dispatch.h"
#include "engine/index_text.h"
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
    // The index counts its words the way the word lists do, on the second
    // core, each with the number of its line.
    CountLineWords(backward, index ? indexCounter_ : wordCounter_, index);
}

void CParse::CountLineWords(bool backward, CWordCounter& counter, bool withLine)
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
        CountPieceWords(text + pos, end - pos, maxWords, backward, counter, withLine);
        pos = end;
    }
}

void CParse::CountPieceWords(const unsigned char* text, size_t n, size_t maxWords, bool backward,
                             CWordCounter& counter, bool withLine)
{
    // This loop sees every byte of a word list's corpus: the scanner copies the
    // text lowered into the word counter's batch and notes where the words are.
    // A lowered UTF-8 character may take a byte more than the character did.
    counter.Reserve(utf8_ ? 2 * n : n, maxWords);
    char* out = counter.Bytes();
    size_t* starts = counter.Starts();
    size_t* ends = counter.Ends();
    const size_t base = counter.Used();
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
    if (withLine) {
        counter.EndLine(written, count, lineNumber, fileCounter);
    } else {
        counter.EndLine(written, count);
    }
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

bool CParse::SortWordEntries(std::vector<CWordEntry>& entries)
{
    ctx_.totalTypes += wordCounter_.Finish();
    ShowStage("Sorting...");
    if (!wordTree_.Alphabetical(entries, [this] { return WriterCancelled(); })) {
        // Stopped while sorting: the list says so, with the words it knew of.
        BeginEntries(wordTree_.Types());
        writingCut_ = true;
        userCancelled_ = true;
        return false;
    }
    ctx_.totalTypes -= static_cast<int64_t>(wordTree_.Types() - entries.size());
    BeginEntries(entries.size());
    ShowStage("Writing...");
    return true;
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
        std::vector<CWordEntry> entries;
        if (SortWordEntries(entries)) {
            WriteWordEntries(entries, backward != 0);
        }
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
        std::vector<CWordEntry> alphabetical;
        if (SortWordEntries(alphabetical)) {
            std::vector<CWordEntry> byCount = CWordTree::Rebuild(alphabetical, ascending != 0,
                                                                 [this] { return WriterCancelled(); });
            WriteWordEntries(byCount, backward != 0);
        }
        WriteListFooter();
    };
    steps.discard = [this] {
        (void)wordCounter_.Finish();
        wordTree_.DeleteTree();
    };
    return RunFile(name, steps);
}

namespace {

void WriteIndexEntries(CParse& parse, CFormat& f, CIndexTree& tree, bool reversed,
                       int outputType, const std::function<bool()>& cancelled, bool& readBack)
{
    const bool window = !f.ToFile();
    const char* eol = f.Eol();
    const bool xml = outputType == kOutputXml;
    std::string text;
    std::string spelling;
    char digits[24];
    if (!window && !xml) {
        // An output file: the entries' text is made on two cores.
        CIndexTextWriter writer(eol, [&f](const std::string& block) { f.Write(block); },
                                [&parse] { parse.EntryWritten(); });
        readBack = tree.Walk([&](const CIndexNode& node) {
            if (cancelled()) {
                return false;
            }
            if (reversed) {
                spelling.assign(node.text);
                spelling = parse.ReadsUtf8() ? ReverseUtf8(spelling)
                                             : std::string(spelling.rbegin(), spelling.rend());
                writer.Add(spelling, node.count, node);
            } else {
                writer.Add(node.text, node.count, node);
            }
            return true;
        });
        writer.Flush();
        return;
    }
    readBack = tree.Walk([&](const CIndexNode& node) {
        if (cancelled()) {
            return false;
        }
        spelling.assign(node.text);
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
        CIndexLines lines(node);
        int64_t number = 0;
        while (lines.Next(number)) {
            if (window && cancelled()) {
                // Stopped within the entry: what it has is closed off, so that
                // the lines after it start on a line (and in an element) of
                // their own.
                whole = false;
                break;
            }
            const size_t length =
                static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
            if (xml) {
                text.append("<line>").append(digits, length).append("</line>").append(eol);
            } else {
                text.push_back(' ');
                text.append(digits, length);
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

void CParse::ShowStage(const std::string& text)
{
    if (progress_ != nullptr) {
        progress_->SetStatus(text);
    }
}

void CParse::WriteIndexResult(bool reversed)
{
    (void)indexCounter_.Finish();
    ShowStage("Sorting...");
    const bool sorted = indexTree_.Sort([this] { return WriterCancelled(); });
    if (!indexTree_.Error().empty()) {
        // A result that lost part of its occurrences must not look whole.
        aborted = 1;
        Fail(indexTree_.Error());
        return;
    }
    // Types are counted where they are sorted: spellings the locale holds equal
    // are one entry, and an entry spilled in several runs is still one.
    const size_t entries = sorted ? indexTree_.Entries() : indexTree_.KnownEntries();
    ctx_.totalTypes = static_cast<int64_t>(entries);
    BeginEntries(entries);
    if (sorted) {
        ShowStage("Writing...");
        bool readBack = true;
        WriteIndexEntries(*this, ctx_.format, indexTree_, reversed, outputType,
                          [this] { return WriterCancelled(); }, readBack);
        if (!readBack) {
            aborted = 1;
            Fail(indexTree_.Error());
            return;
        }
    } else {
        // The sort was stopped: nothing of it is written.
        writingCut_ = true;
        userCancelled_ = true;
    }
    WriteListFooter();
}

bool CParse::MakeIndex(const std::string& name)
{
    ModeSteps steps;
    steps.opening = [this] {
        indexTree_.SetMemoryBudget(ctx_.corpus.GetMemoryBudget());
        CompileListFilter();
        WriteListHeader();
        WriteInfoClose();
    };
    steps.lineWork = [this] { TakeListWords(false, true); };
    steps.writeResult = [this] { WriteIndexResult(false); };
    steps.discard = [this] {
        (void)indexCounter_.Finish();
        indexTree_.DeleteTree();
    };
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
        indexTree_.SetMemoryBudget(ctx_.corpus.GetMemoryBudget());
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
        // One word a line, entered on the second core like the index's.
        const size_t n = word.size();
        indexCounter_.Reserve(n, 1);
        std::memcpy(indexCounter_.Bytes(), word.data(), n);
        indexCounter_.Starts()[0] = indexCounter_.Used();
        indexCounter_.Ends()[0] = indexCounter_.Used() + n;
        indexCounter_.EndLine(n, 1, lineNumber, fileCounter);
        ++ctx_.totalTokens;
    };
    steps.writeResult = [this] { WriteIndexResult(true); };
    steps.discard = [this] {
        (void)indexCounter_.Finish();
        indexTree_.DeleteTree();
    };
    return RunFile(name, steps);
}

}  // namespace plix
