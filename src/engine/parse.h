// CParse: one analysis command's engine. It walks the corpus files of the
// command one mode call at a time, reads each file line by line within the line
// range, lets the corpus handler clean and select each line, and builds and
// writes the result of the mode.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "corpora/dispatch.h"
#include "corpora/frame.h"
#include "engine/context.h"
#include "engine/index_tree.h"
#include "engine/keyword_request.h"
#include "engine/trees.h"
#include "engine/word_counter.h"
#include "engine/word_scan.h"
#include "settings/utf8.h"

namespace plix {

// The line a result carries when the user stopped its writing: how many of
// its entries (words, index entries, hits, collocates) were written whole.
std::string CutShortText(int64_t written, int64_t total);

class CParse
{
  public:
    explicit CParse(CPlixContext& context);
    ~CParse();
    CParse(const CParse&) = delete;
    CParse& operator=(const CParse&) = delete;

    // --- the modes: one corpus file each; false on failure or cancel ------
    [[nodiscard]] bool MakeWordList(const std::string& outputName, int backward);
    [[nodiscard]] bool MakeFrequencyList(const std::string& outputName, int backward,
                                         int ascending);
    [[nodiscard]] bool MakeIndex(const std::string& outputName);
    [[nodiscard]] bool MakeRhymeIndex(const std::string& outputName);
    [[nodiscard]] bool MakeConcordance(const std::string& outputName, int sortKind);
    [[nodiscard]] bool MakeConcordanceAll(const std::string& outputName);
    [[nodiscard]] bool MakeCollocation(const std::string& outputName);
    // Takes the keyword dialog's values; false when the keyword is empty.
    [[nodiscard]] bool PrepareKeyword(const KeywordRequest& request);

    // How many files this command runs: a result held back with "As a Whole"
    // is written when this many have started (the corpus list's count unless
    // the command says otherwise, as the quick commands do).
    void SetEntriesInCommand(int count) { entriesInCommand_ = count; }
    // Why the last mode call failed, for the front end's message.
    const std::string& FailureReason() const { return failureReason_; }
    bool Aborted() const { return aborted != 0; }
    // The cut-short lines of the results whose writing the user stopped in
    // this command's mode calls, in order (without line ends).
    const std::vector<std::string>& CutShortNotes() const { return cutShortNotes_; }
    // Whether the user stopped a mode call, while reading or while writing.
    bool UserCancelled() const { return userCancelled_; }

    // --- frame operations ---------------------------------------------------
    [[nodiscard]] bool BeginFile(const std::string& outputName);
    [[nodiscard]] bool EndFile();
    // Updates the progress display; true when the user cancelled.
    bool CheckCancel();
    bool ReadLine();
    // The corpus type's handlers clean and select the line; then the line range.
    bool AcceptLine();
    void UpdateLeftText();
    // The rhyme-index tokenizer: the last word of `text`, spelt backwards and
    // lower-cased, into `word`; empties `text`.
    void LastWordReversed(std::string& text);
    [[nodiscard]] bool ListFilter();
    bool IsWordChar(unsigned char byte) const { return wordChar_[byte]; }
    // Whether the run reads its text as UTF-8 characters.
    bool ReadsUtf8() const { return utf8_; }
    // For tests: whether the concordance of all words may keep each line's
    // text once (by default: where it can); nullopt gives the default back.
    static void SetKeepLineText(std::optional<bool> on);

    // --- concordance building ------------------------------------------------
    long FindKeyword(size_t offset);
    void BuildContextLine(size_t hitOffset);
    bool MatchBoundaries();
    bool MatchContextWord();
    void MakeSortKey(int sortKind);
    void MakeReference();
    long NextAnyWord(size_t offset);

    // --- header and footer writers -------------------------------------------
    void WriteListHeader();
    void WriteInfoClose();
    void WriteListFooter();
    void WriteConcordanceHeader();
    void WriteConcordanceFooter();
    void WriteCollocationHeader();

    // The entries of a result: BeginEntries before the first entry, then
    // WriterCancelled before each one and EntryWritten after each one written
    // whole; the footers start with WriteCutShortNote.
    void BeginEntries(size_t total);
    bool WriterCancelled();
    void EntryWritten() { ++entriesWritten_; }
    void WriteCutShortNote();

