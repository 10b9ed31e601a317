#include "engine/line_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

namespace plix {
namespace {

// Blocks read ahead of the one in use: enough to keep the reader busy while
// the lines before are used, little enough to bound the memory.
constexpr size_t kBatchesAhead = 3;

}  // namespace

CLineReader::CLineReader(int fd, LinePrescan prescan, std::string path, size_t block)
    : fd_(fd), prescan_(prescan), path_(std::move(path)), block_(std::max<size_t>(block, 1))
{
    thread_ = std::thread([this] { Run(); });
}

CLineReader::~CLineReader()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::unique_ptr<CLineReader::Batch> CLineReader::TakeFree()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (free_.empty()) {
        return std::make_unique<Batch>();
    }
    std::unique_ptr<Batch> batch = std::move(free_.back());
    free_.pop_back();
    return batch;
}

void CLineReader::Reserve(Batch& batch, size_t capacity)
{
    if (capacity <= batch.capacity) {
        return;
    }
    std::unique_ptr<char[]> bigger(new char[capacity]);
    if (batch.size > 0) {
        std::memcpy(bigger.get(), batch.bytes.get(), batch.size);
    }
    batch.bytes = std::move(bigger);
    batch.capacity = capacity;
}

size_t CLineReader::AfterLastLineEnd(const Batch& batch)
{
    const void* last = memrchr(batch.bytes.get(), '\n', batch.size);
    return last != nullptr ? static_cast<size_t>(static_cast<const char*>(last) - batch.bytes.get()) + 1
                           : 0;
}

bool CLineReader::ReadMore(Batch& batch, bool& eof)
{
    bool lineEnd = batch.size > 0 && memchr(batch.bytes.get(), '\n', batch.size) != nullptr;
    while (!lineEnd || batch.size < block_) {
        // A line longer than the block makes the batch grow.
        if (batch.capacity - batch.size < std::max<size_t>(block_ / 2, 1)) {
            Reserve(batch, std::max(batch.capacity * 2, batch.size + block_));
        }
        const ssize_t n = ::read(fd_, batch.bytes.get() + batch.size, batch.capacity - batch.size);
        if (n > 0) {
            lineEnd = lineEnd || memchr(batch.bytes.get() + batch.size, '\n', static_cast<size_t>(n)) != nullptr;
            batch.size += static_cast<size_t>(n);
            continue;
        }
        if (n == 0) {
            eof = true;
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        batch.error = "cannot read corpus file \"" + path_ + "\": " + std::strerror(errno);
        return false;
    }
    return true;
}

void CLineReader::Split(Batch& batch, size_t end, bool finalLine)
{
    char* data = batch.bytes.get();
    size_t start = 0;
    while (start < end) {
        const void* nl = std::memchr(data + start, '\n', end - start);
        size_t lineEnd = nl != nullptr ? static_cast<size_t>(static_cast<const char*>(nl) - data) : end;
        const size_t consumed = (nl != nullptr ? lineEnd + 1 : end) - start;
        if (nl == nullptr && !finalLine) {
            break;
        }
        // Text mode: a CR before the line feed belongs to the line end; the
        // last line, without a line feed, keeps its CR.
        if (nl != nullptr && lineEnd > start && data[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        // A NUL byte would end the line for every string routine downstream.
        if (std::memchr(data + start, '\0', lineEnd - start) != nullptr) {
            std::replace(data + start, data + lineEnd, '\0', ' ');
        }
        Line line{start, lineEnd - start, consumed, LineMarks{}};
        if (prescan_ != nullptr) {
            line.marks = prescan_(std::string_view(data + start, lineEnd - start));
        }
        batch.lines.push_back(line);
        start += consumed;
    }
}

void CLineReader::Run()
{
    try {
        ReadBatches();
    } catch (const std::bad_alloc&) {
        // The lines so far were handed on; the run fails with the reason
        // rather than passing for complete.
        auto batch = std::make_unique<Batch>();
        batch->last = true;
        batch->failed = true;
        batch->error = "cannot read corpus file \"" + path_ + "\": out of memory";
        std::unique_lock<std::mutex> guard(lock_);
        changed_.wait(guard, [this] { return stop_ || ready_.size() < kBatchesAhead; });
        if (!stop_) {
            ready_.push_back(std::move(batch));
        }
        guard.unlock();
        changed_.notify_all();
    }
}

void CLineReader::ReadBatches()
{
    std::string carry;  // the unfinished line at the end of the batch before
    for (;;) {
        std::unique_ptr<Batch> batch = TakeFree();
        batch->lines.clear();
        batch->last = false;
        batch->failed = false;
        batch->error.clear();
        batch->size = 0;
        Reserve(*batch, block_ + carry.size());
        std::memcpy(batch->bytes.get(), carry.data(), carry.size());
        batch->size = carry.size();
        carry.clear();
        bool eof = false;
        if (!ReadMore(*batch, eof)) {
            // Whole lines before the failure are still lines; the piece of
            // the line being read is not.
            Split(*batch, AfterLastLineEnd(*batch), false);
            batch->failed = true;
            batch->last = true;
        } else if (eof) {
            Split(*batch, batch->size, true);
            batch->last = true;
        } else {
            const size_t end = AfterLastLineEnd(*batch);
            carry.assign(batch->bytes.get() + end, batch->size - end);
            Split(*batch, end, false);
        }
        const bool done = batch->last;
        {
            std::unique_lock<std::mutex> guard(lock_);
            changed_.wait(guard, [this] { return stop_ || ready_.size() < kBatchesAhead; });
            if (stop_) {
                return;
            }
            ready_.push_back(std::move(batch));
        }
        changed_.notify_all();
        if (done) {
            return;
        }
    }
}

bool CLineReader::Next(std::string& out, LineMarks& marks, uint64_t& consumed)
{
    while (current_ == nullptr || nextLine_ >= current_->lines.size()) {
        if (current_ != nullptr) {
            if (current_->last) {
                failed_ = current_->failed;
                error_ = current_->error;
                return false;
            }
            std::lock_guard<std::mutex> guard(lock_);
            free_.push_back(std::move(current_));
        }
        std::unique_lock<std::mutex> guard(lock_);
        changed_.wait(guard, [this] { return !ready_.empty(); });
        current_ = std::move(ready_.front());
        ready_.pop_front();
        nextLine_ = 0;
        guard.unlock();
        changed_.notify_all();
    }
    const Line& line = current_->lines[nextLine_++];
    out.assign(current_->bytes.get() + line.start, line.length);
    marks = line.marks;
    consumed = line.consumed;
    return true;
}

}  // namespace plix
