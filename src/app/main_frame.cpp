#include "app/main_frame.h"

#include "app/child_frame.h"
#include "app/icons.h"
#include "app/jump_dlg.h"
#include "app/lock_indicators.h"
#include "app/plix_app.h"
#include "app/plix_doc.h"
#include "app/plix_view.h"
#include "app/result_sorter.h"
#include "settings/codec.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>

#include <algorithm>
#include <climits>
#include <optional>

namespace plix {

namespace {

// The analysis command behind each menu command that runs the engine.
std::optional<AnalysisCommand> AnalysisFor(Cmd id)
{
    switch (id) {
        case Cmd::Wordlist:
            return AnalysisCommand::Wordlist;
        case Cmd::BackwardList:
            return AnalysisCommand::BackwardList;
        case Cmd::DescendingWordlist:
            return AnalysisCommand::DescendingWordlist;
        case Cmd::AscendingWordlist:
            return AnalysisCommand::AscendingWordlist;
        case Cmd::Index:
            return AnalysisCommand::Index;
        case Cmd::RhymeIndex:
            return AnalysisCommand::RhymeIndex;
        case Cmd::Concordance:
            return AnalysisCommand::Concordance;
        case Cmd::ConcordanceLeft:
            return AnalysisCommand::ConcordanceLeft;
        case Cmd::ConcordanceRight:
            return AnalysisCommand::ConcordanceRight;
        case Cmd::Collocation:
            return AnalysisCommand::Collocation;
        case Cmd::ConcordanceAll:
            return AnalysisCommand::ConcordanceAll;
        default:
            return std::nullopt;
    }
}

// The edit keys the text view handles itself, with the same effect as the
// command; every other accelerator key belongs to the frame.
bool ViewHandlesKeysOf(Cmd id)
{
    return id == Cmd::Undo || id == Cmd::Cut || id == Cmd::Copy || id == Cmd::Paste ||
           id == Cmd::SelectAll;
}

QString MenuTitleText(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<SortCommand> SortFor(Cmd id)
{
    switch (id) {
        case Cmd::SortAlphabet:
            return SortCommand::Alphabet;
        case Cmd::SortFrequency:
            return SortCommand::Frequency;
        case Cmd::SortKeyword:
            return SortCommand::Keyword;
        case Cmd::SortLeft:
            return SortCommand::Left;
        case Cmd::SortRight:
            return SortCommand::Right;
        default:
            return std::nullopt;
    }
}

enum FindAction { kFindNext, kReplaceOne, kReplaceAll };

}  // namespace

CMainFrame::CMainFrame(CPlixApp& app) : QMainWindow(nullptr), app_(app)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("PLIX Concordance"));
    setWindowIcon(ProgramIcon());
    setAcceptDrops(true);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) { UpdateCommandUI(); });

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    connect(&app_, &CPlixApp::settingsChanged, this, &CMainFrame::UpdateCommandUI);
    connect(&app_, &CPlixApp::recentFilesChanged, this, &CMainFrame::UpdateRecentFileMenu);
    UpdateRecentFileMenu();
    resize(1000, 720);
    UpdateCommandUI();
}

CMainFrame::~CMainFrame()
{
    for (const QMetaObject::Connection& connection : viewConnections_) {
        disconnect(connection);
    }
    // The windows go first: their views let go of the documents' texts.
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    for (QMdiSubWindow* window : windows) {
        delete window;
    }
}

// ---- actions, menus, tool bar, status bar -------------------------------------

