// Counting words on a second core (word lists, the index, collocates). The reader copies each line lowered into a
// batch and notes where its words are; a worker thread hashes the words and
// enters them into the table. Batches are entered in the order they were filled, each in
// the order of its words, so the table ends up exactly as if the reader had
// entered every word itself (the first-met spelling of each entry included).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/index_tree.h"
#include "engine/trees.h"
#include "engine/word_scan.h"

namespace plix {

class CWordCounter
{
  public:
    // About `batchWords` words go to the worker at a time; without a second
    // core (or with `worker` false) the reader enters each full batch itself.
    explicit CWordCounter(CWordTree& tree, size_t batchWords = 16384,
                          bool worker = std::thread::hardware_concurrency() > 1);
    // The same for the index: each line's words are entered with the line's
    // number and file (EndLine with both).
    explicit CWordCounter(CIndexTree& index, size_t batchWords = 16384,
                          bool worker = std::thread::hardware_concurrency() > 1);
    // The same for collocates: each word is entered with its position slot
    // (0..9, written from Slots() on beside Starts() and Ends()).
    explicit CWordCounter(CCountTree& collocates, size_t batchWords = 16384,
                          bool worker = std::thread::hardware_concurrency() > 1);
    ~CWordCounter();
    CWordCounter(const CWordCounter&) = delete;
    CWordCounter& operator=(const CWordCounter&) = delete;

    // For each line the reader Reserves room for a line of `bytes` bytes with
    // at most `words` words, writes the line (lowered) from Bytes() on and
    // where its words start and end (counted from the batch's beginning, see
    // Used()) from Starts() and Ends() on (room for `words` + 1 each), then
    // calls EndLine. A line never straddles two batches.
    void Reserve(size_t bytes, size_t words)
    {
        // Asked for every line (or hit): the batch nearly always has room.
        if (filling_.Load() < batchWords_ && filling_.bytes.size() - filling_.used >= bytes + kSlack &&
            filling_.ends.size() - filling_.count >= words + 1) {
            return;
        }
        MakeRoom(bytes, words);
    }
    char* Bytes() { return filling_.bytes.data() + filling_.used; }
    size_t* Starts() { return filling_.starts.data() + filling_.count; }
    size_t* Ends() { return filling_.ends.data() + filling_.count; }
    uint8_t* Slots() { return filling_.slots.data() + filling_.count; }
    // Collocates in single-byte text, found on the worker: the reader gives
    // each hit's context line with where its keyword is, which is copied
    // lowered with its word characters noted as bits (through the byte
    // tables given once before: word bytes, lowering); the worker takes the
    // words around the keyword.
    void SetByteTables(const bool wordChar[256], const unsigned char lower[256]);
    void AddHit(std::string_view line, long keywordAt, size_t keywordLength);
    size_t Used() const { return filling_.used; }
    void EndLine(size_t bytes, size_t words)
    {
        filling_.used += bytes;
        filling_.count += words;
    }
    void EndLine(size_t bytes, size_t words, int64_t lineNumber, int fileOrdinal)
    {
        if (words > 0) {
            filling_.lines.push_back({filling_.count + words, lineNumber, fileOrdinal});
        }
        EndLine(bytes, words);
    }
    // Waits until every word written so far is in the table; returns how many
    // new entries they made since the last call.
    int64_t Finish();
    // The same, adding the collocates the worker found in the hits to `tokens`.
    int64_t Finish(int64_t& tokens);

