// The text of an index going to an output file, made on two cores. Every
// occurrence of every word is a line number in the text (as many numbers as
// the corpus has words), so decoding and formatting them is most of writing
// an index. The entries are taken in blocks; every other block is formatted
// on a second thread while this one formats the next, and the blocks are
// written in order, so the text is exactly that of one thread. The line
// numbers of a very common word are taken in chunks, a block each, so that
// no entry's text is ever held whole.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/index_tree.h"

namespace plix {

class CIndexTextWriter
{
  public:
    // `write` gets the text of whole entries, in order; `written` is told of
    // each entry once its text has gone to `write`.
    CIndexTextWriter(std::string eol, std::function<void(const std::string&)> write,
                     std::function<void()> written,
                     bool worker = std::thread::hardware_concurrency() > 1);
    ~CIndexTextWriter();
    CIndexTextWriter(const CIndexTextWriter&) = delete;
    CIndexTextWriter& operator=(const CIndexTextWriter&) = delete;

    // One entry: its spelling as it is to be printed, its count and line numbers.
    void Add(std::string_view spelling, int64_t count, const CIndexNode& node);
    // Writes every entry added so far.
    void Flush();

  private:
    struct Block
    {
        std::string heads;  // "spelling\tcount" of each entry
        std::vector<size_t> headEnds;
        std::string deltas;  // the entries' occurrence pieces
        std::vector<size_t> pieceEnds;
        std::vector<size_t> piecesOf;  // where each entry's pieces end
        // Or a chunk of one very common word's line numbers, after its head
        // when it is the first; the last one ends the entry.
        bool chunk = false;
        std::string lead;
        std::vector<int64_t> numbers;
        bool completes = false;
        std::string text;
        void Clear();
        size_t Entries() const { return headEnds.size(); }
    };
    // The block being filled is complete: to the worker, or formatted here
    // and written after the worker's.
    void BlockFull();
    void Format(Block& block) const;
    void AppendLines(const CIndexNode& node, std::string& text) const;
    static void AppendNumbers(const int64_t* numbers, size_t n, std::string& text);
    void Write(Block& block);
    void Work();

    const std::string eol_;
    std::function<void(const std::string&)> write_;
    std::function<void()> written_;
    const bool threaded_;
    Block blocks_[2];
    int filling_ = 0;      // the block Add fills
    bool handed_ = false;  // the other block is with the worker, or done by it
    int handedBlock_ = 0;  // which block that is
    bool working_ = false;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
};

}  // namespace plix