void CMainFrame::CreateActions()
{
    QList<QKeySequence> reserved;
    for (const CommandInfo& info : CommandTable()) {
        auto* action = new QAction(MenuText(info, false), this);
        action->setObjectName(QStringLiteral("command%1").arg(static_cast<int>(info.id)));
        action->setStatusTip(PromptText(info));
        action->setToolTip(ButtonToolTip(info));
        action->setWhatsThis(PromptText(info));
        action->setIcon(CommandIcon(info.id));
        action->setIconVisibleInMenu(false);
        const Cmd id = info.id;
        connect(action, &QAction::triggered, this, [this, id]() { OnCommand(id); });
        actions_[info.id] = action;

        // The accelerator table is kept apart from the menu entries, as the
        // menus show some shortcuts in one menu bar and not in the other.
        const QList<QKeySequence> keys = Shortcuts(info);
        for (const QKeySequence& key : keys) {
            auto* accelerator = new QAction(this);
            accelerator->setObjectName(QStringLiteral("accelerator%1").arg(static_cast<int>(info.id)));
            accelerator->setShortcut(key);
            accelerator->setShortcutContext(Qt::WindowShortcut);
            connect(accelerator, &QAction::triggered, this, [this, id]() { OnCommand(id); });
            addAction(accelerator);
            accelerators_.emplace(info.id, accelerator);
            if (!ViewHandlesKeysOf(info.id)) {
                reserved.append(key);
            }
        }
    }
    Action(Cmd::Toolbar)->setCheckable(true);
    Action(Cmd::StatusBar)->setCheckable(true);
    Action(Cmd::WordWrap)->setCheckable(true);
    reservedKeys_ = reserved;
}

QMenu* CMainFrame::AddMenu(const QString& title)
{
    QMenu* menu = menuBar()->addMenu(title);
    // Enabling is brought up to date whenever a menu opens.
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    menus_.append(menu);
    return menu;
}

void CMainFrame::AddEntries(QMenu* menu, std::initializer_list<Cmd> ids)
{
    for (Cmd id : ids) {
        menu->addAction(Action(id));
    }
}

void CMainFrame::CreateMenus()
{
    fileMenu_ = AddMenu(QStringLiteral("&File"));
    AddEntries(fileMenu_, {Cmd::CorpusSetup, Cmd::New, Cmd::Open, Cmd::Close, Cmd::Save, Cmd::SaveAs,
                           Cmd::CorpusOptions});
    fileMenu_->addSeparator();
    AddEntries(fileMenu_, {Cmd::Print, Cmd::PrintPreview, Cmd::PrintSetup});
    recentSeparator_ = fileMenu_->addSeparator();
    for (int i = 0; i < CPlixApp::kRecentFileCount; ++i) {
        auto* recent = new QAction(this);
        recent->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        recent->setStatusTip(QStringLiteral("Open this document"));
        connect(recent, &QAction::triggered, this, [this, recent]() {
            QString path = recent->data().toString();
            if (!path.isEmpty()) {
                app_.OpenDocument(path);
            }
        });
        fileMenu_->addAction(recent);
        recentActions_.append(recent);
    }
    fileMenu_->addSeparator();
    AddEntries(fileMenu_, {Cmd::Exit});

    editMenu_ = AddMenu(QStringLiteral("&Edit"));
    AddEntries(editMenu_, {Cmd::Undo});
    editMenu_->addSeparator();
    AddEntries(editMenu_, {Cmd::Cut, Cmd::Copy, Cmd::Paste, Cmd::PasteSpecial});
    editMenu_->addSeparator();
    AddEntries(editMenu_, {Cmd::SelectAll});
    editMenu_->addSeparator();
    AddEntries(editMenu_, {Cmd::Find, Cmd::FindNext, Cmd::Replace});
    editMenu_->addSeparator();
    AddEntries(editMenu_, {Cmd::InsertObject, Cmd::Links, Cmd::ObjectProperties});

    viewMenu_ = AddMenu(QStringLiteral("&View"));
    AddEntries(viewMenu_, {Cmd::Toolbar, Cmd::StatusBar});
    viewExtrasSeparator_ = viewMenu_->addSeparator();
    AddEntries(viewMenu_, {Cmd::Font, Cmd::Jump, Cmd::TagJump, Cmd::WordWrap});

    QMenu* wordlist = AddMenu(QStringLiteral("Word&list"));
    AddEntries(wordlist, {Cmd::Wordlist, Cmd::BackwardList, Cmd::DescendingWordlist,
                          Cmd::AscendingWordlist, Cmd::Index, Cmd::RhymeIndex});
    wordlist->addSeparator();
    AddEntries(wordlist, {Cmd::ListOption});

    QMenu* concordance = AddMenu(QStringLiteral("&Concordance"));
    AddEntries(concordance, {Cmd::Concordance, Cmd::ConcordanceLeft, Cmd::ConcordanceRight,
                             Cmd::Collocation, Cmd::ConcordanceAll});
    concordance->addSeparator();
    AddEntries(concordance, {Cmd::ConcordanceFormat});

    sortMenu_ = AddMenu(QStringLiteral("&Sort"));
    QMenu* sortList = sortMenu_->addMenu(QStringLiteral("&List"));
    AddEntries(sortList, {Cmd::SortAlphabet, Cmd::SortFrequency});
    QMenu* sortConcordance = sortMenu_->addMenu(QStringLiteral("&Concordance"));
    AddEntries(sortConcordance, {Cmd::SortKeyword, Cmd::SortLeft, Cmd::SortRight});

    quickMenu_ = AddMenu(QStringLiteral("&Quick"));
    AddEntries(quickMenu_, {Cmd::QuickWordlist, Cmd::QuickPlix});

    windowMenu_ = AddMenu(QStringLiteral("&Window"));
    AddEntries(windowMenu_, {Cmd::NewWindow, Cmd::Cascade, Cmd::Tile, Cmd::ArrangeIcons});
    connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::UpdateWindowMenu);

    QMenu* help = AddMenu(QStringLiteral("&Help"));
    AddEntries(help, {Cmd::HelpTopics});
    help->addSeparator();
    AddEntries(help, {Cmd::About});
}

