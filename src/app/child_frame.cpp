#include "app/child_frame.h"

#include "app/plix_doc.h"
#include "app/plix_view.h"

#include <QCloseEvent>

namespace plix {

CChildFrame::CChildFrame(CPlixDoc* doc, QWidget* parent)
    : QMdiSubWindow(parent), view_(new CPlixView(doc, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view_);
    UpdateTitle();
    connect(doc, &CPlixDoc::titleChanged, this, &CChildFrame::UpdateTitle);
    connect(doc, &CPlixDoc::viewsChanged, this, &CChildFrame::UpdateTitle);
}

CChildFrame::~CChildFrame()
{
    // The view tells its document that it goes; this frame must no longer
    // hear about it by then.
    disconnect(view_->GetDocument(), nullptr, this, nullptr);
    delete view_;
}

CPlixDoc* CChildFrame::GetDocument() const
{
    return view_->GetDocument();
}

void CChildFrame::UpdateTitle()
{
    CPlixDoc* doc = GetDocument();
    const QList<CPlixView*> views = doc->Views();
    if (views.size() > 1) {
        setWindowTitle(QStringLiteral("%1:%2").arg(doc->GetTitle()).arg(views.indexOf(view_) + 1));
    } else {
        setWindowTitle(doc->GetTitle());
    }
}

void CChildFrame::CloseWithoutAsking()
{
    asked_ = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    CPlixDoc* doc = GetDocument();
    // Only the document's last window asks: the others are just views.
    if (!asked_ && closeGuard_ && doc->Views().size() == 1 && doc->IsModified() &&
        !closeGuard_(doc)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

}  // namespace plix
