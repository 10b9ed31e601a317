#include "engine/spill.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace plix {

namespace {

constexpr size_t kWriteBuffer = size_t{1} << 20;
// Direct transfers are in whole blocks of this many bytes, at offsets and
// from memory aligned to them.
constexpr size_t kBlock = 4096;
std::atomic<bool> g_allowDirect{true};

// Bytes left before the simulated full disk; negative: no limit.
std::atomic<int64_t> g_diskLeft{-1};

// Takes `n` bytes from the simulated disk; false when they do not fit.
bool TakeDisk(size_t n)
{
    int64_t left = g_diskLeft.load(std::memory_order_relaxed);
    while (left >= 0) {
        if (static_cast<uint64_t>(left) < n) {
            return false;
        }
        if (g_diskLeft.compare_exchange_weak(left, left - static_cast<int64_t>(n))) {
            return true;
        }
    }
    return true;
}

}  // namespace

void SetSpillDiskLimit(std::optional<uint64_t> bytes)
{
    if (!bytes) {
        g_diskLeft = -1;
    } else {
        g_diskLeft = static_cast<int64_t>(
            std::min<uint64_t>(*bytes, static_cast<uint64_t>(std::numeric_limits<int64_t>::max())));
    }
}

std::optional<uint64_t> ParseByteCount(std::string_view text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    if (i == 0) {
        return std::nullopt;
    }
    unsigned shift = 0;
    if (i < text.size()) {
        switch (text[i]) {
        case 'k': case 'K': shift = 10; break;
        case 'm': case 'M': shift = 20; break;
        case 'g': case 'G': shift = 30; break;
        default: return std::nullopt;
        }
        if (++i != text.size()) {
            return std::nullopt;
        }
    }
    if (value == 0 || value > (std::numeric_limits<uint64_t>::max() >> shift)) {
        return std::nullopt;
    }
    return value << shift;
}

std::string SpillDirectory()
{
    const char* dir = std::getenv("TMPDIR");
    if (dir != nullptr && dir[0] != '\0') {
        return dir;
    }
    return "/tmp";
}

// ---- the file -----------------------------------------------------------------

CSpillFile::CSpillFile() = default;

CSpillFile::~CSpillFile()
{
    Close();
    std::free(aligned_);
}