void CMainFrame::CreateToolBar()
{
    toolBar_ = addToolBar(QStringLiteral("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(false);
    const std::initializer_list<std::initializer_list<Cmd>> groups = {
        {Cmd::CorpusSetup, Cmd::New, Cmd::Open, Cmd::Save, Cmd::CorpusOptions},
        {Cmd::Cut, Cmd::Copy, Cmd::Paste},
        {Cmd::Print},
        {Cmd::Undo},
        {Cmd::Find},
        {Cmd::Font},
        {Cmd::Wordlist, Cmd::DescendingWordlist, Cmd::Index},
        {Cmd::Concordance, Cmd::Collocation, Cmd::ConcordanceFormat},
        {Cmd::About, Cmd::ContextHelp},
    };
    bool first = true;
    for (const auto& group : groups) {
        if (!first) {
            toolBar_->addSeparator();
        }
        first = false;
        for (Cmd id : group) {
            toolBar_->addAction(Action(id));
        }
    }
    Action(Cmd::Toolbar)->setChecked(true);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    // The message pane: prompts of the command under the pointer, else "Ready".
    messagePane_ = new QLabel(QStringLiteral("Ready"), bar);
    messagePane_->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(messagePane_, 1);
    linePane_ = new QLabel(bar);
    linePane_->setObjectName(QStringLiteral("linePane"));
    linePane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    linePane_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    linePane_->setMinimumWidth(linePane_->fontMetrics().horizontalAdvance(QStringLiteral(" 0000000")) + 8);
    bar->addPermanentWidget(linePane_);
    lockIndicators_ = new CLockIndicators(bar);
    Action(Cmd::StatusBar)->setChecked(true);
}

// ---- result windows -------------------------------------------------------------

CChildFrame* CMainFrame::CreateChildFrame(CPlixDoc* doc)
{
    // A further window on a document shows it as the others do: the wrapping
    // and the font belong to the document's text, which all its views share.
    CPlixView* earlierView = doc->FirstView();
    auto* frame = new CChildFrame(doc, mdiArea_);
    CPlixView* view = frame->GetView();
    if (earlierView != nullptr) {
        view->setFont(earlierView->font());
        view->SetWordWrap(earlierView->GetWordWrap());
    }
    frame->SetCloseGuard([this](CPlixDoc* closing) { return app_.SaveModified(closing); });
    view->SetContextMenuFiller([this](QMenu& menu) { FillContextMenu(menu); });
    view->SetReservedKeys(reservedKeys_);
    const int earlier = static_cast<int>(mdiArea_->subWindowList().size());
    mdiArea_->addSubWindow(frame);
    // A result window takes most of the area, cascaded below and to the right
    // of the earlier ones so that their title bars stay reachable. Before the
    // main frame is first shown its area is not laid out yet: go by the
    // frame's own size then.
    const QSize area = mdiArea_->isVisible() ? mdiArea_->viewport()->size() : size() - QSize(0, 100);
    if (area.width() > 200 && area.height() > 150) {
        const QSize windowSize(area.width() * 3 / 4, area.height() * 3 / 4);
        const int step = std::max(20, frame->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4);
        const int positions = std::max(1, (area.height() - windowSize.height()) / step + 1);
        const int offset = (earlier % positions) * step;
        frame->resize(windowSize);
        frame->move(offset, offset);
    }
    frame->show();
    ++windowsMade_;
    lastMade_ = frame;
    BringToFront(frame);
    connect(frame, &QObject::destroyed, this, [this]() {
        // Deferred: the area forgets the window only after it is gone.
        QTimer::singleShot(0, this, &CMainFrame::UpdateCommandUI);
    });
    UpdateCommandUI();
    return frame;
}

CChildFrame* CMainFrame::LastWindowMade() const
{
    return lastMade_;
}

void CMainFrame::BringToFront(QMdiSubWindow* window)
{
    if (window == nullptr) {
        window = mdiArea_->currentSubWindow();
    }
    if (window != nullptr) {
        mdiArea_->setActiveSubWindow(window);
        window->raise();
        // Set even while the main window is not the active one (the progress
        // dialog is): when it becomes active again, by the call below or by a
        // window manager, the focus goes back to this widget, and with it the
        // area's activation. Otherwise it would go to the first window of the
        // area, which would come back to the front.
        if (QWidget* widget = window->widget()) {
            widget->setFocus(Qt::OtherFocusReason);
        }
    }
    if (isVisible() && isEnabled()) {
        raise();
        activateWindow();
    }
}

CChildFrame* CMainFrame::ActiveChild() const
{
    // The current window stays current while the main frame is not the
    // active window (the progress dialog, a message box).
    return qobject_cast<CChildFrame*>(mdiArea_->currentSubWindow());
}

CPlixView* CMainFrame::ActiveView() const
{
    CChildFrame* child = ActiveChild();
    return child != nullptr ? child->GetView() : nullptr;
}

void CMainFrame::ConnectActiveView(CPlixView* view)
{
    if (connectedView_ == view) {
        return;
    }
    for (const QMetaObject::Connection& connection : viewConnections_) {
        disconnect(connection);
    }
    viewConnections_.clear();
    connectedView_ = view;
    if (view == nullptr) {
        return;
    }
    viewConnections_.push_back(
        connect(view, &CPlixView::caretLineChanged, this, &CMainFrame::UpdateLinePane));
    viewConnections_.push_back(connect(view, &QPlainTextEdit::copyAvailable, this, &CMainFrame::UpdateCommandUI));
    viewConnections_.push_back(connect(view, &QPlainTextEdit::undoAvailable, this, &CMainFrame::UpdateCommandUI));
    viewConnections_.push_back(connect(view->document(), &QTextDocument::modificationChanged, this,
                                       &CMainFrame::UpdateTitle));
}

// ---- enabling ---------------------------------------------------------------------

bool CMainFrame::IsCommandEnabled(Cmd id) const
{
    if (app_.IsRunning()) {
        return false;
    }
    const CommandInfo& info = CommandInfoFor(id);
    CPlixView* view = ActiveView();
    switch (info.enabling) {
        case Enabling::Always:
            return true;
        case Enabling::NeedsCorpus:
            return app_.Corpus().GetFileCount() > 0;
        case Enabling::Never:
            return false;
        case Enabling::NeedsWindow:
            break;
    }
    if (view == nullptr) {
        return false;
    }
    switch (id) {
        case Cmd::Undo:
            return view->document()->isUndoAvailable();
        case Cmd::Cut:
            return view->textCursor().hasSelection() && !view->isReadOnly();
        case Cmd::Copy:
            return view->textCursor().hasSelection();
        case Cmd::Paste:
        case Cmd::PasteSpecial:
        case Cmd::Replace:
            return !view->isReadOnly();
        case Cmd::SortAlphabet:
        case Cmd::SortFrequency:
            return ClassifyView(view).kind == ResultKind::WordList;
        case Cmd::SortKeyword:
        case Cmd::SortLeft:
        case Cmd::SortRight:
            return ClassifyView(view).kind == ResultKind::Concordance;
        default:
            return true;
    }
}

ResultClass CMainFrame::ClassifyView(const CPlixView* view) const
{
    if (view == nullptr) {
        return {};
    }
    return ClassifyResult(view->GetDocument()->LineBytes(0, static_cast<int>(kClassifyLineCount)),
                          app_.Corpus());
}

void CMainFrame::UpdateCommandUI()
{
    CPlixView* view = ActiveView();
    ConnectActiveView(view);
    ShowResultMenus(view != nullptr);
    for (const auto& [id, action] : actions_) {
        action->setEnabled(IsCommandEnabled(id));
    }
    for (const auto& [id, accelerator] : accelerators_) {
        accelerator->setEnabled(IsCommandEnabled(id));
    }
    Action(Cmd::WordWrap)->setChecked(view != nullptr && view->GetWordWrap() != 0);
    Action(Cmd::Toolbar)->setChecked(!toolBar_->isHidden());
    Action(Cmd::StatusBar)->setChecked(!statusBar()->isHidden());
    UpdateTitle();
    UpdateLinePane();
}

void CMainFrame::UpdateTitle()
{
    // The active document, named once. A maximised window's area adds
    // " - [name]" to the title by itself.
    CChildFrame* child = ActiveChild();
    if (child == nullptr || child->isMaximized()) {
        setWindowTitle(QStringLiteral("PLIX Concordance"));
    } else {
        setWindowTitle(
            QStringLiteral("PLIX Concordance - %1[*]").arg(child->GetDocument()->GetTitle()));
    }
    setWindowModified(child != nullptr && child->isWindowModified());
}

void CMainFrame::ShowResultMenus(bool show)
{
    if (show == resultMenusShown_) {
        return;
    }
    resultMenusShown_ = show;
    for (QMenu* menu : {editMenu_, sortMenu_, quickMenu_, windowMenu_}) {
        menu->menuAction()->setVisible(show);
    }
    for (Cmd id : {Cmd::Close, Cmd::Save, Cmd::SaveAs, Cmd::Print, Cmd::PrintPreview, Cmd::Font,
                   Cmd::Jump, Cmd::TagJump, Cmd::WordWrap}) {
        Action(id)->setVisible(show);
    }
    viewExtrasSeparator_->setVisible(show);
    for (const CommandInfo& info : CommandTable()) {
        if (info.viewText != nullptr) {
            Action(info.id)->setText(MenuText(info, show));
        }
    }
}

void CMainFrame::UpdateLinePane()
{
    CPlixView* view = ActiveView();
    linePane_->setText(view != nullptr ? QString::asprintf(" %d", view->CaretLine()) : QString());
}

void CMainFrame::UpdateRecentFileMenu()
{
    const QStringList files = app_.RecentFiles();
    for (int i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        if (i < files.size()) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(MenuTitleText(files[i])));
            action->setData(files[i]);
            action->setVisible(true);
            action->setEnabled(true);
        } else if (i == 0) {
            // An empty list shows one greyed placeholder.
            action->setText(QStringLiteral("Recent File"));
            action->setData(QString());
            action->setVisible(true);
            action->setEnabled(false);
        } else {
            action->setVisible(false);
        }
    }
}

