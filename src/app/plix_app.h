// CPlixApp: the desktop program's application object. It owns the one engine
// context (settings record, input reader, output writer, handlers, pattern
// slots), the per-user store, the main frame and the result documents, and it
// carries out the commands that start analyses and open documents.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "app/progress_dlg.h"
#include "app/result_sorter.h"
#include "app/window_result_target.h"
#include "engine/command.h"
#include "engine/context.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

class QPrinter;

namespace plix {

class CMainFrame;
class CPlixDoc;

class CPlixApp : public QObject
{
    Q_OBJECT

public:
    // The store is read at start-up and written at exit.
    explicit CPlixApp(std::unique_ptr<CSettingsStore> store, QObject* parent = nullptr);
    ~CPlixApp() override;

    // Start-up after the toolkit: loads the settings, makes the main frame,
    // carries out the command line (files to open, or a new empty window) and
    // shows the main frame. False when the program should end.
    bool InitInstance(const QStringList& arguments);
    // Exit: saves the settings and the recent-file list.
    void ExitInstance();

    CPlixContext& Context() { return *context_; }
    CCorpus& Corpus() { return context_->corpus; }
    CSettingsStore& Store() { return *store_; }
    CMainFrame* MainFrame() const { return mainFrame_.get(); }
    // The engine's progress seam (its current dialog, if a run is under way).
    CProgressDlgFactory& ProgressFactory() { return progressFactory_; }

    // "&New": a new empty result document named PLIX1, PLIX2, … in a new
    // window that becomes the active one.
    CPlixDoc* NewDocument();
    // "&Open...": the file's document (activated when already open) or null
    // after telling the user why it could not be read.
    CPlixDoc* OpenDocument(const QString& path);
    QStringList RecentFiles() const { return recentFiles_; }

    // "&Save": to the document's file, or under a name asked for.
    bool SaveDocument(CPlixDoc* doc);
    // "Save &As...": under a name asked for; false when none was given or
    // writing failed (the user has been told why).
    bool SaveDocumentAs(CPlixDoc* doc);
    // Writes the document to `path`; tells the user when that fails.
    bool SaveDocumentTo(CPlixDoc* doc, const QString& path);
    // Before a modified document goes: "Save changes to %1?" — false when the
    // user cancels or the save fails, and the document must stay.
    bool SaveModified(CPlixDoc* doc);
    // Before the program ends: one question for all the modified documents
    // ("Save All", "Discard All", "Cancel"; the single document's own
    // question when there is one). False when the program must stay.
    bool SaveModifiedDocuments(const QList<CPlixDoc*>& docs);
    // Asks for the name to save a document under (empty: cancelled); the save
    // dialog unless replaced (tests).
    using SavePathAsker = std::function<QString(CPlixDoc* doc)>;
    void SetSavePathAsker(SavePathAsker asker) { savePathAsker_ = std::move(asker); }
    static constexpr int kRecentFileCount = keys::kRecentFileCount;

    // An analysis command through the engine's command loop.
    CommandOutcome RunAnalysis(AnalysisCommand command);
    bool IsRunning() const { return running_; }
    // Asks for the keyword of the concordance and collocation commands; the
    // keyword dialog unless replaced (automation, tests).
    void SetKeywordAsker(KeywordAsker asker) { keywordAsker_ = std::move(asker); }
    // "Quick Wordlist" / "Quick PLIX" over the lines of `view`'s document.
    CommandOutcome RunQuick(QuickCommand command, CPlixView* view);
    // A result too large for its window: true to run the command once more
    // with its results appended to the output files, false to keep the
    // window as far as it got and stop. The question box unless replaced
    // (tests).
    using OverflowAsker = std::function<bool(size_t linesHeld)>;
    void SetOverflowAsker(OverflowAsker asker) { overflowAsker_ = std::move(asker); }
    CWindowResultTarget& ResultTarget() { return resultTarget_; }
    // Whether the last analysis or quick command ended in the output files
    // because its result outgrew the window.
    bool LastRunWentToFiles() const { return lastRunWentToFiles_; }
    // A sort command of `view`: the re-sorted text in a new window (returned,
    // also when the sort was cancelled half-way), or null.
    CPlixView* SortResult(CPlixView* view, SortCommand command);

    // The commands of the application object.
    void OnCorpusSetup();
    void OnCorpusOptions();
    void OnConcordanceFormat();
    void OnListOption();
    void OnFileOpen();
    void OnPrintSetup();
    void OnPrint(CPlixView* view);
    void OnPrintPreview(CPlixView* view);
    void OnAbout();
    void OnHelpTopics();

    // The printer "P&rint Setup..." sets up and printing uses.
    QPrinter& Printer();

signals:
    // The corpus list or another setting the command enabling depends on changed.
    void settingsChanged();
    void recentFilesChanged(const QStringList& files);

private:
    void AddRecentFile(const QString& path);
    void LoadRecentFiles();
    void SaveRecentFiles();
    CPlixDoc* FindDocument(const QString& path) const;
    void ShowAbort(const std::string& reason);
    // A warning with an OK button, as wide as its text needs.
    void ShowWarning(const QString& text);
    // Once per run: the regular expressions whose searches gave up.
    void ShowRegexNotes(const std::vector<std::string>& notes);
    // After a run or a sort: the window it made (the active one when it made
    // none) in front, with the focus; "Cancelled" on the status bar when the
    // user stopped it.
    void FinishRun(int windowsMadeBefore, bool cancelled);
    void RunAutomation();
    // The keyword dialog, or what a test put in its place.
    KeywordAsker Asker();
    // Runs a command through the engine; when its result outgrew the window
    // and the user chose the output file, runs it once more with "To Output
    // as &Files" set and the first run's keyword.
    CommandOutcome RunBounded(const std::function<CommandOutcome(const KeywordAsker&)>& run);
    CWindowResultTarget::OverflowChoice OnResultOverflow(size_t linesHeld);
    bool AskAppendToFile(size_t linesHeld);

    std::unique_ptr<CSettingsStore> store_;
    CProgressDlgFactory progressFactory_;
    CWindowResultTarget resultTarget_;
    std::unique_ptr<CPlixContext> context_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::unique_ptr<QPrinter> printer_;
    KeywordAsker keywordAsker_;
    SavePathAsker savePathAsker_;
    OverflowAsker overflowAsker_;
    // The first run's result window that outgrew itself and is dropped for
    // the run into the output files.
    QPointer<CPlixView> droppedView_;
    bool rerunToFiles_ = false;
    bool lastRunWentToFiles_ = false;
    QStringList recentFiles_;
    int untitledCount_ = 0;
    bool running_ = false;
    bool exited_ = false;
    bool automateWordlist_ = false;
    QString automateKeyword_;
    QString automateGrab_;
};

}  // namespace plix
