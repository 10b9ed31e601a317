#include "engine/format.h"

#include <cerrno>
#include <cstring>

namespace plix {

namespace {
// Window text is handed over in blocks of about this size: large enough that a
// result of a million lines costs a few hundred appends, small enough to keep
// the window filling visibly.
constexpr size_t kWindowBlock = 1 << 20;
}  // namespace

CFormat::CFormat() = default;

CFormat::~CFormat()
{
    Flush();
    std::string ignored;
    (void)CloseOutputFile(ignored);
}

bool CFormat::NewResultWindow()
{
    Flush();
    return target_ == nullptr || target_->BeginResult();
}

void CFormat::AppendToWindow(std::string_view text)
{
    // Only flush at a line boundary, so that the line a highlight refers to is
    // always inside the pending block.
    if (pending_.size() >= kWindowBlock && (pending_.empty() || pending_.back() == '\n')) {
        Flush();
    }
    pending_.append(text);
}

void CFormat::Flush()
{
    if (pending_.empty()) {
        return;
    }
    if (target_ != nullptr) {
        target_->Append(pending_, pendingHighlights_);
    }
    pending_.clear();
    pendingHighlights_.clear();
}

void CFormat::HighlightKeyword(size_t length, size_t column)
{
    if (pending_.size() < 2) {
        return;
    }
    // The last complete line is the one before the (empty) last line.
    size_t end = pending_.size() - 1;  // the final '\n'
    size_t prev = end == 0 ? std::string::npos : pending_.rfind('\n', end - 1);
    size_t lineStart = prev == std::string::npos ? 0 : prev + 1;
    pendingHighlights_.push_back({lineStart + column, length});
}

bool CFormat::OpenOutputFile(const std::string& path, std::string& error)
{
    std::string ignored;
    (void)CloseOutputFile(ignored);
    writeFailed_ = false;
    writeErrno_ = 0;
    if (redirect_ != nullptr) {
        file_ = redirect_;
        filePath_ = "standard output";
        return true;
    }
    file_ = std::fopen(path.c_str(), "ab");
    if (file_ == nullptr) {
        error = "cannot open output file \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    // A result can run to gigabytes: a megabyte a write, not a few kilobytes
    // (the library takes the size only with a buffer of the caller's own).
    fileBuffer_.resize(size_t{1} << 20);
    (void)std::setvbuf(file_, fileBuffer_.data(), _IOFBF, fileBuffer_.size());
    filePath_ = path;
    return true;
}

void CFormat::WriteToFile(std::string_view text)
{
    if (file_ == nullptr || text.empty()) {
        return;
    }
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() && !writeFailed_) {
        writeFailed_ = true;
        writeErrno_ = errno;
    }
}

bool CFormat::CloseOutputFile(std::string& error)
{
    if (file_ == nullptr) {
        return true;
    }
    bool ok = !writeFailed_;
    int err = writeErrno_;
    if (file_ == redirect_) {
        if (std::fflush(file_) != 0 && ok) {
            ok = false;
            err = errno;
        }
    } else if (std::fclose(file_) != 0 && ok) {
        ok = false;
        err = errno;
    }
    file_ = nullptr;
    if (!ok) {
        error = "cannot write output file \"" + filePath_ + "\": " + std::strerror(err);
    }
    writeFailed_ = false;
    return ok;
}

void CFormat::Write(std::string_view text)
{
    if (toFile_) {
        WriteToFile(text);
    } else {
        AppendToWindow(text);
    }
}

}  // namespace plix
