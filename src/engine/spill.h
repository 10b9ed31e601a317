// Results larger than the memory budget go to disk: sorted runs are appended
// to an anonymous temporary file and merged when the result is written. The
// file lives in $TMPDIR (else /tmp) and is unlinked as soon as it is made, so
// it vanishes however the run ends — written, failed, cancelled or killed.
// Every write is checked: a full disk fails the run with its reason instead
// of leaving a result that looks complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plix {

// The budget of a result held in memory before it spills: 1 GB.
inline constexpr uint64_t kDefaultMemoryBudget = uint64_t{1} << 30;

// "4096", "64K", "16M", "1G" (either case, powers of 1024) as bytes; nothing
// for an empty text, other letters, trailing text, zero or an overflow.
std::optional<uint64_t> ParseByteCount(std::string_view text);

// Where temporary files go: $TMPDIR when it is set and not empty, else /tmp.
std::string SpillDirectory();

// A byte range of a spill file: one sorted run.
struct SpillRun
{
    uint64_t begin = 0;
    uint64_t end = 0;
    uint64_t Size() const { return end - begin; }
};

class CSpillFile
{
public:
    CSpillFile();
    ~CSpillFile();
    CSpillFile(const CSpillFile&) = delete;
    CSpillFile& operator=(const CSpillFile&) = delete;
    CSpillFile(CSpillFile&& other) noexcept;
    CSpillFile& operator=(CSpillFile&& other) noexcept;

    // Makes the file (once; later calls answer whether it is open).
    [[nodiscard]] bool Open();
    bool IsOpen() const { return fd_ >= 0; }
    // Appends through a buffer; false once any write has failed.
    [[nodiscard]] bool Append(const void* data, size_t n);
    [[nodiscard]] bool Append(std::string_view bytes) { return Append(bytes.data(), bytes.size()); }
    // Writes out what the buffer holds.
    [[nodiscard]] bool Flush();
    // Bytes appended so far, buffered or not: where the next run begins.
    uint64_t Size() const { return size_; }
    // Reads exactly `n` bytes at `offset` (flush first); false on error or a
    // short read.
    [[nodiscard]] bool ReadAt(uint64_t offset, void* data, size_t n);
    // Why the last failure happened, in words for "Abort Process"; empty
    // while nothing failed.
    const std::string& Error() const { return error_; }
    bool Failed() const { return !error_.empty(); }
    // Drops the file and its contents at once.
    void Close();
    // Whether the file bypasses the system's page cache (see Open).
    bool Direct() const { return direct_; }
    // Reads the `n` bytes at `offset`, written and flushed before, into
    // `block` (aligned to 4096 bytes and 8192 bytes longer than `n`), where
    // they start at `skip`. It changes nothing of the file, so any thread may
    // call it while nothing is written; it answers why it failed, or nothing.
    std::string ReadStretch(uint64_t offset, size_t n, char* block, size_t& skip) const;
    // Makes a failure found by ReadStretch the file's.
    void TakeFailure(const std::string& reason);
    // For tests: whether files opened from now on may bypass the page cache.
    static void AllowDirect(bool allow);

private:
    bool WriteOut(const char* data, size_t n);
    bool WriteDirect(const char* data, size_t n);
    bool ReadDirect(uint64_t offset, char* out, size_t n);
    // Goes back to writing through the page cache, the bytes so far kept.
    bool StopDirect();
    char* AlignedBuffer(size_t bytes);
    void SetError(const std::string& what, int code);

    int fd_ = -1;
    uint64_t size_ = 0;
    uint64_t written_ = 0;
    std::string buffer_;
    std::string error_;
    // Written past the page cache: whole blocks only, from a buffer aligned
    // to them. The bytes after the last whole block are kept here as well as
    // written padded, and written again in front of the next bytes.
    bool direct_ = false;
    uint64_t blocksWritten_ = 0;  // bytes of whole blocks
    std::string tail_;
    char* aligned_ = nullptr;
    size_t alignedSize_ = 0;
};

