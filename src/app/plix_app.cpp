#include "app/plix_app.h"

#include "app/about_dlg.h"
#include "app/child_frame.h"
#include "app/document_source.h"
#include "app/help_page.h"
#include "app/keyword_colouring.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "app/plix_doc.h"
#include "app/plix_view.h"
#include "app/print_view.h"
#include "settings/codec.h"
#include "settings/persistence.h"
#include "settings/settings_keys.h"
#include "settings/ui/format_dlg.h"
#include "settings/ui/keyword_dlg.h"
#include "settings/ui/list_option_dlg.h"
#include "settings/ui/option_sheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextCursor>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace plix {

namespace {

std::string ToBytes(const QString& path)
{
    QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FromBytes(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// Sets a flag for as long as the scope lasts.
class RunningScope
{
public:
    explicit RunningScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningScope() { flag_ = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

CPlixApp::CPlixApp(std::unique_ptr<CSettingsStore> store, QObject* parent)
    : QObject(parent),
      store_(std::move(store)),
      resultTarget_([this]() { return NewDocument(); }),
      context_(std::make_unique<CPlixContext>())
{
    context_->format.SetResultTarget(&resultTarget_);
    context_->SetProgressFactory(&progressFactory_);
    resultTarget_.SetOverflowAsker([this](size_t linesHeld) { return OnResultOverflow(linesHeld); });
}

CPlixApp::~CPlixApp()
{
    // The engine's writer hands its last text to the target when it goes:
    // cut it loose first.
    context_->format.SetResultTarget(nullptr);
    context_->SetProgressFactory(nullptr);
    mainFrame_.reset();
}

bool CPlixApp::InitInstance(const QStringList& arguments)
{
    // The settings are in place before any window exists.
    LoadSettings(context_->corpus, *store_);
    LoadRecentFiles();

    mainFrame_ = std::make_unique<CMainFrame>(*this);
    progressFactory_.SetTopLevel(mainFrame_.get());

    // Hidden options for scripted runs (the screenshot script):
    //   --automate-wordlist             run "&Wordlist" at start
    //   --automate-concordance=KEYWORD  then "&PLIX Concordance" with KEYWORD
    //   --automate-grab=FILE.png        then save a picture of the screen and quit
    QStringList files;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--automate-wordlist")) {
            automateWordlist_ = true;
        } else if (argument.startsWith(QLatin1String("--automate-concordance="))) {
            automateKeyword_ = argument.section(u'=', 1);
        } else if (argument.startsWith(QLatin1String("--automate-grab="))) {
            automateGrab_ = argument.section(u'=', 1);
        } else {
            files.append(argument);
        }
    }

    if (files.isEmpty()) {
        if (NewDocument() == nullptr) {
            return false;
        }
    }
    for (const QString& file : files) {
        if (OpenDocument(file) == nullptr) {
            return false;
        }
    }
    mainFrame_->show();
    mainFrame_->UpdateCommandUI();
    if (automateWordlist_ || !automateKeyword_.isEmpty() || !automateGrab_.isEmpty()) {
        QTimer::singleShot(0, this, &CPlixApp::RunAutomation);
    }
    return true;
}

void CPlixApp::ExitInstance()
{
    if (exited_) {
        return;
    }
    exited_ = true;
    SaveSettings(context_->corpus, *store_);
    SaveRecentFiles();
}

// ---- documents --------------------------------------------------------------------

CPlixDoc* CPlixApp::NewDocument()
{
    if (!mainFrame_) {
        return nullptr;
    }
    auto* doc = new CPlixDoc(QStringLiteral("PLIX%1").arg(++untitledCount_), this);
    mainFrame_->CreateChildFrame(doc);
    return doc;
}

CPlixDoc* CPlixApp::FindDocument(const QString& path) const
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    const QList<CPlixDoc*> docs = findChildren<CPlixDoc*>(QString(), Qt::FindDirectChildrenOnly);
    for (CPlixDoc* doc : docs) {
        if (!doc->GetPathName().isEmpty() && doc->GetPathName() == wanted && doc->FirstView() != nullptr) {
            return doc;
        }
    }
    return nullptr;
}

CPlixDoc* CPlixApp::OpenDocument(const QString& path)
{
    if (!mainFrame_) {
        return nullptr;
    }
    if (CPlixDoc* open = FindDocument(path)) {
        CPlixView* view = open->FirstView();
        if (auto* frame = qobject_cast<QMdiSubWindow*>(view->parentWidget())) {
            mainFrame_->MdiArea()->setActiveSubWindow(frame);
        }
        AddRecentFile(open->GetPathName());
        return open;
    }
    auto doc = std::make_unique<CPlixDoc>(QFileInfo(path).fileName(), nullptr);
    QString error;
    if (!doc->OnOpenDocument(path, error)) {
        ShowWarning(
            QStringLiteral("Cannot open %1.\n%2").arg(QDir::toNativeSeparators(path), error));
        return nullptr;
    }
    // A result saved earlier shows its keywords as it did when it was made.
    (void)ColourHitKeywords(*doc, context_->corpus);
    CPlixDoc* opened = doc.release();
    opened->setParent(this);
    mainFrame_->CreateChildFrame(opened);
    AddRecentFile(opened->GetPathName());
    return opened;
}

void CPlixApp::OnFileOpen()
{
    const QStringList paths = QFileDialog::getOpenFileNames(
        mainFrame_.get(), QStringLiteral("Open"), QString(),
        QStringLiteral("Plix Files (*.plx);;All Files (*)"));
    for (const QString& path : paths) {
        OpenDocument(path);
    }
}

bool CPlixApp::SaveDocument(CPlixDoc* doc)
{
    if (doc == nullptr) {
        return false;
    }
    if (doc->GetPathName().isEmpty()) {
        return SaveDocumentAs(doc);
    }
    return SaveDocumentTo(doc, doc->GetPathName());
}

bool CPlixApp::SaveDocumentAs(CPlixDoc* doc)
{
    if (doc == nullptr || !mainFrame_) {
        return false;
    }
    QString path;
    if (savePathAsker_) {
        path = savePathAsker_(doc);
    } else {
        // A new document is offered under its title with the extension of
        // the document type; an opened file under its own name.
        QString proposed = doc->GetPathName();
        if (proposed.isEmpty()) {
            proposed = QDir::current().filePath(doc->GetTitle() + QStringLiteral(".plx"));
        }
        QFileDialog dialog(mainFrame_.get(), QStringLiteral("Save As"), proposed,
                           QStringLiteral("Plix Files (*.plx);;All Files (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("plx"));
        dialog.selectFile(proposed);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            path = dialog.selectedFiles().first();
        }
    }
    if (path.isEmpty()) {
        return false;
    }
    return SaveDocumentTo(doc, path);
}

bool CPlixApp::SaveDocumentTo(CPlixDoc* doc, const QString& path)
{
    QString error;
    if (!doc->OnSaveDocument(path, error)) {
        ShowWarning(
            QStringLiteral("Cannot save %1.\n%2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    AddRecentFile(doc->GetPathName());
    if (mainFrame_) {
        mainFrame_->UpdateCommandUI();
    }
    return true;
}

bool CPlixApp::SaveModified(CPlixDoc* doc)
{
    if (doc == nullptr || !doc->IsModified()) {
        return true;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("plix"),
                    QStringLiteral("Save changes to %1?").arg(doc->GetTitle()),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, mainFrame_.get());
    box.setDefaultButton(QMessageBox::Yes);
    FitMessageBoxToText(box);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (answer == QMessageBox::Yes) {
        return SaveDocument(doc);
    }
    return answer == QMessageBox::No;
}

bool CPlixApp::SaveModifiedDocuments(const QList<CPlixDoc*>& docs)
{
    if (docs.isEmpty()) {
        return true;
    }
    if (docs.size() == 1) {
        return SaveModified(docs.front());
    }
    QStringList titles;
    for (CPlixDoc* doc : docs) {
        titles.append(doc->GetTitle());
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("plix"),
                    QStringLiteral("Save changes to these documents?"),
                    QMessageBox::SaveAll | QMessageBox::Discard | QMessageBox::Cancel,
                    mainFrame_.get());
    box.setObjectName(QStringLiteral("saveModifiedDocuments"));
    box.setInformativeText(titles.join(u'\n'));
    box.button(QMessageBox::SaveAll)->setText(QStringLiteral("Save All"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Discard All"));
    box.setDefaultButton(QMessageBox::SaveAll);
    box.setEscapeButton(QMessageBox::Cancel);
    FitMessageBoxToText(box);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Discard)) {
        return true;
    }
    if (clicked != box.button(QMessageBox::SaveAll)) {
        return false;
    }
    // A new document asks for its name; the first one not given (or not
    // written) keeps the program running, with what was saved so far saved.
    for (CPlixDoc* doc : docs) {
        if (!SaveDocument(doc)) {
            return false;
        }
    }
    return true;
}

void CPlixApp::AddRecentFile(const QString& path)
{
    recentFiles_.removeAll(path);
    recentFiles_.prepend(path);
    while (recentFiles_.size() > kRecentFileCount) {
        recentFiles_.removeLast();
    }
    emit recentFilesChanged(recentFiles_);
}

void CPlixApp::LoadRecentFiles()
{
    recentFiles_.clear();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        std::string value = store_->GetString(keys::kRecentFileListSection, keys::RecentFileValue(i), "");
        if (!value.empty()) {
            recentFiles_.append(FromBytes(value));
        }
    }
}

void CPlixApp::SaveRecentFiles()
{
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string name = keys::RecentFileValue(i);
        if (i <= recentFiles_.size()) {
            store_->WriteString(keys::kRecentFileListSection, name, ToBytes(recentFiles_[i - 1]));
        } else {
            store_->Delete(keys::kRecentFileListSection, name);
        }
    }
}

// ---- analyses -----------------------------------------------------------------------

KeywordAsker CPlixApp::Asker()
{
    // Tests put their own in place of the keyword dialog.
    if (keywordAsker_) {
        return keywordAsker_;
    }
    return [this]() { return AskKeyword(context_->corpus, mainFrame_.get()); };
}

CommandOutcome CPlixApp::RunAnalysis(AnalysisCommand command)
{
    if (running_ || !mainFrame_) {
        // One run at a time: the progress dialog pumps events, and a command
        // reached that way must not start a second run inside the first.
        CommandOutcome refused;
        refused.completed = false;
        return refused;
    }
    CommandOutcome outcome;
    const int made = mainFrame_->WindowsMade();
    {
        RunningScope running(running_);
        mainFrame_->UpdateCommandUI();
        outcome = RunBounded([this, command](const KeywordAsker& asker) {
            return RunAnalysisCommand(*context_, command, asker, [this](const std::string& reason) {
                // The run stopped for the run into the files has nothing to report.
                if (!rerunToFiles_) {
                    ShowAbort(reason);
                }
            });
        });
    }
    // The keyword history and the list keyword may have changed.
    emit settingsChanged();
    FinishRun(made, outcome.cancelled);
    ShowRegexNotes(outcome.regexGaveUp);
    return outcome;
}

CommandOutcome CPlixApp::RunBounded(const std::function<CommandOutcome(const KeywordAsker&)>& run)
{
    rerunToFiles_ = false;
    lastRunWentToFiles_ = false;
    droppedView_ = nullptr;
    progressFactory_.ResetStop();
    // The second run must not ask for the keyword again: it gets the answer
    // the first run was given.
    auto answer = std::make_shared<std::optional<std::optional<KeywordRequest>>>();
    KeywordAsker remembering = [base = Asker(), answer]() {
        if (!answer->has_value()) {
            *answer = base ? base() : std::nullopt;
        }
        return **answer;
    };
    CommandOutcome outcome = run(remembering);
    progressFactory_.ResetStop();
    if (!rerunToFiles_) {
        return outcome;
    }
    // That window held only the start of the result.
    if (droppedView_) {
        if (auto* frame = qobject_cast<CChildFrame*>(droppedView_->parentWidget())) {
            frame->CloseWithoutAsking();
        }
    }
    CCorpus& corpus = context_->corpus;
    const int saved = corpus.GetOutputAsFiles();
    corpus.SetOutputAsFiles(1);
    rerunToFiles_ = false;
    outcome = run(remembering);
    corpus.SetOutputAsFiles(saved);
    lastRunWentToFiles_ = true;
    return outcome;
}

CWindowResultTarget::OverflowChoice CPlixApp::OnResultOverflow(size_t linesHeld)
{
    const bool toFile = overflowAsker_ ? overflowAsker_(linesHeld) : AskAppendToFile(linesHeld);
    // Either way this run ends here: the window is full.
    progressFactory_.StopRun();
    if (!toFile) {
        return CWindowResultTarget::OverflowChoice::KeepWindow;
    }
    rerunToFiles_ = true;
    droppedView_ = resultTarget_.CurrentView();
    return CWindowResultTarget::OverflowChoice::AppendToFile;
}

bool CPlixApp::AskAppendToFile(size_t linesHeld)
{
    // On the progress dialog: the main frame is disabled while a run is on.
    QWidget* parent = progressFactory_.Current() != nullptr ? static_cast<QWidget*>(progressFactory_.Current())
                                                            : mainFrame_.get();
    QMessageBox box(QMessageBox::Question, QStringLiteral("plix"),
                    QStringLiteral("This result is larger than a window can hold."),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("resultTooLarge"));
    box.setInformativeText(
        QStringLiteral("Append the result to the output file instead?\n\n"
                       "Yes: the command runs again and appends its results to the output files.\n"
                       "No: the window keeps its first %1 lines and the run stops there.")
            .arg(QString::number(static_cast<qulonglong>(linesHeld))));
    box.setDefaultButton(QMessageBox::Yes);
    FitMessageBoxToText(box);
    return box.exec() == QMessageBox::Yes;
}

CommandOutcome CPlixApp::RunQuick(QuickCommand command, CPlixView* view)
{
    CommandOutcome refused;
    refused.completed = false;
    if (running_ || !mainFrame_ || view == nullptr) {
        return refused;
    }
    // The lines as they stand now: the run opens a new window, and the text
    // read must not change under it.
    const CDocumentSource source(*view->GetDocument());
    CommandOutcome outcome;
    const int made = mainFrame_->WindowsMade();
    {
        RunningScope running(running_);
        mainFrame_->UpdateCommandUI();
        outcome = RunBounded([this, command, &source](const KeywordAsker& asker) {
            return RunQuickCommand(*context_, command, source, asker);
        });
    }
    emit settingsChanged();
    FinishRun(made, outcome.cancelled);
    ShowRegexNotes(outcome.regexGaveUp);
    return outcome;
}

CPlixView* CPlixApp::SortResult(CPlixView* view, SortCommand command)
{
    if (running_ || !mainFrame_ || view == nullptr) {
        return nullptr;
    }
    QPointer<CPlixView> target;
    const int made = mainFrame_->WindowsMade();
    bool sorted = true;
    {
        RunningScope running(running_);
        CPlixDoc* doc = NewDocument();
        if (doc == nullptr) {
            return nullptr;
        }
        target = doc->FirstView();
        CProgressDlg progress(mainFrame_.get());
        (void)progress.Create();
        progress.SetStatus("Sorting...");
        if (IsWordListSort(command)) {
            sorted = ResortWordList(*view->GetDocument(), *target,
                                    command == SortCommand::Alphabet ? WordListOrder::Alphabet
                                                                     : WordListOrder::Frequency,
                                    progress);
        } else {
            ConcordanceSortInfo info;
            const int mode = SortModeOf(command);
            sorted = ResortConcordance(*view->GetDocument(), *target, mode, context_->corpus,
                                       progress, &info);
            if (target) {
                // Also what a cancelled sort copied.
                (void)ColourHitKeywords(*target->GetDocument(), context_->corpus);
            }
            view->SetSortFields(info.sortKeyword, info.sortKeywordPosition, info.singleLineHits, mode,
                                info.hitFormat);
        }
    }
    FinishRun(made, !sorted);
    return target;
}

void CPlixApp::FinishRun(int windowsMadeBefore, bool cancelled)
{
    // A stopped run says so after the dialog has gone; the window it cut
    // short carries the details.
    mainFrame_->MessagePane()->setText(cancelled ? QStringLiteral("Cancelled")
                                                 : QStringLiteral("Ready"));
    CChildFrame* made =
        mainFrame_->WindowsMade() != windowsMadeBefore ? mainFrame_->LastWindowMade() : nullptr;
    mainFrame_->UpdateCommandUI();
    mainFrame_->BringToFront(made);
}

void CPlixApp::ShowAbort(const std::string& reason)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("plix"), QStringLiteral("Abort Process"),
                    QMessageBox::Ok, mainFrame_.get());
    box.setObjectName(QStringLiteral("abortProcess"));
    if (!reason.empty()) {
        std::u16string wide = DecodeLocaleText(reason);
        box.setInformativeText(
            QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size())));
    }
    FitMessageBoxToText(box);
    box.exec();
}

