#include "cli/terminal.h"

#include <csignal>

namespace plix::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int)
{
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void InstallInterruptHandler()
{
    std::signal(SIGINT, OnInterrupt);
}

bool InterruptRequested()
{
    return interrupted != 0;
}

TerminalProgress::TerminalProgress(std::FILE* stream, bool visible)
    : stream_(stream), visible_(visible)
{
}

TerminalProgress::~TerminalProgress()
{
    if (visible_ && drawn_) {
        std::fputs("\r\033[K", stream_);
        std::fflush(stream_);
    }
}

void TerminalProgress::SetStatus(const std::string& text)
{
    status_ = text;
    percent_ = -1;
    SetPos(0);
}

void TerminalProgress::SetPos(int percent)
{
    if (!visible_ || percent == percent_) {
        return;
    }
    // Redraw a few times a second at most: this is called for every line.
    auto now = std::chrono::steady_clock::now();
    if (percent_ >= 0 && now - lastDraw_ < std::chrono::milliseconds(100) && percent < 100) {
        return;
    }
    percent_ = percent;
    lastDraw_ = now;
    Draw();
}

void TerminalProgress::Draw()
{
    constexpr int kWidth = 30;
    int filled = percent_ * kWidth / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kWidth - filled), '.');
    std::string name = status_;
    if (name.size() > 40) {
        name = "..." + name.substr(name.size() - 37);
    }
    std::fprintf(stream_, "\r\033[KSearching ... %s [%s] %3d%%", name.c_str(), bar.c_str(),
                 percent_);
    std::fflush(stream_);
    drawn_ = true;
}

std::unique_ptr<CProgress> TerminalProgressFactory::Make()
{
    return std::make_unique<TerminalProgress>(stream_, visible_);
}

void StreamTarget::Append(std::string_view text, const std::vector<HighlightRange>&)
{
    std::fwrite(text.data(), 1, text.size(), stream_);
}

}  // namespace plix::cli