void CMainFrame::UpdateWindowMenu()
{
    for (QAction* action : windowListActions_) {
        windowMenu_->removeAction(action);
        action->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    windowListActions_.append(windowMenu_->addSeparator());
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        ++number;
        const QString title = ShownTitle(window);
        QString text = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title) : title;
        QAction* action = windowMenu_->addAction(text);
        action->setCheckable(true);
        action->setChecked(window == mdiArea_->currentSubWindow());
        QPointer<QMdiSubWindow> target = window;
        connect(action, &QAction::triggered, this, [this, target]() {
            if (target) {
                mdiArea_->setActiveSubWindow(target);
            }
        });
        windowListActions_.append(action);
    }
}

void CMainFrame::FillContextMenu(QMenu& menu)
{
    UpdateCommandUI();
    // The context menu shows the entries without their shortcut labels.
    auto add = [this](QMenu& target, Cmd id, const QString& text) {
        QAction* source = Action(id);
        QAction* entry = target.addAction(text);
        entry->setEnabled(source->isEnabled());
        entry->setStatusTip(source->statusTip());
        connect(entry, &QAction::triggered, source, &QAction::trigger);
    };
    add(menu, Cmd::Cut, QStringLiteral("Cu&t"));
    add(menu, Cmd::Copy, QStringLiteral("&Copy"));
    add(menu, Cmd::Paste, QStringLiteral("&Paste"));
    menu.addSeparator();
    add(menu, Cmd::Font, QStringLiteral("&Font..."));
    add(menu, Cmd::Jump, QStringLiteral("&Jump"));
    add(menu, Cmd::TagJump, QStringLiteral("Ta&g Jump"));
    QMenu* sort = menu.addMenu(QStringLiteral("&Sort"));
    QMenu* list = sort->addMenu(QStringLiteral("&List"));
    add(*list, Cmd::SortAlphabet, QStringLiteral("&Alphabet"));
    add(*list, Cmd::SortFrequency, QStringLiteral("&Frequency"));
    QMenu* concordance = sort->addMenu(QStringLiteral("&Concordance"));
    add(*concordance, Cmd::SortKeyword, QStringLiteral("&Keyword"));
    add(*concordance, Cmd::SortLeft, QStringLiteral("Sort by &Left"));
    add(*concordance, Cmd::SortRight, QStringLiteral("Sort by &Right"));
    menu.addSeparator();
    add(menu, Cmd::ObjectProperties, QStringLiteral("Object P&roperties"));
}

