// The engine's result target on the desktop: each result opens a new result
// window, as "&New" does, and the engine's text blocks are appended to it.
//
// A text view holds every line of its text in memory and lays it out; past a
// few million lines it stops being usable long before the run ends (and a
// window's positions are ints, so it cannot hold more than 2^31 characters
// at all). A result that would grow past the window's limit is therefore
// stopped at the limit, and the program asks what to do with it.
#pragma once

#include <QPointer>

#include <cstddef>
#include <functional>

#include "engine/result_target.h"

namespace plix {

class CPlixDoc;
class CPlixView;

class CWindowResultTarget : public CResultTarget
{
public:
    // What becomes of a result that outgrew its window.
    enum class OverflowChoice
    {
        KeepWindow,    // the window keeps what it holds; the run stops there
        AppendToFile,  // the window is dropped; the result goes to the output file
    };
    // Asked once per result, when its next block would pass the limit. The
    // answer's side of the run (stopping it, running it again) is the asker's.
    using OverflowAsker = std::function<OverflowChoice(size_t linesHeld)>;

    // Lines and characters a result window takes before the question comes.
    // Measured with a concordance (append_bench): a million lines append in
    // about 12 s with the progress dialog alive, scroll at once, and take
    // 4 s for a find through all of the text and 2 s to save, in about
    // 0.5 GB; five million take a minute to append, 15 s to find, and 3 GB.
    static constexpr size_t kDefaultLineLimit = 1'000'000;
    static constexpr size_t kDefaultCharLimit = 200'000'000;

    // `newDocument` opens a new result window and makes it active, or gives null.
    explicit CWindowResultTarget(std::function<CPlixDoc*()> newDocument)
        : newDocument_(std::move(newDocument))
    {
    }

    bool BeginResult() override;
    void Append(std::string_view text, const std::vector<HighlightRange>& highlights) override;

    // The view the current result goes to (null once its window was closed).
    CPlixView* CurrentView() const;

    void SetLimits(size_t lines, size_t chars)
    {
        lineLimit_ = lines;
        charLimit_ = chars;
    }
    size_t LineLimit() const { return lineLimit_; }
    void SetOverflowAsker(OverflowAsker asker) { overflowAsker_ = std::move(asker); }
    // Whether the current result outgrew its window, and what was chosen.
    bool Overflowed() const { return overflowed_; }
    OverflowChoice Choice() const { return choice_; }

private:
    std::function<CPlixDoc*()> newDocument_;
    QPointer<CPlixView> view_;
    OverflowAsker overflowAsker_;
    size_t lineLimit_ = kDefaultLineLimit;
    size_t charLimit_ = kDefaultCharLimit;
    size_t linesHeld_ = 0;
    size_t charsHeld_ = 0;
    bool overflowed_ = false;
    OverflowChoice choice_ = OverflowChoice::KeepWindow;
};

}  // namespace plix
