// The result trees of the modes. Each keeps the order its result is written in
// — words in collation order (spellings the locale holds equal counted as one,
// under the spelling met first), equal concordance keys in the order met,
// collocates in byte order — but counts in hash tables and sorts once, when the
// result is written, so that no input order makes insertion slow.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/spill.h"
#include "engine/string_table.h"

namespace plix {

// One word of a word list or frequency list (CTreeNode of the result).
struct CWordEntry
{
    std::string_view text;
    int64_t count = 0;
};

// Word counts for the word lists.
class CWordTree
{
public:
    // Adds one occurrence; true when the word is a new type.
    bool Insert(std::string_view text) { return Insert(text, CStringTable::Hash(text)); }
    bool Insert(std::string_view text, uint64_t hash);
    // The same with the text's CStringTable::Head() known.
    bool Insert(std::string_view text, uint64_t hash, const uint64_t head[2]);
    void Prefetch(uint64_t hash) const { table_.Prefetch(hash); }
    bool Empty() const { return table_.Size() == 0; }
    size_t Types() const { return table_.Size(); }
    // The words in collation order, merged where the locale holds them equal.
    std::vector<CWordEntry> Alphabetical() const;
    // The same, asking `cancelled` now and then; false when it said yes.
    [[nodiscard]] bool Alphabetical(std::vector<CWordEntry>& entries,
                                    const std::function<bool()>& cancelled) const;
    // The frequency order built from the alphabetical one: descending or
    // ascending counts, equal counts alphabetical. `cancelled` is asked before
    // each entry; when it says yes, the order built so far is returned.
    static std::vector<CWordEntry> Rebuild(const std::vector<CWordEntry>& alphabetical,
                                           bool ascending, const std::function<bool()>& cancelled);
    void DeleteTree();

private:
    CStringTable table_;  // the counts are its tallies
};

// One concordance line of the result (CPlixTreeNode).
struct CPlixTreeNode
{
    std::string_view contextText;
    std::string_view referenceText;
    size_t keywordLength = 0;
};

// How a concordance tree tells its writer what it is doing once the last line
// has been read: the stage it is in ("Sorting...", "Writing..."), and whether
// the user has asked it to stop (asked now and then, never per comparison).
struct CPlixWalkControl
{
    std::function<void(const std::string&)> status;
    std::function<bool()> cancelled;
};

enum class PlixWalkEnd
{
    Done,       // every hit was visited
    Stopped,    // the visitor said stop
    Cancelled,  // the user stopped the sort or the merge
    Failed      // a temporary file could not be read or written: see Error()
};

class CPlixTree
{
public:
    CPlixTree();
    ~CPlixTree();
    CPlixTree(const CPlixTree&) = delete;
    CPlixTree& operator=(const CPlixTree&) = delete;

    // Set before the first hit. Keys that repeat (keywords, the words of the
    // concordance of all words) are kept once each; keys that are nearly all
    // different (contexts) are kept with their hits, as collation keys, so
    // that sorting compares bytes and never builds a string.
    void SetKeysRepeat(bool repeat);
    // What the tree may hold in memory; past it, sorted runs go to disk.
    void SetMemoryBudget(uint64_t bytes);
    // False when a run could not be written (the hit is lost): see Error().
    [[nodiscard]] bool Insert(std::string_view key, std::string_view line,
                              std::string_view reference, size_t keywordLength);
    // A hit of shared keys whose concordance line is `blanks` blanks and then
    // `length` bytes of `text` from `from`, where `text` is the text around
    // one source line, the same for each of its hits (it may grow at its end
    // between them), and `lineSerial` is new with each source line. The
    // text and the reference are kept once for all the hits of their line:
    // a line of many hits (the concordance of all words) takes a fraction of
    // the memory. The keyword is as long as the key.
    [[nodiscard]] bool InsertInLine(std::string_view key, uint64_t lineSerial,
                                    std::string_view text, std::string_view reference,
                                    size_t from, size_t blanks, size_t length);
    bool Empty() const { return total_ == 0; }
    size_t Size() const { return static_cast<size_t>(total_); }
    // Runs written to disk so far.
    size_t SpilledRuns() const { return runs_.size(); }
    // Calls `visit` for each hit in key order (equal keys in the order met)
    // until it returns false.
    PlixWalkEnd Walk(const std::function<bool(const CPlixTreeNode&)>& visit,
                     const CPlixWalkControl& control = {});
    // Why the tree failed; empty while it has not.
    const std::string& Error() const { return error_.empty() ? spill_.Error() : error_; }
    void DeleteTree();
    // For tests: whether runs are written on a second core (by default: when
    // there is one); nullopt gives the default back.
    static void SetSpillOnSecondCore(std::optional<bool> on);

private:
    struct Hit
    {
        uint32_t key;  // shared keys: the key's index; own keys: its length
        uint32_t chunk;
        uint32_t offset;
        // Zero: the record at chunk and offset is the hit's own. Otherwise it
        // is the text of the hit's source line, and this says which stretch
        // of it is the hit's (see InsertInLine).
        uint32_t inLine;
    };
    // The parts of a hit as the writer wants them; the concordance line of
    // a hit kept in its source line's text is put together in `scratch`.
    void Parts(const Hit& hit, const char* record, std::string_view& reference,
               std::string_view& line, uint64_t& keywordLength, std::string& scratch) const;
    struct Sorted;
    struct Source;
    char* Reserve(size_t bytes, uint32_t& chunk, uint32_t& offset);
    uint64_t MemoryInUse() const;
    std::string_view OwnKey(const Hit& hit) const;
    // The hits held in memory in key order, as indexes into hits_; nothing
    // when the user cancelled. With `twoThreads` the sort of own keys works
    // on both cores (once the reading is over and the other core is free).
    bool SortHeld(std::vector<uint32_t>& order, const CPlixWalkControl& control,
                  bool twoThreads = false);
    bool SpillHeld(const CPlixWalkControl& control);
    void ClearHeld(bool keepMemory);
    PlixWalkEnd MergeRuns(const std::function<bool(const CPlixTreeNode&)>& visit,
                          const CPlixWalkControl& control);