// ---- commands ---------------------------------------------------------------------

QAction* CMainFrame::Action(Cmd id) const
{
    auto it = actions_.find(id);
    return it != actions_.end() ? it->second : nullptr;
}

QList<QAction*> CMainFrame::Accelerators(Cmd id) const
{
    QList<QAction*> list;
    auto [first, last] = accelerators_.equal_range(id);
    for (auto it = first; it != last; ++it) {
        list.append(it->second);
    }
    return list;
}

void CMainFrame::OnCommand(Cmd id)
{
    // Enabling may be stale (a shortcut pressed before the menus were
    // refreshed): the rules decide, not the last state shown.
    if (!IsCommandEnabled(id)) {
        return;
    }
    if (std::optional<AnalysisCommand> analysis = AnalysisFor(id)) {
        app_.RunAnalysis(*analysis);
        return;
    }
    CPlixView* view = ActiveView();
    if (std::optional<SortCommand> sort = SortFor(id)) {
        app_.SortResult(view, *sort);
        UpdateCommandUI();
        return;
    }
    switch (id) {
        case Cmd::CorpusSetup:
            app_.OnCorpusSetup();
            break;
        case Cmd::CorpusOptions:
            app_.OnCorpusOptions();
            break;
        case Cmd::ConcordanceFormat:
            app_.OnConcordanceFormat();
            break;
        case Cmd::ListOption:
            app_.OnListOption();
            break;
        case Cmd::New:
            app_.NewDocument();
            break;
        case Cmd::Open:
            app_.OnFileOpen();
            break;
        case Cmd::PrintSetup:
            app_.OnPrintSetup();
            break;
        case Cmd::Exit:
            close();
            break;
        case Cmd::Close:
            if (view != nullptr) {
                CloseDocument(view->GetDocument());
            }
            break;
        case Cmd::CloseWindow:
            // The window only: the document goes with its last window, after
            // the question whether to save it.
            if (QMdiSubWindow* window = mdiArea_->currentSubWindow()) {
                window->close();
            }
            break;
        case Cmd::Save:
            app_.SaveDocument(view->GetDocument());
            break;
        case Cmd::SaveAs:
            app_.SaveDocumentAs(view->GetDocument());
            break;
        case Cmd::Print:
            app_.OnPrint(view);
            break;
        case Cmd::PrintPreview:
            app_.OnPrintPreview(view);
            break;
        case Cmd::Find:
            ShowFindDialog(false);
            break;
        case Cmd::Replace:
            ShowFindDialog(true);
            break;
        case Cmd::FindNext:
            FindNext();
            break;
        case Cmd::Jump:
            OnJump(view);
            break;
        case Cmd::TagJump:
            TagJump(view);
            break;
        case Cmd::QuickWordlist:
            app_.RunQuick(QuickCommand::Wordlist, view);
            break;
        case Cmd::QuickPlix:
            app_.RunQuick(QuickCommand::Plix, view);
            break;
        case Cmd::NewWindow:
            OnNewWindow(view);
            break;
        case Cmd::Undo:
            view->undo();
            break;
        case Cmd::Cut:
            view->cut();
            break;
        case Cmd::Copy:
            view->copy();
            break;
        case Cmd::Paste:
        case Cmd::PasteSpecial:
            // The text view only ever takes plain text: pasting it "special"
            // is the same.
            view->paste();
            break;
        case Cmd::SelectAll:
            view->selectAll();
            break;
        case Cmd::Toolbar:
            toolBar_->setHidden(!toolBar_->isHidden());
            break;
        case Cmd::StatusBar:
            statusBar()->setHidden(!statusBar()->isHidden());
            break;
        case Cmd::Font: {
            bool ok = false;
            QFont font = QFontDialog::getFont(&ok, view->font(), this, QStringLiteral("Font"));
            if (ok) {
                view->setFont(font);
            }
            break;
        }
        case Cmd::WordWrap: {
            // The text's layout is shared by the document's windows: they
            // wrap together.
            const int wrap = view->GetWordWrap() ? 0 : 1;
            for (CPlixView* shown : view->GetDocument()->Views()) {
                shown->SetWordWrap(wrap);
            }
            break;
        }
        case Cmd::Cascade:
            mdiArea_->cascadeSubWindows();
            break;
        case Cmd::Tile:
            mdiArea_->tileSubWindows();
            break;
        case Cmd::ArrangeIcons:
            ArrangeIcons();
            break;
        case Cmd::NextPane:
            mdiArea_->activateNextSubWindow();
            break;
        case Cmd::PreviousPane:
            mdiArea_->activatePreviousSubWindow();
            break;
        case Cmd::HelpTopics:
            app_.OnHelpTopics();
            break;
        case Cmd::About:
            app_.OnAbout();
            break;
        case Cmd::ContextHelp:
            QWhatsThis::enterWhatsThisMode();
            break;
        default:
            break;
    }
    UpdateCommandUI();
}