  private:
    struct Key
    {
        uint64_t hash;
        uint64_t head[2];
    };
    struct Batch
    {
        std::string bytes;  // sized ahead: `used` of them hold lines
        size_t used = 0;
        std::vector<size_t> starts;  // sized ahead: `count` of them are words
        std::vector<size_t> ends;
        std::vector<uint8_t> slots;  // collocates only
        size_t count = 0;
        // For the index: where each line's words end, with its number and file.
        struct Line
        {
            size_t wordsEnd;
            int64_t number;
            int file;
        };
        std::vector<Line> lines;
        // For collocates the worker finds: each hit's context line.
        struct Hit
        {
            size_t start;
            size_t size;
            long keywordAt;
            size_t keywordLength;
            size_t masks;  // where its word bits start in `masks`
        };
        std::vector<Hit> hits;
        std::vector<uint64_t> masks;  // sized ahead: `masksUsed` of them hold bits
        size_t masksUsed = 0;
        // The words' keys, when the reader made them.
        std::vector<Key> keys;
        bool hashed = false;
        // For the index, when the reader made them: each word's place among
        // the batch's distinct words, and for each of those the word where it
        // first stands and how often it stands in the batch.
        std::vector<uint32_t> distinctOf;
        std::vector<uint32_t> firsts;
        std::vector<uint32_t> times;
        bool deduplicated = false;
        // With them, the occurrences grouped by distinct word (each group in
        // the order met), and where each group ends.
        std::vector<CIndexTree::Occurrence> grouped;
        std::vector<size_t> groupEnds;
        void Clear()
        {
            used = 0;
            count = 0;
            lines.clear();
            hits.clear();
            masksUsed = 0;
            hashed = false;
            deduplicated = false;
        }
        // What the batch holds, counted in words (a hit gives up to ten).
        size_t Load() const { return count + 10 * hits.size(); }
    };
    // The reader's table of a batch's distinct words.
    struct DistinctSlot
    {
        uint64_t hash = 0;
        uint32_t stamp = 0;  // in use for the batch of this stamp
        uint32_t place = 0;  // among the batch's distinct words
    };
    struct DistinctTable
    {
        std::vector<DistinctSlot> slots;
        uint32_t stamp = 0;
    };
    // Batches the reader may be ahead of the worker: enough to ride out the
    // unevenness of the two sides without holding much memory.
    static constexpr size_t kQueued = 4;
    // Room after the last word, so that a word can be read sixteen bytes at a time.
    static constexpr size_t kSlack = 16;
    void MakeRoom(size_t bytes, size_t words);
    void Hand();
    static void Hash(const Batch& batch, std::vector<Key>& keys)
    {
        Hash(batch, batch.bytes.data(), keys);
    }
    // The same for words whose bytes are elsewhere (the hits' lines).
    static void Hash(const Batch& batch, const char* bytes, std::vector<Key>& keys);
    // Finds the batch's distinct words (after Hash), so that the table is
    // asked once for each.
    static void Deduplicate(Batch& batch, DistinctTable& table);
    // After it, for the index: the batch's occurrences grouped by word.
    static void GroupOccurrences(Batch& batch);
    int64_t Enter(const Batch& batch, std::vector<Key>& own);
    int64_t EnterCollocates(const Batch& batch, const char* bytes, const std::vector<Key>& keys);
    // The words of a batch's hits, as a batch of words with slots whose
    // offsets are into the hits' bytes.
    static void ScanHits(const Batch& hits, Batch& words);
    // Those words, counted; returns how many new entries they made.
    int64_t EnterHits(const Batch& hits, Batch& words, std::vector<Key>& keys);
    void Work();

    CWordTree* tree_ = nullptr;
    CIndexTree* index_ = nullptr;
    CCountTree* collocates_ = nullptr;
    const size_t batchWords_;
    const bool threaded_;
    Batch filling_;              // the reader's
    std::deque<Batch> pending_;  // handed over, not yet taken by the worker
    std::vector<Batch> spare_;   // entered, for the reader to fill again
    Batch working_;              // the worker's
    std::vector<Key> readerKeys_;
    std::vector<Key> workerKeys_;
    std::vector<uint32_t> entries_;  // the entries of a batch's words (the worker's)
    std::vector<uint32_t> distinctEntries_;  // the entries of a batch's distinct words (the worker's)
    DistinctTable readerDistinct_;
    std::unique_ptr<CWordScanner> scanner_;  // the hits' words
    Batch readerScan_;  // the words of the hits, where they are entered
    Batch workerScan_;
    int64_t newTokens_ = 0;
    bool busy_ = false;
    bool stop_ = false;
    int64_t newTypes_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
};

}  // namespace plix
