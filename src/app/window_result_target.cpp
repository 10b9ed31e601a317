#include "app/window_result_target.h"

#include "app/plix_doc.h"
#include "app/plix_view.h"

#include <algorithm>

namespace plix {

bool CWindowResultTarget::BeginResult()
{
    CPlixDoc* doc = newDocument_ ? newDocument_() : nullptr;
    view_ = doc != nullptr ? doc->FirstView() : nullptr;
    linesHeld_ = 0;
    charsHeld_ = 0;
    overflowed_ = false;
    choice_ = OverflowChoice::KeepWindow;
    return view_ != nullptr;
}

CPlixView* CWindowResultTarget::CurrentView() const
{
    return view_;
}

void CWindowResultTarget::Append(std::string_view text, const std::vector<HighlightRange>& highlights)
{
    // The window may have been closed while the run went on: the rest of that
    // result has nowhere to go.
    if (!view_) {
        return;
    }
    if (overflowed_) {
        // After "keep": the run stops at its next question and only its note
        // that the result was cut short (and the totals) follow; they belong
        // in the window. After "to the file": nothing more goes to a window
        // that is about to go.
        if (choice_ == OverflowChoice::KeepWindow) {
            view_->AppendResult(text, highlights);
        }
        return;
    }
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (linesHeld_ + lines > lineLimit_ || charsHeld_ + text.size() > charLimit_) {
        overflowed_ = true;
        choice_ = overflowAsker_ ? overflowAsker_(linesHeld_) : OverflowChoice::KeepWindow;
        if (choice_ == OverflowChoice::AppendToFile) {
            return;
        }
        // The block the engine has already counted as written goes in, so that
        // the note it writes next says truly how much the window holds.
    }
    linesHeld_ += lines;
    charsHeld_ += text.size();
    view_->AppendResult(text, highlights);
}

}  // namespace plix