bool CMainFrame::CloseDocument(CPlixDoc* doc)
{
    if (doc == nullptr || !app_.SaveModified(doc)) {
        return false;
    }
    for (CPlixView* view : doc->Views()) {
        if (auto* frame = qobject_cast<CChildFrame*>(view->parentWidget())) {
            frame->CloseWithoutAsking();
        }
    }
    return true;
}

void CMainFrame::OnJump(CPlixView* view)
{
    CJumpDlg dialog(view->CaretLine(), this);
    if (dialog.exec() == QDialog::Accepted) {
        view->GoToLine(dialog.Line());
        view->setFocus();
    }
}

void CMainFrame::TagJump(CPlixView* view)
{
    if (view == nullptr) {
        return;
    }
    const QString line = view->CaretLineText();
    const std::string bytes = EncodeLocaleText(
        std::u16string_view(reinterpret_cast<const char16_t*>(line.utf16()), static_cast<size_t>(line.size())));
    std::optional<TagJumpTarget> target = ParseTagJump(bytes);
    if (!target) {
        return;
    }
    // The name as the engine wrote it: bytes of a file name.
    const QString path =
        QFile::decodeName(QByteArray(target->fileName.data(), static_cast<qsizetype>(target->fileName.size())));
    CPlixDoc* doc = app_.OpenDocument(path);
    if (doc == nullptr || doc->FirstView() == nullptr) {
        return;
    }
    CPlixView* shown = doc->FirstView();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(shown->parentWidget())) {
        mdiArea_->setActiveSubWindow(frame);
    }
    shown->GoToLine(static_cast<int>(std::clamp<int64_t>(target->line, 1, INT_MAX)));
    shown->setFocus();
}

