// The index's result: each word with the line numbers of its occurrences in
// the order found. A corpus has about as many occurrences as words, so they are
// kept as varint deltas (one or two bytes each for all but the rarest words);
// past the memory budget the entries go to disk as sorted runs that are merged
// when the result is written, in exactly the order the memory would give.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/string_table.h"

namespace plix {

class CSpillFile;

// One index entry (CIndexNode of the result): the word, its count and its
// occurrences, encoded. Read the line numbers with CIndexLines.
struct CIndexNode
{
    std::string_view text;
    int64_t count = 0;
    // Pieces of the occurrence list in order; each is a run of varint deltas
    // that starts again from zero.
    std::vector<std::string_view> pieces;
};

// The line numbers of an entry, in the order found.
class CIndexLines
{
public:
    explicit CIndexLines(const CIndexNode& node) : node_(node) {}
    // The next line number; false after the last one.
    bool Next(int64_t& line);
    // Up to `most` next line numbers into `out`; how many (0 after the last).
    size_t NextBlock(int64_t* out, size_t most);

private:
    const CIndexNode& node_;
    size_t piece_ = 0;
    size_t at_ = 0;
    uint64_t value_ = 0;
};

class CIndexTree
{
public:
    CIndexTree();
    ~CIndexTree();
    CIndexTree(const CIndexTree&) = delete;
    CIndexTree& operator=(const CIndexTree&) = delete;

    // Bytes the entries may take before they spill to disk.
    void SetMemoryBudget(uint64_t bytes) { budget_ = bytes; }
    // Adds one occurrence at `lineNumber` of the `fileOrdinal`-th file of the
    // result.
    void Insert(std::string_view text, int64_t lineNumber, int fileOrdinal);
    // The same with the word's CStringTable::HashPadded() known.
    void Insert(std::string_view text, uint64_t hash, const uint64_t head[2], int64_t lineNumber,
                int fileOrdinal);
    void Prefetch(uint64_t hash) const { table_.Prefetch(hash); }
    // The same in two steps, for a caller holding many words: the entry of a
    // word (new or not), then its occurrence; CheckBudget after a few of them.
    // `times`: the occurrences that will be appended to it (their count).
    uint32_t Find(std::string_view text, uint64_t hash, const uint64_t head[2], uint32_t times = 1);
    void Append(uint32_t entry, int64_t lineNumber, int fileOrdinal);
    // Several occurrences of one entry, in the order met.
    struct Occurrence
    {
        int64_t lineNumber;
        int fileOrdinal;
    };
    void Append(uint32_t entry, const Occurrence* occurrences, size_t count);
    // Asks the cache for an entry's list, and then for its end.
    void PrefetchEntry(uint32_t entry) const { __builtin_prefetch(&lists_[entry]); }
    void PrefetchList(uint32_t entry) const
    {
        const std::string& d = lists_[entry].deltas;
        __builtin_prefetch(d.data() + d.size());
    }
    void CheckBudget();

    // Puts the entries in collation order (spellings the locale holds equal
    // merged under the one met first). `cancelled` is asked now and then; false
    // when it said yes or the disk failed (see Error()).
    [[nodiscard]] bool Sort(const std::function<bool()>& cancelled);
    // After Sort: how many entries the result has.
    size_t Entries() const { return entryCount_; }
    // Before Sort or after a cancelled one: the entries known without merging
    // (the spellings held, or the entries of the runs on disk).
    size_t KnownEntries() const;
    // After Sort: calls `visit` for each entry in order until it returns false;
    // false when reading back from disk failed.
    [[nodiscard]] bool Walk(const std::function<bool(const CIndexNode&)>& visit);
    // Why spilling failed; empty while it has not.
    const std::string& Error() const { return error_; }
    // How many sorted runs went to disk (tests force a tiny budget).
    size_t Spills() const { return runList_.size(); }
    void DeleteTree();

private:
    struct Entry
    {
        std::string deltas;  // short lists stay inside the string itself
        uint64_t last = 0;   // file ordinal << 40 | line of the last occurrence
    };
    static constexpr int kLineBits = 40;
    // The occurrences of a group of spellings held equal, as one delta list.
    std::string_view MergedDeltas(const std::vector<uint32_t>& group, std::string& scratch) const;
    [[nodiscard]] bool Spill();
    [[nodiscard]] bool WalkMemory(const std::function<bool(const CIndexNode&)>& visit);
    [[nodiscard]] bool MergeRuns(bool readDeltas, const std::function<bool(const CIndexNode&)>& visit);
    void Fail(const std::string& reason);

    CStringTable table_;
    std::vector<Entry> lists_;
    std::vector<std::vector<uint32_t>> groups_;  // the sorted order held in memory
    uint64_t budget_ = uint64_t{1} << 30;
    uint64_t held_ = 0;  // bytes the entries in memory take, roughly
    size_t entryCount_ = 0;
    // A spilled run's words with their counts and delta lengths go to one
    // file, their deltas to the other, so that the runs' words can be merged
    // and counted without reading the occurrences.
    std::unique_ptr<CSpillFile> words_;
    std::unique_ptr<CSpillFile> deltas_;
    struct Run
    {
        uint64_t wordsBegin, wordsEnd, deltasBegin, deltasEnd;
        size_t entries;
    };
    std::vector<Run> runList_;
    std::string error_;
};

}  // namespace plix
