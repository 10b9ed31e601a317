// CFormat: the one output writer. Everything the engine and the corpus handlers
// write goes through it, either into the current result window ("\r\n" line
// ends) or appended to the open output file ("\n").
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/result_target.h"

namespace plix {

class CFormat
{
public:
    CFormat();
    ~CFormat();
    CFormat(const CFormat&) = delete;
    CFormat& operator=(const CFormat&) = delete;

    void SetOutputType(int type) { outputType_ = type; }
    int GetOutputType() const { return outputType_; }
    void SetToFile(bool flag) { toFile_ = flag; }
    bool ToFile() const { return toFile_; }
    const char* Eol() const { return toFile_ ? "\n" : "\r\n"; }

    // The front end's window implementation; null means results to a window are dropped.
    void SetResultTarget(CResultTarget* target) { target_ = target; }
    // plix-cli prints file-form results on standard output: when a stream is set,
    // "opening an output file" writes to that stream instead of the path.
    void SetFileRedirect(std::FILE* stream) { redirect_ = stream; }

    bool NewResultWindow();
    void AppendToWindow(std::string_view text);
    // Opens `path` for appending (created when missing, never truncated).
    [[nodiscard]] bool OpenOutputFile(const std::string& path, std::string& error);
    void WriteToFile(std::string_view text);
    // Closes the output file; false (with the reason) when anything written was lost.
    [[nodiscard]] bool CloseOutputFile(std::string& error);
    bool FileIsOpen() const { return file_ != nullptr; }

    // Writes to the window or the file, whichever this result goes to.
    void Write(std::string_view text);
    // Colours the keyword of the concordance line just appended to the window:
    // `column` bytes from the start of that line, `length` bytes long.
    void HighlightKeyword(size_t length, size_t column);
    // Hands buffered window text to the target.
    void Flush();

private:
    int outputType_ = 0;
    bool toFile_ = false;
    CResultTarget* target_ = nullptr;
    std::FILE* redirect_ = nullptr;
    std::FILE* file_ = nullptr;
    std::vector<char> fileBuffer_;  // the output file's stream buffer, while it is open
    std::string filePath_;
    bool writeFailed_ = false;
    int writeErrno_ = 0;
    std::string pending_;
    std::vector<HighlightRange> pendingHighlights_;
};

}  // namespace plix