    CPlixContext& context() { return ctx_; }
    CProgress* progress() { return progress_; }

    // --- state, in the frame's own terms; the corpus handlers read and write it
    std::string outputName;
    std::string sourceName;
    int aborted = 0;
    std::string line;
    std::string word;
    std::string leftText;
    std::string contextLine;
    std::string reference;
    int64_t lineNumber = 0;
    int64_t hitCount = 0;
    std::string keyword;
    size_t keywordLength = 0;
    std::string contextWord;
    int matchLeft = 0;
    int matchRight = 0;
    int regex = 0;
    int useContextWord = 0;
    int contextLeft = 0;
    int contextRight = 0;
    std::vector<std::string> leftWords;
    std::vector<std::string> rightWords;
    int corpusType = 0;
    int outputType = 0;
    int fileCounter = 0;
    std::string firstOutputName;

  private:
    // The view of the run that the corpus handlers get.
    class HandlerView final : public CHandlerFrame
    {
      public:
        explicit HandlerView(CParse& parse) : parse_(parse) {}
        const CCorpus& Settings() const override;
        int CorpusType() const override { return parse_.corpusType; }
        int OutputType() const override { return parse_.outputType; }
        bool ToFile() const override;
        int64_t LineNumber() const override { return parse_.lineNumber; }
        const std::string& SourceName() const override { return parse_.sourceName; }
        size_t HitOffset() const override { return parse_.hitOffset_; }
        void Write(std::string_view text) override;
        const LineMarks* CurrentLineMarks() const override;

      private:
        CParse& parse_;
    };

    // What a mode adds to the file skeleton.
    struct ModeSteps
    {
        std::function<void()> opening;      // the opening header, after the file began
        std::function<void()> lineWork;     // for every accepted line
        bool updatesLeftText = false;       // keep the text before the line for left contexts
        std::function<void()> writeResult;  // header, entries and footer of a finished result
        std::function<void()> discard;      // drop the accumulated result
    };
    bool RunFile(const std::string& name, const ModeSteps& steps);
    bool RunConcordanceFile(const std::string& name, ModeSteps& steps);
    bool ResultComplete() const;
    // The handler of `id` when it is part of the program.
    CCorpusHandler* Handler(HandlerId id) const { return ctx_.handlers.Get(id); }
    // ScanLine and IsSelected of the type's handlers, then the line range.
    bool AcceptScanned();
    void PrepareTables();
    void TakeListWords(bool backward, bool index);
    void CountLineWords(bool backward, CWordCounter& counter, bool withLine);
    void CountPieceWords(const unsigned char* text, size_t n, size_t maxWords, bool backward,
                         CWordCounter& counter, bool withLine);
    // Shows what the run does after its last line ("Sorting...", "Writing...").
    void ShowStage(const std::string& text);
    // The index and the rhyme index: sort, entries and footer.
    void WriteIndexResult(bool reversed);
    void WriteWordEntries(const std::vector<CWordEntry>& entries, bool backward);
    // The word list in collation order, its totals and the writing begun;
    // false when the user stopped the sort.
    bool SortWordEntries(std::vector<CWordEntry>& entries);
    // False when the result could not be written whole (its reason is failed).
    bool WriteConcordanceLines();
    void PrepareConcordanceTree(bool keysRepeat);
    // Adds the hit of the context line; a hit that cannot be kept fails the run.
    void StoreHit(std::string_view key);
    // The concordance of all words: whether the text around each line can be
    // kept once for all its hits, and the hits of one line kept so, the first
    // word standing at `offset`.
    bool KeepsLineText() const;
    void StoreLineWords(long offset);
    std::string lineText_;
    uint64_t lineSerial_ = 0;
    void CountCollocates();
    const std::string& SeparatedLine();
    long FindFolded(size_t offset);
    // --- the same steps over UTF-8 characters (characters.cpp) ---------------
    size_t ScanUtf8(const unsigned char* text, size_t n, char* out, size_t base, size_t* starts,
                    size_t* ends, size_t& outLength) const;
    long FindUtf8(size_t offset);
    void BuildContextLineUtf8(size_t hitOffset);
    void UpdateLeftTextUtf8(const std::string& line);
    bool LeftTextTakesBytes(const std::string& line) const;
    void LastWordReversedUtf8(std::string& text);
    bool ListFilterBoundaryUtf8(size_t at, size_t endAt, bool& beforeWord, bool& afterWord) const;
    long NextAnyWordUtf8(size_t offset);
    // Whether the byte at `i` of the context line belongs to a word character.
    bool ContextWordAt(long i) const;
    // Where the keyword starts in the context line.
    long KeywordIndex() const;
    std::string LowerText(std::string_view text) const;
    std::string ReverseText(std::string_view text) const;
    void CompileListFilter();
    void Fail(const std::string& reason);