void CPlixApp::ShowWarning(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("plix"), text, QMessageBox::Ok,
                    mainFrame_.get());
    FitMessageBoxToText(box);
    box.exec();
}

void CPlixApp::ShowRegexNotes(const std::vector<std::string>& notes)
{
    for (const std::string& note : notes) {
        std::u16string wide = DecodeLocaleText(note);
        ShowWarning(
            QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size())));
    }
}

void CPlixApp::RunAutomation()
{
    bool ok = true;
    if (automateWordlist_) {
        CommandOutcome outcome = RunAnalysis(AnalysisCommand::Wordlist);
        ok = outcome.started && outcome.completed;
    }
    if (!automateKeyword_.isEmpty()) {
        KeywordRequest request;
        QByteArray bytes = automateKeyword_.toLocal8Bit();
        request.keyword.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
        KeywordAsker saved = keywordAsker_;
        keywordAsker_ = [request]() { return std::optional<KeywordRequest>(request); };
        CommandOutcome outcome = RunAnalysis(AnalysisCommand::Concordance);
        keywordAsker_ = saved;
        ok = outcome.started && outcome.completed && ok;
        if (CPlixView* view = mainFrame_->ActiveView()) {
            view->moveCursor(QTextCursor::Start);
        }
    }
    if (automateGrab_.isEmpty()) {
        return;
    }
    // A window manager hands the activation back some time after the
    // progress dialog went: the picture is taken once it had the chance to.
    QTimer::singleShot(1500, this, [this, ok]() {
        // What the user sees: which window is in front, and whether it is the
        // newest and the main window has the keyboard.
        CChildFrame* active = mainFrame_->ActiveChild();
        const QList<QMdiSubWindow*> stacking =
            mainFrame_->MdiArea()->subWindowList(QMdiArea::StackingOrder);
        const bool newestInFront = active != nullptr && active == mainFrame_->LastWindowMade() &&
                                   !stacking.isEmpty() && stacking.last() == active;
        const bool focused = mainFrame_->isActiveWindow() && active != nullptr &&
                             QApplication::focusWidget() == active->GetView();
        std::printf("in front: %s (newest: %s); main window active with the focus in it: %s\n",
                    active != nullptr ? qPrintable(ShownTitle(active)) : "none",
                    newestInFront ? "yes" : "no", focused ? "yes" : "no");
        std::fflush(stdout);
        // The screen as the window system shows it (frames, other windows);
        // the main window's own picture where the screen cannot be read.
        QPixmap picture;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            picture = screen->grabWindow(0);
        }
        if (picture.isNull()) {
            picture = mainFrame_->grab();
        }
        const bool saved = picture.save(automateGrab_, "PNG");
        QCoreApplication::exit(ok && saved && newestInFront && focused ? 0 : 1);
    });
}

