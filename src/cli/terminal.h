// plix-cli's progress display (a bar with the file name on standard error),
// its Ctrl-C cancel, and the --window result target on standard output.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "engine/progress.h"
#include "engine/result_target.h"

namespace plix::cli {

// Installs the Ctrl-C handler: the first Ctrl-C asks the run to stop, like
// "CANCEL"; a second one ends the program at once.
void InstallInterruptHandler();
bool InterruptRequested();

class TerminalProgress : public CProgress
{
public:
    TerminalProgress(std::FILE* stream, bool visible);
    ~TerminalProgress() override;
    void SetStatus(const std::string& text) override;
    void SetPos(int percent) override;
    bool IsCancelled() override { return InterruptRequested(); }

private:
    void Draw();
    std::FILE* stream_;
    bool visible_;
    bool drawn_ = false;
    std::string status_;
    int percent_ = -1;
    std::chrono::steady_clock::time_point lastDraw_{};
};

class TerminalProgressFactory : public CProgressFactory
{
public:
    TerminalProgressFactory(std::FILE* stream, bool visible) : stream_(stream), visible_(visible) {}
    std::unique_ptr<CProgress> Make() override;

private:
    std::FILE* stream_;
    bool visible_;
};

// The window form of a result, printed as it comes.
class StreamTarget : public CResultTarget
{
public:
    explicit StreamTarget(std::FILE* stream) : stream_(stream) {}
    bool BeginResult() override { return true; }
    void Append(std::string_view text, const std::vector<HighlightRange>& highlights) override;

private:
    std::FILE* stream_;
};

}  // namespace plix::cli
