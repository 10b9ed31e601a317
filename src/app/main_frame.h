// CMainFrame: the main window — the multi-document area with the result
// windows, the two menu bars (without and with an active result window), the
// tool bar, the status bar with its message, line and lock panes, and the
// keyboard accelerators. It decides which commands are enabled.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QMetaObject>
#include <QPointer>

#include <map>
#include <vector>

#include "app/command_table.h"
#include "app/find_dlg.h"
#include "engine/result_sort.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace plix {

class CChildFrame;
class CLockIndicators;
class CPlixApp;
class CPlixDoc;
class CPlixView;

class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(CPlixApp& app);
    ~CMainFrame() override;

    // The action of a command, as it appears in the menus and on the tool bar.
    QAction* Action(Cmd id) const;
    // The shortcut-only actions of a command (its entries of the accelerator table).
    QList<QAction*> Accelerators(Cmd id) const;
    bool IsCommandEnabled(Cmd id) const;
    // Carries out a command as its menu entry would (nothing when it is disabled).
    void OnCommand(Cmd id);

    QMdiArea* MdiArea() const { return mdiArea_; }
    // A new window with a view on `doc`, made the active one.
    CChildFrame* CreateChildFrame(CPlixDoc* doc);
    CChildFrame* ActiveChild() const;
    CPlixView* ActiveView() const;
    // How many result windows have been made, and the last one (null once closed).
    int WindowsMade() const { return windowsMade_; }
    CChildFrame* LastWindowMade() const;
    // `window` (the active one when null) in front with the keyboard focus,
    // in the main window made the active window.
    void BringToFront(QMdiSubWindow* window);
    bool HasResultWindow() const { return ActiveChild() != nullptr; }

    // Re-evaluates command enabling, the menu bar shown, the title and the panes.
    void UpdateCommandUI();

    // What the view's window holds, for the sort commands.
    ResultClass ClassifyView(const CPlixView* view) const;
    // "&Close": the active document with all its windows, after asking to
    // save it when it was modified.
    bool CloseDocument(CPlixDoc* doc);
    // "Ta&g Jump" from the caret's line of `view`.
    void TagJump(CPlixView* view);
    // The find and replace dialogs (null until first shown) and the last search.
    CFindReplaceDlg* FindDialog() const { return findDlg_; }
    CFindReplaceDlg* ReplaceDialog() const { return replaceDlg_; }
    const FindOptions& LastFind() const { return findOptions_; }

    QToolBar* ToolBar() const { return toolBar_; }
    QLabel* MessagePane() const { return messagePane_; }
    QLabel* LinePane() const { return linePane_; }
    CLockIndicators* LockIndicators() const { return lockIndicators_; }
    // The top-level menus in menu-bar order (some are hidden without a result window).
    QList<QMenu*> Menus() const { return menus_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QMenu* AddMenu(const QString& title);
    void AddEntries(QMenu* menu, std::initializer_list<Cmd> ids);
    void ShowResultMenus(bool show);
    void UpdateLinePane();
    void UpdateTitle();
    void UpdateRecentFileMenu();
    void UpdateWindowMenu();
    void FillContextMenu(QMenu& menu);
    void ConnectActiveView(CPlixView* view);
    void ArrangeIcons();
    void OnJump(CPlixView* view);
    void OnNewWindow(CPlixView* view);
    void ShowFindDialog(bool replace);
    void FindNext();
    void OnFindDialog(CFindReplaceDlg* dialog, int action);
    void ReportNotFound();

    CPlixApp& app_;
    QMdiArea* mdiArea_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* linePane_ = nullptr;
    CLockIndicators* lockIndicators_ = nullptr;
    std::map<Cmd, QAction*> actions_;
    std::multimap<Cmd, QAction*> accelerators_;
    QList<QKeySequence> reservedKeys_;
    QList<QMenu*> menus_;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* sortMenu_ = nullptr;
    QMenu* quickMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    QAction* viewExtrasSeparator_ = nullptr;
    QList<QAction*> windowListActions_;
    QPointer<CPlixView> connectedView_;
    QPointer<CChildFrame> lastMade_;
    int windowsMade_ = 0;
    std::vector<QMetaObject::Connection> viewConnections_;
    bool resultMenusShown_ = true;
    QPointer<CFindReplaceDlg> findDlg_;
    QPointer<CFindReplaceDlg> replaceDlg_;
    FindOptions findOptions_;
};

}  // namespace plix