void CMainFrame::OnNewWindow(CPlixView* view)
{
    CChildFrame* frame = CreateChildFrame(view->GetDocument());
    frame->GetView()->setTextCursor(view->textCursor());
}

void CMainFrame::ShowFindDialog(bool replace)
{
    QPointer<CFindReplaceDlg>& dialog = replace ? replaceDlg_ : findDlg_;
    // One dialog at a time, as the two share the search.
    if (QPointer<CFindReplaceDlg>& other = replace ? findDlg_ : replaceDlg_; other) {
        other->hide();
    }
    if (!dialog) {
        dialog = new CFindReplaceDlg(replace, this);
        CFindReplaceDlg* made = dialog;
        connect(made, &CFindReplaceDlg::findNext, this, [this, made]() { OnFindDialog(made, kFindNext); });
        connect(made, &CFindReplaceDlg::replaceCurrent, this, [this, made]() { OnFindDialog(made, kReplaceOne); });
        connect(made, &CFindReplaceDlg::replaceAll, this, [this, made]() { OnFindDialog(made, kReplaceAll); });
    }
    FindOptions options = findOptions_;
    // The selection, when it is a piece of one line, is what the user wants
    // to look for.
    if (CPlixView* view = ActiveView()) {
        QString selected = view->textCursor().selectedText();
        if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) {
            options.what = selected;
        }
    }
    dialog->SetOptions(options);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CMainFrame::OnFindDialog(CFindReplaceDlg* dialog, int action)
{
    findOptions_ = dialog->Options();
    CPlixView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    bool found = true;
    switch (action) {
        case kFindNext:
            found = FindNextIn(view, findOptions_);
            break;
        case kReplaceOne:
            found = ReplaceIn(view, findOptions_);
            break;
        case kReplaceAll: {
            const int count = ReplaceAllIn(view, findOptions_);
            found = count > 0;
            if (found) {
                statusBar()->showMessage(QStringLiteral("%1 replaced").arg(count), 5000);
            }
            break;
        }
        default:
            break;
    }
    if (!found) {
        ReportNotFound();
    }
}

