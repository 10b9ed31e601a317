// CChildFrame: the window of one result view inside the main frame's
// multi-document area. Its title is the document's title, numbered ":1", ":2"
// while the document has more than one window.
#pragma once

#include <QMdiSubWindow>

#include <functional>

namespace plix {

class CPlixDoc;
class CPlixView;

// A window's title as its title bar shows it: the modified mark in place of
// the "[*]" of the title.
QString ShownTitle(const QWidget* window);

class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT

  public:
    // Makes a new view on `doc` inside this frame; the frame is deleted when closed.
    CChildFrame(CPlixDoc* doc, QWidget* parent);
    ~CChildFrame() override;

    CPlixView* GetView() const { return view_; }
    CPlixDoc* GetDocument() const;

    // Asked before the last window of a modified document closes; false keeps
    // it open (the user chose Cancel, or saving failed).
    using CloseGuard = std::function<bool(CPlixDoc* doc)>;
    void SetCloseGuard(CloseGuard guard) { closeGuard_ = std::move(guard); }
    // Closes without asking (the question has been answered for the document).
    void CloseWithoutAsking();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateTitle();

    CPlixView* view_;
    CloseGuard closeGuard_;
    bool asked_ = false;
};

}  // namespace plix