CSpillFile::CSpillFile(CSpillFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      size_(std::exchange(other.size_, 0)),
      written_(std::exchange(other.written_, 0)),
      buffer_(std::move(other.buffer_)),
      error_(std::move(other.error_)),
      direct_(std::exchange(other.direct_, false)),
      blocksWritten_(std::exchange(other.blocksWritten_, 0)),
      tail_(std::move(other.tail_)),
      aligned_(std::exchange(other.aligned_, nullptr)),
      alignedSize_(std::exchange(other.alignedSize_, 0))
{
}

CSpillFile& CSpillFile::operator=(CSpillFile&& other) noexcept
{
    if (this != &other) {
        Close();
        std::free(aligned_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = std::exchange(other.size_, 0);
        written_ = std::exchange(other.written_, 0);
        buffer_ = std::move(other.buffer_);
        error_ = std::move(other.error_);
        direct_ = std::exchange(other.direct_, false);
        blocksWritten_ = std::exchange(other.blocksWritten_, 0);
        tail_ = std::move(other.tail_);
        aligned_ = std::exchange(other.aligned_, nullptr);
        alignedSize_ = std::exchange(other.alignedSize_, 0);
    }
    return *this;
}

void CSpillFile::AllowDirect(bool allow)
{
    g_allowDirect = allow;
}

char* CSpillFile::AlignedBuffer(size_t bytes)
{
    if (alignedSize_ < bytes) {
        std::free(aligned_);
        const size_t size = (bytes + kBlock - 1) / kBlock * kBlock;
        aligned_ = static_cast<char*>(std::aligned_alloc(kBlock, size));
        alignedSize_ = aligned_ != nullptr ? size : 0;
    }
    return aligned_;
}

void CSpillFile::SetError(const std::string& what, int code)
{
    if (error_.empty()) {
        error_ = what + ": " + std::strerror(code);
    }
}

bool CSpillFile::Open()
{
    if (fd_ >= 0) {
        return true;
    }
    if (Failed()) {
        return false;
    }
    std::string path = SpillDirectory();
    if (path.back() != '/') {
        path += '/';
    }
    path += "plix-XXXXXX";
    int fd = mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) {
        SetError("cannot make a temporary file in " + SpillDirectory(), errno);
        return false;
    }
    // Nameless from the start: nothing is left behind, however the run ends.
    (void)unlink(path.c_str());
    fd_ = fd;
    size_ = 0;
    written_ = 0;
    buffer_.clear();
    buffer_.reserve(kWriteBuffer);
    // Past the page cache where the file system allows it: runs are written
    // once and read back once, and filling the cache with them costs the
    // system more than the transfers do (tmpfs and some others refuse it;
    // the file then works as any other).
    direct_ = false;
    blocksWritten_ = 0;
    tail_.clear();
    if (g_allowDirect.load(std::memory_order_relaxed)) {
        const int flags = fcntl(fd, F_GETFL);
        direct_ = flags >= 0 && fcntl(fd, F_SETFL, flags | O_DIRECT) == 0;
    }
    return true;
}

void CSpillFile::Close()
{
    if (fd_ >= 0) {
        (void)::close(fd_);
        fd_ = -1;
    }
    buffer_.clear();
    buffer_.shrink_to_fit();
    size_ = 0;
    written_ = 0;
    direct_ = false;
    blocksWritten_ = 0;
    tail_.clear();
    tail_.shrink_to_fit();
}

bool CSpillFile::StopDirect()
{
    direct_ = false;
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags & ~O_DIRECT) != 0) {
        SetError("cannot write the temporary file", errno);
        return false;
    }
    // The bytes after the last whole block, through the cache from now on.
    const char* p = tail_.data();
    size_t n = tail_.size();
    uint64_t at = blocksWritten_;
    while (n > 0) {
        const ssize_t done = ::pwrite(fd_, p, n, static_cast<off_t>(at));
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            SetError("cannot write the temporary file", done < 0 ? errno : ENOSPC);
            return false;
        }
        p += done;
        n -= static_cast<size_t>(done);
        at += static_cast<uint64_t>(done);
    }
    tail_.clear();
    return true;
}

bool CSpillFile::WriteDirect(const char* data, size_t n)
{
    // Up to a write buffer at a time: the tail kept from before, then the
    // new bytes, padded to whole blocks.
    while (n > 0) {
        const size_t take = std::min(n, kWriteBuffer);
        const size_t total = tail_.size() + take;
        const size_t padded = (total + kBlock - 1) / kBlock * kBlock;
        char* buffer = AlignedBuffer(padded);
        if (buffer == nullptr) {
            return StopDirect();
        }
        std::memcpy(buffer, tail_.data(), tail_.size());
        std::memcpy(buffer + tail_.size(), data, take);
        std::memset(buffer + total, 0, padded - total);
        size_t done = 0;
        while (done < padded) {
            const ssize_t put = ::pwrite(fd_, buffer + done, padded - done,
                                         static_cast<off_t>(blocksWritten_ + done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put < 0 && errno == EINVAL && done == 0) {
                return StopDirect();  // refused after all: the caller writes through the cache
            }
            if (put <= 0 || static_cast<size_t>(put) % kBlock != 0) {
                SetError("cannot write the temporary file", put < 0 ? errno : ENOSPC);
                return false;
            }
            done += static_cast<size_t>(put);
        }
        const size_t whole = total / kBlock * kBlock;
        blocksWritten_ += whole;
        tail_.assign(buffer + whole, total - whole);
        written_ += take;
        data += take;
        n -= take;
    }
    return true;
}

bool CSpillFile::ReadDirect(uint64_t offset, char* out, size_t n)
{
    while (n > 0) {
        const uint64_t from = offset / kBlock * kBlock;
        const size_t skip = static_cast<size_t>(offset - from);
        const size_t take = std::min(n, kWriteBuffer);
        const size_t span = (skip + take + kBlock - 1) / kBlock * kBlock;
        char* buffer = AlignedBuffer(span);
        if (buffer == nullptr) {
            return StopDirect();
        }
        size_t got = 0;
        while (got < skip + take) {
            const ssize_t r =
                ::pread(fd_, buffer + got, span - got, static_cast<off_t>(from + got));
            if (r < 0 && errno == EINTR) {
                continue;
            }
            if (r < 0 && errno == EINVAL && got == 0) {
                return StopDirect();
            }
            if (r <= 0 || static_cast<size_t>(r) % kBlock != 0) {
                // A short read ends the file: only what was asked for counts.
                if (r > 0 && got + static_cast<size_t>(r) >= skip + take) {
                    got += static_cast<size_t>(r);
                    break;
                }
                SetError("cannot read the temporary file", r < 0 ? errno : EIO);
                return false;
            }
            got += static_cast<size_t>(r);
        }
        std::memcpy(out, buffer + skip, take);
        out += take;
        offset += take;
        n -= take;
    }
    return true;
}

bool CSpillFile::WriteOut(const char* data, size_t n)
{
    if (!TakeDisk(n)) {
        SetError("cannot write the temporary file", ENOSPC);
        return false;
    }
    if (direct_) {
        const uint64_t before = written_;
        if (!WriteDirect(data, n)) {
            return false;
        }
        if (direct_) {
            return true;
        }
        // Refused part way: the rest through the cache.
        const size_t done = static_cast<size_t>(written_ - before);
        data += done;
        n -= done;
    }
    while (n > 0) {
        ssize_t done = ::pwrite(fd_, data, n, static_cast<off_t>(written_));
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            SetError("cannot write the temporary file", errno);
            return false;
        }
        if (done == 0) {
            SetError("cannot write the temporary file", ENOSPC);
            return false;
        }
        data += done;
        n -= static_cast<size_t>(done);
        written_ += static_cast<uint64_t>(done);
    }
    return true;
}