void CMainFrame::FindNext()
{
    if (findOptions_.what.isEmpty()) {
        ShowFindDialog(false);
        return;
    }
    if (!FindNextIn(ActiveView(), findOptions_)) {
        ReportNotFound();
    }
}

void CMainFrame::ReportNotFound()
{
    QApplication::beep();
    statusBar()->showMessage(QStringLiteral("Cannot find \"%1\"").arg(findOptions_.what), 5000);
}

void CMainFrame::ArrangeIcons()
{
    // Minimised windows are lined up along the bottom of the area, left to right.
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    const QSize area = mdiArea_->viewport()->size();
    int x = 0;
    int y = -1;
    for (QMdiSubWindow* window : windows) {
        if (!window->isMinimized()) {
            continue;
        }
        const QSize size = window->size();
        if (y < 0) {
            y = area.height() - size.height();
        }
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        window->move(x, std::max(0, y));
        x += size.width();
    }
}

// ---- window events ------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (app_.IsRunning()) {
        // Closing in the middle of a run would pull the result window away
        // from the engine: stop the run instead, the user can close after.
        if (CProgressDlg* progress = app_.ProgressFactory().Current()) {
            progress->Cancel();
        }
        event->ignore();
        return;
    }
    // The modified documents are offered for saving first, all in one
    // question; Cancel keeps the program running.
    QList<CPlixDoc*> modified;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        auto* child = qobject_cast<CChildFrame*>(window);
        CPlixDoc* doc = child != nullptr ? child->GetDocument() : nullptr;
        if (doc != nullptr && doc->IsModified() && !modified.contains(doc)) {
            modified.append(doc);
        }
    }
    if (!app_.SaveModifiedDocuments(modified)) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime != nullptr && mime->hasUrls() && !app_.IsRunning()) {
        const QList<QUrl> urls = mime->urls();
        for (const QUrl& url : urls) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    event->ignore();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime == nullptr || app_.IsRunning()) {
        event->ignore();
        return;
    }
    const QList<QUrl> urls = mime->urls();
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            app_.OpenDocument(url.toLocalFile());
        }
    }
}

}  // namespace plix
