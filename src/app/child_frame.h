// CChildFrame: the window of one result view inside the main frame's
// multi-document area. Its title is the document's title.
#pragma once

#include <QMdiSubWindow>

namespace plix {

class CPlixDoc;
class CPlixView;

class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    // Makes a new view on `doc` inside this frame; the frame is deleted when closed.
    CChildFrame(CPlixDoc* doc, QWidget* parent);
    ~CChildFrame() override;

    CPlixView* GetView() const { return view_; }
    CPlixDoc* GetDocument() const;

private:
    CPlixView* view_;
};

}  // namespace plix