    // With a second core, a full set of hits is handed to `side_`, which
    // sorts and writes it on a thread of its own while this tree fills
    // another; each of the two may then hold half the budget. Its runs are
    // taken over when the tree is walked.
    bool SpillInBackground();
    bool JoinSpill();
    std::unique_ptr<CPlixTree> side_;
    std::thread spiller_;
    bool spillOk_ = true;
    std::atomic<bool> spilling_{false};  // the side's thread has not finished
    // When the side is still writing as this tree fills its half again, this
    // tree writes that set itself (the writing, not the filling, is then what
    // waits). Who wrote each set, in the order they were filled: true for
    // the side. At the walk the runs of both files are merged in that order.
    std::vector<bool> writtenBySide_;
    CSpillFile sideSpill_;  // the side's runs, once the walk takes them over
    std::vector<bool> runInSide_;  // for each of runs_ then: in sideSpill_
    CSpillFile& FileOf(size_t run) { return run < runInSide_.size() && runInSide_[run] ? sideSpill_ : spill_; }

    bool keysRepeat_ = true;
    bool byteOrder_ = true;
    uint64_t budget_;
    uint64_t total_ = 0;
    size_t chunkSize_;
    CStringTable keys_;
    struct Chunk
    {
        char* data = nullptr;
        size_t capacity = 0;
    };
    // Chunks stay allocated from one run to the next: the memory is the
    // budget's anyway, and fresh pages would each cost a fault.
    std::vector<Chunk> chunks_;
    size_t chunksInUse_ = 0;
    size_t chunkUsed_ = 0;
    uint64_t chunkBytes_ = 0;  // of the chunks in use
    std::vector<Hit, HugePageAllocator<Hit>> hits_;
    // Where the text of the source line being worked on is kept, while it
    // is valid (the same set of chunks, the same line).
    bool lineKept_ = false;
    uint64_t lineSerial_ = 0;
    uint32_t lineChunk_ = 0;
    uint32_t lineOffset_ = 0;
    size_t lineTextKept_ = 0;
    void KeepLine(uint64_t serial, std::string_view text, std::string_view reference);
    // Asks for the hit `k + 16` and for the bytes of the hit `k + 8` of
    // `order` to be brought near.
    void Ahead(const std::vector<uint32_t>& order, size_t k) const;
    // Counts the hit just kept and spills when the memory is full.
    bool Added();
    std::string scratch_;
    CSpillFile spill_;
    std::vector<SpillRun> runs_;
    std::string error_;
};

// One collocate (CCountTreeNode): its total and its counts at -5..-1, +1..+5.
struct CCountTreeNode
{
    std::string_view text;
    int64_t total = 0;
    std::array<int64_t, 10> counts{};
};

class CCountTree
{
public:
    // Adds one occurrence at `slot` (0..9); true when the word is new.
    bool Insert(std::string_view text, int slot);
    // The same in two steps, for a caller that overlaps the memory waits of
    // several words: the word's entry (added when new), then one count.
    uint32_t Enter(std::string_view text, uint64_t hash, const uint64_t head[2], bool& inserted);
    void Count(uint32_t index, int slot) { ++counts_[index][static_cast<size_t>(slot)]; }
    void Prefetch(uint64_t hash) const { table_.Prefetch(hash); }
    void PrefetchCounts(uint32_t index) const
    {
        if (index < counts_.size()) {
            __builtin_prefetch(counts_[index].data());
            __builtin_prefetch(counts_[index].data() + 9);
        }
    }
    bool Empty() const { return table_.Size() == 0; }
    size_t Size() const { return table_.Size(); }
    // Calls `visit` for each word in byte order until it returns false.
    void Walk(const std::function<bool(const CCountTreeNode&)>& visit) const;
    // The same, asking `cancelled` now and then while it sorts; false when
    // it said yes (nothing is visited then).
    [[nodiscard]] bool Walk(const std::function<bool(const CCountTreeNode&)>& visit,
                            const std::function<bool()>& cancelled,
                            const std::function<void()>& sorted) const;
    void DeleteTree();

private:
    CStringTable table_;
    std::vector<std::array<int64_t, 10>> counts_;
};

}  // namespace plix