// Reads one run front to back through a buffer of its own, so that many runs
// of one file can be read side by side while they are merged.
class CSpillReader
{
public:
    CSpillReader(CSpillFile& file, SpillRun run, size_t bufferBytes = size_t{64} << 10);
    // Exactly `n` bytes; false at the end of the run or on a read error
    // (the file's Error() then says which).
    [[nodiscard]] bool Read(void* data, size_t n);
    // A number written by AppendVarint.
    [[nodiscard]] bool ReadVarint(uint64_t& value);
    // `n` bytes appended to `out`.
    [[nodiscard]] bool ReadBytes(std::string& out, size_t n);
    // `n` bytes as a view: into the buffer where they lie in it with `slack`
    // bytes more after them (so that reading that many more keeps them
    // where they are), else copied into `spare`. The view lasts until the
    // next read of more than `slack` bytes.
    [[nodiscard]] bool View(size_t n, size_t slack, std::string_view& out, std::string& spare);
    bool AtEnd() const { return next_ == limit_ && position_ >= run_.end; }
    // From now on, while one stretch of the run is used, the next is read on
    // a thread of its own (nothing may be written to the file meanwhile):
    // the merge then finds it in memory instead of waiting for the disk.
    void ReadAhead();
    ~CSpillReader();
    CSpillReader(const CSpillReader&) = delete;
    CSpillReader& operator=(const CSpillReader&) = delete;

private:
    bool Refill();
    void StartAhead();

    CSpillFile& file_;
    SpillRun run_;
    uint64_t position_;  // file offset of the byte after the buffer
    std::vector<char> buffer_;
    size_t next_ = 0;
    size_t limit_ = 0;
    bool readAhead_ = false;
    // The stretch being read ahead: from position_ on, `aheadSize_` bytes,
    // into `ahead_` at `aheadSkip_`.
    std::future<std::string> pending_;
    char* ahead_ = nullptr;
    size_t aheadCapacity_ = 0;
    size_t aheadSize_ = 0;
    size_t aheadSkip_ = 0;
};

// Seven bits a byte, low bits first: line numbers and positions stored as
// small deltas take one or two bytes.
void AppendVarint(std::string& out, uint64_t value);

// Reads a varint from [p, end); nothing when it runs past the end or is too long.
std::optional<uint64_t> ReadVarint(const char*& p, const char* end);

// The k-way merge of sorted runs: a binary heap of source numbers ordered by
// their current heads. `Less(a, b)` says that the head of source `a` goes
// before the head of source `b`; heads that neither goes before come out by
// the lower source number first, so runs numbered in the order they were made
// keep equal keys in the order met.
template <typename Less>
class CMergeHeap
{
public:
    explicit CMergeHeap(Less less) : less_(std::move(less)) {}
    // A source with a head to offer.
    void Push(size_t source)
    {
        heap_.push_back(source);
        Up(heap_.size() - 1);
    }
    bool Empty() const { return heap_.empty(); }
    size_t Size() const { return heap_.size(); }
    // The source whose head goes first.
    size_t Top() const { return heap_.front(); }
    // After the top source moved to its next head.
    void ReplaceTop() { Down(0); }
    // After the top source ran out.
    void PopTop()
    {
        heap_.front() = heap_.back();
        heap_.pop_back();
        if (!heap_.empty()) {
            Down(0);
        }
    }

private:
    bool Before(size_t a, size_t b)
    {
        if (less_(a, b)) {
            return true;
        }
        return !less_(b, a) && a < b;
    }
    void Up(size_t i)
    {
        while (i > 0) {
            size_t parent = (i - 1) / 2;
            if (!Before(heap_[i], heap_[parent])) {
                return;
            }
            std::swap(heap_[i], heap_[parent]);
            i = parent;
        }
    }
    void Down(size_t i)
    {
        const size_t n = heap_.size();
        for (;;) {
            size_t best = i;
            size_t left = 2 * i + 1;
            if (left < n && Before(heap_[left], heap_[best])) {
                best = left;
            }
            if (left + 1 < n && Before(heap_[left + 1], heap_[best])) {
                best = left + 1;
            }
            if (best == i) {
                return;
            }
            std::swap(heap_[i], heap_[best]);
            i = best;
        }
    }

    Less less_;
    std::vector<size_t> heap_;
};

// Tests make a full disk: after `bytes` more bytes every spill write fails as
// a full disk does. Nothing (the default) lifts the limit.
void SetSpillDiskLimit(std::optional<uint64_t> bytes);

}  // namespace plix
