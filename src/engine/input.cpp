#include "engine/input.h"

#include "engine/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

namespace plix {

namespace {

constexpr size_t kReadBlock = 1 << 20;

uint64_t readAheadFrom = CInput::kReadAheadFrom;

// A NUL byte would end the line for every string routine downstream and lose
// the rest of it; it is read as a blank instead.
void BlankNuls(std::string& line)
{
    if (std::memchr(line.data(), '\0', line.size()) != nullptr) {
        std::replace(line.begin(), line.end(), '\0', ' ');
    }
}

}  // namespace

CInput::CInput() = default;

void CInput::SetReadAheadFromForTests(uint64_t bytes)
{
    readAheadFrom = bytes;
}

CInput::~CInput()
{
    Close();
}

void CInput::SetFileName(const std::string& path)
{
    path_ = path;
}

void CInput::SetWindowSource(const CWindowSource* window)
{
    window_ = window;
}

void CInput::SetFileSource()
{
    window_ = nullptr;
}

int CInput::Open()
{
    Close();
    pushBack_.clear();
    readFailed_ = false;
    error_.clear();
    eof_ = false;
    consumed_ = 0;
    percentFrom_ = 1;  // no percentage known for this file yet
    percentTo_ = 0;
    fileSize_ = 0;
    bufferPos_ = bufferEnd_ = nulFreeEnd_ = 0;
    if (window_ != nullptr) {
        windowLine_ = 0;
        windowCount_ = window_->LineCount();
        return 0;
    }
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = "cannot open corpus file \"" + path_ + "\": " + std::strerror(errno);
        return -1;
    }
    struct stat st{};
    if (::fstat(fd_, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error_ = "cannot read corpus file \"" + path_ + "\": " + std::strerror(EISDIR);
            ::close(fd_);
            fd_ = -1;
            return -1;
        }
        if (S_ISREG(st.st_mode)) {
            fileSize_ = static_cast<uint64_t>(st.st_size);
        }
    }
    marksValid_ = false;
    if (prescan_ != nullptr && S_ISREG(st.st_mode) && fileSize_ >= readAheadFrom) {
        try {
            reader_ = std::make_unique<CLineReader>(fd_, prescan_, path_, kReadBlock);
            return 0;
        } catch (const std::exception&) {
            // No second thread to be had: the lines are read here instead.
            reader_.reset();
        }
    }
    buffer_.resize(kReadBlock);
    return 0;
}

void CInput::Close()
{
    reader_.reset();
    marksValid_ = false;
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::string CInput::GetSourceName() const
{
    return window_ != nullptr ? window_->Title() : path_;
}

bool CInput::FillBuffer()
{
    if (eof_ || fd_ < 0) {
        return false;
    }
    // Keep the unread tail at the front, then read behind it.
    if (bufferPos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + bufferPos_, bufferEnd_ - bufferPos_);
        bufferEnd_ -= bufferPos_;
        nulFreeEnd_ = nulFreeEnd_ > bufferPos_ ? nulFreeEnd_ - bufferPos_ : 0;
        bufferPos_ = 0;
    }
    if (bufferEnd_ == buffer_.size()) {
        buffer_.resize(buffer_.size() * 2);  // a line longer than the buffer
    }
    for (;;) {
        ssize_t n = ::read(fd_, buffer_.data() + bufferEnd_, buffer_.size() - bufferEnd_);
        if (n > 0) {
            bufferEnd_ += static_cast<size_t>(n);
            return true;
        }
        if (n == 0) {
            eof_ = true;
            return false;
        }
        if (errno == EINTR) {
            continue;
        }
        error_ = "cannot read corpus file \"" + path_ + "\": " + std::strerror(errno);
        readFailed_ = true;
        eof_ = true;
        return false;
    }
}

bool CInput::MayHoldNul(size_t lineEnd)
{
    if (lineEnd <= nulFreeEnd_) {
        return false;
    }
    const size_t from = std::max(bufferPos_, nulFreeEnd_);
    const void* nul = std::memchr(buffer_.data() + from, '\0', bufferEnd_ - from);
    nulFreeEnd_ = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - buffer_.data()) : bufferEnd_;
    return lineEnd > nulFreeEnd_;
}

void CInput::DropByteOrderMark(std::string& out) const
{
    // Only the first line of a file can open with the mark (nothing of the
    // file is consumed yet); in UTF-8 text it is no character of the text.
    if (skipByteOrderMark_ && consumed_ == 0 && out.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        out.erase(0, 3);
    }
}