    CPlixContext& ctx_;
    const CorpusRow& row_;
    HandlerView view_{*this};
    size_t hitOffset_ = 0;
    CProgress* progress_ = nullptr;
    int entriesInCommand_;
    std::string failureReason_;
    // Why the result being built cannot be kept (a temporary file could not be
    // written); the run stops at the line that found it.
    std::string storeFailure_;
    size_t entriesTotal_ = 0;
    size_t entriesWritten_ = 0;
    bool writingCut_ = false;
    bool userCancelled_ = false;
    std::vector<std::string> cutShortNotes_;
    std::array<bool, 256> wordChar_{};
    std::array<unsigned char, 256> lower_{};
    std::array<unsigned char, 256> alwaysLower_{};
    // lower_ in the low byte, 1 above it for a word character: one look-up a byte
    std::array<uint16_t, 256> wordLower_{};
    // A byte as a key by left context has it: a word byte lowered, any other a blank.
    std::array<unsigned char, 256> leftKeyByte_{};
    bool listFilterReady_ = false;
    std::string listKeyword_;  // the list filter as the words are compared with it
    bool utf8_ = false;  // asked once per run
    CUtf8Words utf8Words_;
    long keywordAt_ = 0;  // where the keyword starts in the context line
    std::vector<unsigned char> contextMask_;  // word bytes of the context line (UTF-8)
    std::vector<unsigned char> lineMask_;     // word bytes of the line (UTF-8)
    std::vector<size_t> loweredOrigins_;      // where each lowered byte came from
    bool leftTextAscii_ = true;
    bool keywordReversed_ = false;
    std::string loweredLine_;
    std::string collocate_;  // the collocate being counted, lowered
    std::string peeked_;     // the text after the line, for a context line
    // What is known of the line being worked on, found with its first hit.
    enum LineControls { kNotChecked, kNoControls, kHasControls };
    LineControls lineControls_ = kNotChecked;
    bool peekedKept_ = false;  // peeked_ holds the text after this line
    // Where the line's control characters lie: from the first to one past
    // the last (known once a context piece asked).
    bool controlSpanKnown_ = false;
    size_t controlsFrom_ = 0;
    size_t controlsTo_ = 0;
    bool peekedControls_ = false;
    size_t peekedBlankTo_ = 0;  // peeked_ has its control characters blanked up to here
    bool lineAscii_ = false;  // the line is known to be all ASCII
    void StartLineWork()
    {
        lineControls_ = kNotChecked;
        controlSpanKnown_ = false;
        peekedKept_ = false;
        lineAscii_ = false;
    }
    bool multibyte_ = false;  // the locale's characters can be longer than a byte
    std::string separatedLine_;
    std::unique_ptr<CWordScanner> wordScanner_;  // made with the tables
    std::array<size_t, 256> foldedShift_{};
    std::string foldedShiftFor_;
    // The bytes that fold to the keyword's first and last byte, when each has
    // few enough for the search to test sixteen places at a time.
    static constexpr size_t kMostFoldings = 4;
    unsigned char foldFirst_[kMostFoldings] = {};
    unsigned char foldLast_[kMostFoldings] = {};
    size_t foldFirstCount_ = 0;
    size_t foldLastCount_ = 0;
    bool foldVector_ = false;
    // the results being accumulated
    CWordTree wordTree_;
    CIndexTree indexTree_;
    CPlixTree concordanceTree_;
    CCountTree collocationTree_;
    // Declared after the trees: they are stopped before the trees go.
    CWordCounter wordCounter_{wordTree_};
    CWordCounter indexCounter_{indexTree_};
    CWordCounter collocateCounter_{collocationTree_};
};

}  // namespace plix
