// The engine's result target on the desktop: each result opens a new result
// window, as "&New" does, and the engine's text blocks are appended to it.
#pragma once

#include <QPointer>

#include <functional>

#include "engine/result_target.h"

namespace plix {

class CPlixDoc;
class CPlixView;

class CWindowResultTarget : public CResultTarget
{
public:
    // `newDocument` opens a new result window and makes it active, or gives null.
    explicit CWindowResultTarget(std::function<CPlixDoc*()> newDocument)
        : newDocument_(std::move(newDocument))
    {
    }

    bool BeginResult() override;
    void Append(std::string_view text, const std::vector<HighlightRange>& highlights) override;

    // The view the current result goes to (null once its window was closed).
    CPlixView* CurrentView() const;

private:
    std::function<CPlixDoc*()> newDocument_;
    QPointer<CPlixView> view_;
};

}  // namespace plix