// ---- the settings dialogs ---------------------------------------------------------

void CPlixApp::OnCorpusSetup()
{
    (void)OptionsDialog(context_->corpus, context_->handlers, 0, mainFrame_.get(),
                        [this] { return context_->MakeProgress(); });
    emit settingsChanged();
}

void CPlixApp::OnCorpusOptions()
{
    (void)OptionsDialog(context_->corpus, context_->handlers, 1, mainFrame_.get(),
                        [this] { return context_->MakeProgress(); });
    emit settingsChanged();
}

void CPlixApp::OnConcordanceFormat()
{
    FormatDialog(context_->corpus, mainFrame_.get());
    emit settingsChanged();
}

void CPlixApp::OnListOption()
{
    ListOptionDialog(context_->corpus, mainFrame_.get());
    emit settingsChanged();
}

// ---- printing, help, about ----------------------------------------------------------

QPrinter& CPlixApp::Printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        SetPrintMargins(*printer_);
    }
    return *printer_;
}

void CPlixApp::OnPrint(CPlixView* view)
{
    if (view == nullptr) {
        return;
    }
    QPrintDialog dialog(&Printer(), mainFrame_.get());
    if (dialog.exec() == QDialog::Accepted) {
        PrintView(*view, Printer());
    }
}

void CPlixApp::OnPrintPreview(CPlixView* view)
{
    if (view == nullptr) {
        return;
    }
    QPrintPreviewDialog preview(&Printer(), mainFrame_.get());
    QPointer<CPlixView> shown = view;
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [shown](QPrinter* printer) {
        if (shown) {
            PrintView(*shown, *printer);
        }
    });
    preview.exec();
}

void CPlixApp::OnPrintSetup()
{
    QPageSetupDialog dialog(&Printer(), mainFrame_.get());
    dialog.exec();
}

void CPlixApp::OnAbout()
{
    CAboutDlg about(mainFrame_.get());
    about.exec();
}

void CPlixApp::OnHelpTopics()
{
    // One help window, kept beside the work; F1 brings it back to the front.
    auto* help = mainFrame_->findChild<CHelpPage*>(QString(), Qt::FindDirectChildrenOnly);
    if (help == nullptr) {
        help = new CHelpPage(mainFrame_.get());
    }
    help->show();
    help->raise();
    help->activateWindow();
}

}  // namespace plix
