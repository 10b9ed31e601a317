#include "app/child_frame.h"

#include "app/plix_doc.h"
#include "app/plix_view.h"

namespace plix {

CChildFrame::CChildFrame(CPlixDoc* doc, QWidget* parent)
    : QMdiSubWindow(parent), view_(new CPlixView(doc, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view_);
    setWindowTitle(doc->GetTitle());
    connect(doc, &CPlixDoc::titleChanged, this, &QWidget::setWindowTitle);
}

CChildFrame::~CChildFrame() = default;

CPlixDoc* CChildFrame::GetDocument() const
{
    return view_->GetDocument();
}

}  // namespace plix