bool CSpillFile::Append(const void* data, size_t n)
{
    if (Failed() || (fd_ < 0 && !Open())) {
        return false;
    }
    const char* bytes = static_cast<const char*>(data);
    size_ += n;
    if (buffer_.size() + n <= kWriteBuffer) {
        buffer_.append(bytes, n);
        return true;
    }
    if (!Flush()) {
        return false;
    }
    if (n >= kWriteBuffer) {
        return WriteOut(bytes, n);
    }
    buffer_.append(bytes, n);
    return true;
}

bool CSpillFile::Flush()
{
    if (Failed()) {
        return false;
    }
    if (buffer_.empty()) {
        return true;
    }
    bool ok = WriteOut(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
}

bool CSpillFile::ReadAt(uint64_t offset, void* data, size_t n)
{
    if (Failed() || fd_ < 0) {
        return false;
    }
    if (offset + n > written_ && !Flush()) {
        return false;
    }
    char* out = static_cast<char*>(data);
    if (direct_) {
        if (!ReadDirect(offset, out, n)) {
            return false;
        }
        if (direct_) {
            return true;
        }
        if (Failed()) {
            return false;
        }
    }
    while (n > 0) {
        ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            SetError("cannot read the temporary file", errno);
            return false;
        }
        if (got == 0) {
            SetError("cannot read the temporary file", EIO);
            return false;
        }
        out += got;
        n -= static_cast<size_t>(got);
        offset += static_cast<uint64_t>(got);
    }
    return true;
}

// ---- reading a run ------------------------------------------------------------

CSpillReader::CSpillReader(CSpillFile& file, SpillRun run, size_t bufferBytes)
    : file_(file), run_(run), position_(run.begin), buffer_(std::max<size_t>(bufferBytes, 64))
{
}

std::string CSpillFile::ReadStretch(uint64_t offset, size_t n, char* block, size_t& skip) const
{
    // Past the cache a read starts and ends on whole blocks.
    const uint64_t from = direct_ ? offset / kBlock * kBlock : offset;
    skip = static_cast<size_t>(offset - from);
    const size_t span = direct_ ? (skip + n + kBlock - 1) / kBlock * kBlock : n;
    size_t got = 0;
    while (got < skip + n) {
        const ssize_t r = ::pread(fd_, block + got, span - got, static_cast<off_t>(from + got));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            return std::string("cannot read the temporary file: ") + std::strerror(r < 0 ? errno : EIO);
        }
        got += static_cast<size_t>(r);
    }
    return {};
}

void CSpillFile::TakeFailure(const std::string& reason)
{
    if (error_.empty()) {
        error_ = reason;
    }
}