bool CInput::NextRawLine(std::string& out)
{
    if (window_ != nullptr) {
        if (windowLine_ >= windowCount_) {
            return false;
        }
        out = window_->Line(windowLine_++);
        BlankNuls(out);
        return true;
    }
    if (fd_ < 0) {
        return false;
    }
    if (reader_ != nullptr) {
        uint64_t consumed = 0;
        if (!reader_->Next(out, marks_, consumed)) {
            if (reader_->Failed()) {
                readFailed_ = true;
                error_ = reader_->Error();
            }
            return false;
        }
        const size_t before = out.size();
        DropByteOrderMark(out);
        // The marks were found in the line as read.
        lineMarked_ = out.size() == before;
        consumed_ += consumed;
        return true;
    }
    size_t searchFrom = bufferPos_;
    for (;;) {
        const char* start = buffer_.data() + searchFrom;
        const void* nl = std::memchr(start, '\n', bufferEnd_ - searchFrom);
        if (nl != nullptr) {
            size_t end = static_cast<size_t>(static_cast<const char*>(nl) - buffer_.data());
            size_t lineEnd = end;
            // Text mode: a CR before the line feed belongs to the line end.
            if (lineEnd > bufferPos_ && buffer_[lineEnd - 1] == '\r') {
                --lineEnd;
            }
            out.assign(buffer_.data() + bufferPos_, lineEnd - bufferPos_);
            DropByteOrderMark(out);
            if (MayHoldNul(lineEnd)) {
                BlankNuls(out);
            }
            consumed_ += end + 1 - bufferPos_;
            bufferPos_ = end + 1;
            return true;
        }
        size_t scanned = bufferEnd_ - bufferPos_;
        if (!FillBuffer()) {
            if (bufferEnd_ > bufferPos_ && !readFailed_) {
                // The last line has no line end.
                out.assign(buffer_.data() + bufferPos_, bufferEnd_ - bufferPos_);
                DropByteOrderMark(out);
                consumed_ += bufferEnd_ - bufferPos_;
                bufferPos_ = bufferEnd_;
                BlankNuls(out);
                return true;
            }
            return false;
        }
        searchFrom = bufferPos_ + scanned;
    }
}

bool CInput::ReadLine(std::string& out)
{
    marksValid_ = false;
    if (!pushBack_.empty()) {
        out.swap(pushBack_.front());
        if (spareLines_.size() < 4) {
            spareLines_.push_back(std::move(pushBack_.front()));
        }
        pushBack_.pop_front();
        if (window_ == nullptr) {
            out += ' ';
        }
        return true;
    }
    if (!NextRawLine(out)) {
        return false;
    }
    marksValid_ = reader_ != nullptr && lineMarked_;
    if (window_ == nullptr) {
        out += ' ';
    }
    return true;
}

void CInput::PeekText(std::string& out, size_t minLength)
{
    out.clear();
    // Lines read ahead before are given exactly as they were the first time,
    // so that the right context of a hit does not depend on whether an
    // earlier hit already looked ahead.
    std::string piece;
    for (const std::string& line : pushBack_) {
        if (out.size() >= minLength) {
            return;
        }
        if (window_ == nullptr && !peekCleaner_) {
            out += line;  // nothing to change: no copy of its own
            continue;
        }
        piece = line;
        if (window_ != nullptr) {
            piece += '\n';
        }
        if (peekCleaner_) {
            peekCleaner_(piece);
        }
        out += piece;
    }
    std::string line;
    for (;;) {
        if (!spareLines_.empty()) {
            line.swap(spareLines_.back());
            spareLines_.pop_back();
        }
        if (out.size() >= minLength || !NextRawLine(line)) {
            break;
        }
        if (window_ == nullptr) {
            line += '\n';
        }
        if (peekCleaner_) {
            piece = line;
            if (window_ != nullptr) {
                piece += '\n';
            }
            peekCleaner_(piece);
            out += piece;
        } else {
            out += line;
            if (window_ != nullptr) {
                out += '\n';
            }
        }
        pushBack_.push_back(std::move(line));
        line.clear();
    }
    if (line.capacity() > 0 && spareLines_.size() < 4) {
        spareLines_.push_back(std::move(line));
    }
}

int CInput::GetProgress() const
{
    if (window_ != nullptr) {
        return windowCount_ == 0 ? 0 : static_cast<int>(windowLine_ * 100 / windowCount_);
    }
    if (fileSize_ == 0) {
        return 0;
    }
    // Asked once a line: the division is done only when the percentage can
    // have changed, that is once every hundredth of the file.
    if (consumed_ >= percentFrom_ && consumed_ < percentTo_) {
        return percent_;
    }
    const uint64_t percent = std::min<uint64_t>(100, consumed_ * 100 / fileSize_);
    percent_ = static_cast<int>(percent);
    percentFrom_ = (percent * fileSize_ + 99) / 100;
    percentTo_ = percent >= 100 ? UINT64_MAX : ((percent + 1) * fileSize_ + 99) / 100;
    return percent_;
}

}  // namespace plix
