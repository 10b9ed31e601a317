#include "app/child_frame.h"

#include "app/plix_doc.h"
#include "app/plix_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QTextDocument>

namespace plix {

QString ShownTitle(const QWidget* window)
{
    QString title = window->windowTitle();
    title.replace(QStringLiteral("[*]"),
                  window->isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

CChildFrame::CChildFrame(CPlixDoc* doc, QWidget* parent)
    : QMdiSubWindow(parent), view_(new CPlixView(doc, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view_);
    // Ctrl+F4 and Ctrl+W belong to the main frame, which closes the active
    // window with them. On the window's own menu as well, they would stand on
    // every window's menu at once, and a key that several actions claim runs
    // none of them. The menu keeps showing the key.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions()) {
            const QKeySequence key = action->shortcut();
            if (!key.isEmpty()) {
                action->setShortcuts({});
                action->setText(action->text() + u'\t' + key.toString(QKeySequence::NativeText));
            }
        }
    }
    UpdateTitle();
    // The title's mark says that the text has changes not saved.
    setWindowModified(doc->IsModified());
    connect(doc->TextDocument(), &QTextDocument::modificationChanged, this,
            &QWidget::setWindowModified);
    connect(doc, &CPlixDoc::titleChanged, this, &CChildFrame::UpdateTitle);
    connect(doc, &CPlixDoc::viewsChanged, this, &CChildFrame::UpdateTitle);
}

CChildFrame::~CChildFrame()
{
    // The view tells its document that it goes; this frame must no longer
    // hear about it by then.
    disconnect(view_->GetDocument(), nullptr, this, nullptr);
    disconnect(view_->GetDocument()->TextDocument(), nullptr, this, nullptr);
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
        setWindowTitle(
            QStringLiteral("%1:%2[*]").arg(doc->GetTitle()).arg(views.indexOf(view_) + 1));
    } else {
        setWindowTitle(doc->GetTitle() + QStringLiteral("[*]"));
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