CSpillReader::~CSpillReader()
{
    if (pending_.valid()) {
        pending_.wait();
    }
    std::free(ahead_);
}

void CSpillReader::ReadAhead()
{
    readAhead_ = true;
    if (!pending_.valid() && position_ < run_.end) {
        StartAhead();
    }
}

void CSpillReader::StartAhead()
{
    aheadSize_ = static_cast<size_t>(std::min<uint64_t>(buffer_.size(), run_.end - position_));
    const size_t needed = aheadSize_ + 2 * kBlock;
    if (aheadCapacity_ < needed) {
        std::free(ahead_);
        aheadCapacity_ = (needed + kBlock - 1) / kBlock * kBlock;
        ahead_ = static_cast<char*>(std::aligned_alloc(kBlock, aheadCapacity_));
        if (ahead_ == nullptr) {
            aheadCapacity_ = 0;
            readAhead_ = false;  // read when needed, as without
            return;
        }
    }
    const uint64_t at = position_;
    const size_t n = aheadSize_;
    pending_ = std::async(std::launch::async, [this, at, n] {
        return file_.ReadStretch(at, n, ahead_, aheadSkip_);
    });
}

bool CSpillReader::Refill()
{
    if (position_ >= run_.end) {
        return false;
    }
    // Keep what is left of the buffer in front.
    const size_t rest = limit_ - next_;
    std::memmove(buffer_.data(), buffer_.data() + next_, rest);
    next_ = 0;
    limit_ = rest;
    if (pending_.valid()) {
        const std::string failure = pending_.get();
        if (!failure.empty()) {
            file_.TakeFailure(failure);
            return false;
        }
        if (buffer_.size() < rest + aheadSize_) {
            buffer_.resize(rest + aheadSize_);
        }
        std::memcpy(buffer_.data() + rest, ahead_ + aheadSkip_, aheadSize_);
        position_ += aheadSize_;
        limit_ += aheadSize_;
        if (readAhead_ && position_ < run_.end) {
            StartAhead();
        }
        return true;
    }
    const size_t want =
        static_cast<size_t>(std::min<uint64_t>(buffer_.size() - rest, run_.end - position_));
    if (!file_.ReadAt(position_, buffer_.data() + rest, want)) {
        return false;
    }
    position_ += want;
    limit_ += want;
    if (readAhead_ && position_ < run_.end) {
        StartAhead();
    }
    return true;
}

bool CSpillReader::Read(void* data, size_t n)
{
    char* out = static_cast<char*>(data);
    while (n > 0) {
        if (next_ == limit_ && !Refill()) {
            return false;
        }
        const size_t take = std::min(n, limit_ - next_);
        std::memcpy(out, buffer_.data() + next_, take);
        next_ += take;
        out += take;
        n -= take;
    }
    return true;
}

bool CSpillReader::ReadBytes(std::string& out, size_t n)
{
    const size_t at = out.size();
    out.resize(at + n);
    if (!Read(out.data() + at, n)) {
        out.resize(at);
        return false;
    }
    return true;
}

bool CSpillReader::View(size_t n, size_t slack, std::string_view& out, std::string& spare)
{
    const size_t held = limit_ - next_;
    if (held >= n && (held - n >= slack || position_ >= run_.end)) {
        out = std::string_view(buffer_.data() + next_, n);
        next_ += n;
        return true;
    }
    spare.clear();
    if (!ReadBytes(spare, n)) {
        return false;
    }
    out = spare;
    return true;
}

bool CSpillReader::ReadVarint(uint64_t& value)
{
    value = 0;
    for (unsigned shift = 0; shift < 64; shift += 7) {
        if (next_ == limit_ && !Refill()) {
            return false;
        }
        const auto byte = static_cast<unsigned char>(buffer_[next_++]);
        value |= static_cast<uint64_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0) {
            return true;
        }
    }
    return false;
}

// ---- numbers ------------------------------------------------------------------

void AppendVarint(std::string& out, uint64_t value)
{
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

std::optional<uint64_t> ReadVarint(const char*& p, const char* end)
{
    uint64_t value = 0;
    for (unsigned shift = 0; shift < 64 && p < end; shift += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        value |= static_cast<uint64_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace plix
