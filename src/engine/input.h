// CInput: the one input line reader. It reads a corpus file (in large blocks)
// or the lines of a result window, keeps the lines read ahead for the right
// context of concordance lines, and reports how far the reading has come.
#pragma once

#include "corpora/line_marks.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plix {

class CLineReader;

// The lines of a result window, for the quick commands.
class CWindowSource
{
public:
    virtual ~CWindowSource() = default;
    virtual size_t LineCount() const = 0;
    virtual std::string Line(size_t index) const = 0;
    virtual std::string Title() const = 0;
};

class CInput
{
public:
    CInput();
    ~CInput();
    CInput(const CInput&) = delete;
    CInput& operator=(const CInput&) = delete;

    void SetFileName(const std::string& path);
    void SetWindowSource(const CWindowSource* window);
    void SetFileSource();
    bool ReadsWindow() const { return window_ != nullptr; }

    // 0 on success, -1 on failure (the reason is in LastError()).
    int Open();
    // The next line: a file line without its line end and with one blank
    // appended; a line read ahead keeps its "\n" before that blank; a window
    // line as it stands. False at the end of input or on a read error.
    bool ReadLine(std::string& out);
    // The text of the following lines, at least `minLength` bytes of it when
    // the input has that much, without consuming them.
    void PeekText(std::string& out, size_t minLength);
    int GetProgress() const;
    void Close();
    std::string GetSourceName() const;

    // Lines gathered by PeekText from some corpus types are cleaned of their
    // markup before they are added to the peeked text.
    void SetPeekCleaner(std::function<void(std::string&)> cleaner) { peekCleaner_ = std::move(cleaner); }

    // True when reading stopped because of an error rather than the end of the file.
    bool ReadFailed() const { return readFailed_; }
    const std::string& LastError() const { return error_; }

    // Whether a UTF-8 byte-order mark that opens the file is dropped.
    void SetSkipByteOrderMark(bool skip) { skipByteOrderMark_ = skip; }

    // A handler's marks, found in every file line as it is read (for the
    // next Open). Files from kReadAheadFrom bytes up are then read, split
    // and pre-scanned on a second thread.
    void SetLinePrescan(LinePrescan prescan) { prescan_ = prescan; }
    // The marks of the line the last ReadLine gave, when that line came
    // straight from the file as it stands; else nullptr (a line read ahead
    // for a context, a window line, a first line that lost its byte-order
    // mark, or no prescan).
    const LineMarks* LastLineMarks() const { return marksValid_ ? &marks_ : nullptr; }
    static constexpr uint64_t kReadAheadFrom = 4 << 20;
    // Tests: read files from this size up on the second thread instead.
    static void SetReadAheadFromForTests(uint64_t bytes);

private:
    void DropByteOrderMark(std::string& out) const;
    bool skipByteOrderMark_ = false;
    // The next raw line from the file or window, without its line end.
    bool NextRawLine(std::string& out);
    // Whether the line ending at `lineEnd` (in the buffer) may hold a NUL byte.
    bool MayHoldNul(size_t lineEnd);
    bool FillBuffer();

    std::string path_;
    const CWindowSource* window_ = nullptr;
    int fd_ = -1;
    std::vector<char> buffer_;
    size_t bufferPos_ = 0;
    size_t bufferEnd_ = 0;
    // Up to here the buffer is known to hold no NUL byte: it is searched once
    // a block, not once a line.
    size_t nulFreeEnd_ = 0;
    bool eof_ = false;
    bool readFailed_ = false;
    uint64_t fileSize_ = 0;
    uint64_t consumed_ = 0;
    // The percentage last given, and the bytes consumed that give it.
    mutable int percent_ = 0;
    mutable uint64_t percentFrom_ = 1;
    mutable uint64_t percentTo_ = 0;
    size_t windowLine_ = 0;
    size_t windowCount_ = 0;
    std::deque<std::string> pushBack_;
    // Buffers of lines read ahead and taken back, to be filled again: a line
    // is read ahead for the right context of nearly every line's last hits.
    std::vector<std::string> spareLines_;
    LinePrescan prescan_ = nullptr;
    LineMarks marks_;
    bool marksValid_ = false;
    bool lineMarked_ = false;  // the last raw line has its marks
    std::unique_ptr<CLineReader> reader_;
    std::function<void(std::string&)> peekCleaner_;
    std::string error_;
};

}  // namespace plix
