#include "app/window_result_target.h"

#include "app/plix_doc.h"
#include "app/plix_view.h"

namespace plix {

bool CWindowResultTarget::BeginResult()
{
    CPlixDoc* doc = newDocument_ ? newDocument_() : nullptr;
    view_ = doc != nullptr ? doc->FirstView() : nullptr;
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
    if (view_) {
        view_->AppendResult(text, highlights);
    }
}

}  // namespace plix
