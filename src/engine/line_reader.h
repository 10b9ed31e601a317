// CLineReader: a file's lines read, split and pre-scanned on a thread of
// their own, a block ahead of the lines being used.
//
// Parsed corpora hold many short physical lines per unit; finding their line
// ends and the handler's marks (see LinePrescan) costs as much as everything
// else done with them. Here that happens on the second core while the first
// assembles and searches the lines before.
#pragma once

#include "corpora/line_marks.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace plix {

class CLineReader
{
public:
    // Reads `fd` (open, positioned at the start; not closed here) in blocks
    // of about `block` bytes; `path` names the file in error texts.
    CLineReader(int fd, LinePrescan prescan, std::string path, size_t block = 1 << 20);
    ~CLineReader();
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;

    // The next line as CInput reads it: without its line end (a CR before
    // the line feed belongs to it), NUL bytes read as blanks; the bytes of
    // the file it took (line end included) in `consumed`, and its marks.
    // False at the end of the file or after a read error (see Failed()).
    bool Next(std::string& out, LineMarks& marks, uint64_t& consumed);
    bool Failed() const { return failed_; }
    const std::string& Error() const { return error_; }

private:
    struct Line
    {
        size_t start;
        size_t length;
        size_t consumed;
        LineMarks marks;
    };
    struct Batch
    {
        // Not a vector: growing it would clear bytes about to be read over.
        std::unique_ptr<char[]> bytes;
        size_t capacity = 0;
        size_t size = 0;
        std::vector<Line> lines;
        bool last = false;
        bool failed = false;
        std::string error;
    };

    void Run();
    void ReadBatches();
    // Where the last line end of the batch's bytes ends (0 when none).
    static size_t AfterLastLineEnd(const Batch& batch);
    // Reads until `batch` holds a block and a line end, or the file ends.
    // False on a read error (batch.error says why).
    bool ReadMore(Batch& batch, bool& eof);
    static void Reserve(Batch& batch, size_t capacity);
    void Split(Batch& batch, size_t end, bool finalLine);
    std::unique_ptr<Batch> TakeFree();

    int fd_;
    LinePrescan prescan_;
    std::string path_;
    size_t block_;

    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Batch>> ready_;
    std::vector<std::unique_ptr<Batch>> free_;
    bool stop_ = false;

    // The main thread's side.
    std::unique_ptr<Batch> current_;
    size_t nextLine_ = 0;
    bool failed_ = false;
    std::string error_;

    std::thread thread_;
};

}  // namespace plix
