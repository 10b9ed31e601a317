// plix-cli: one analysis command over a list of corpus files, on the engine the
// desktop program uses, with the same result texts.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/sgml_scan.h"
#include "cli/terminal.h"
#include "corpora/sgml.h"
#include "engine/command.h"
#include "engine/context.h"
#ifdef PLIX_HAVE_SAVED_STORE
#include "settings/qt/qt_settings_store.h"
#endif

int main(int argc, char** argv)
{
    using namespace plix;
    std::setlocale(LC_ALL, "");
    CPlixContext context;
    context.corpus.SaveSystemLocale();
    context.corpus.utf8Text = LocaleNameIsUtf8(context.corpus.systemLocale) ? 1 : 0;
    context.corpus.SetLanguage("System");

    std::vector<std::string> args(argv + 1, argv + argc);
    cli::UsageError error;
    cli::SavedStoreOpener openSaved;
#ifdef PLIX_HAVE_SAVED_STORE
    openSaved = []() -> std::unique_ptr<CSettingsStore> {
        return std::make_unique<CQtSettingsStore>();
    };
#endif
    std::optional<cli::Options> options = cli::ParseAndApply(args, context, error, openSaved);
    if (!options) {
        std::fprintf(stderr, "plix-cli: %s\n", error.message.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(cli::UsageText().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::fputs(cli::VersionText().c_str(), stdout);
        return 0;
    }
    for (const std::string& warning : options->warnings) {
        std::fprintf(stderr, "plix-cli: %s\n", warning.c_str());
    }

    cli::InstallInterruptHandler();
    bool showProgress = options->progress.value_or(isatty(STDERR_FILENO) != 0);
    cli::TerminalProgressFactory progress(stderr, showProgress);
    context.SetProgressFactory(&progress);
    auto abortProcess = [](const std::string& reason) {
        std::fprintf(stderr, "plix-cli: Abort Process: %s\n", reason.c_str());
    };

    if (options->scanSgml) {
        std::vector<std::string> files;
        for (const auto& entry : options->entries) {
            files.push_back(entry.first);
        }
        std::string reason;
        std::unique_ptr<CProgress> scanProgress = progress.Make();
        SgmlScanOutcome scanned = context.handlers.Sgml().Scan(files, *scanProgress, reason);
        scanProgress.reset();  // the bar leaves standard error before the listing comes
        if (scanned != SgmlScanOutcome::Done) {
            abortProcess(scanned == SgmlScanOutcome::Cancelled ? "cancelled by the user" : reason);
            return 1;
        }
        std::fputs(cli::ScanListing(context.handlers.Sgml()).c_str(), stdout);
        return 0;
    }
    {
        std::string message;
        std::unique_ptr<CProgress> scanProgress = progress.Make();
        cli::SgmlChoiceOutcome chosen =
            cli::ApplySgmlChoices(*options, context, *scanProgress, message);
        scanProgress.reset();
        if (chosen == cli::SgmlChoiceOutcome::UsageError) {
            std::fprintf(stderr, "plix-cli: %s\n", message.c_str());
            return 2;
        }
        if (chosen == cli::SgmlChoiceOutcome::ScanFailed) {
            abortProcess(message);
            return 1;
        }
    }

    // Results run to gigabytes: into a file or a pipe they go a megabyte a
    // write rather than a few kilobytes (a terminal keeps its line buffering;
    // the library takes the size only with a buffer of the caller's own,
    // which must outlive the stream's last write).
    static char stdoutBuffer[size_t{1} << 20];
    if (isatty(fileno(stdout)) == 0) {
        (void)std::setvbuf(stdout, stdoutBuffer, _IOFBF, sizeof stdoutBuffer);
    }
    cli::StreamTarget window(stdout);
    context.format.SetResultTarget(&window);
    if (options->destination == cli::Destination::Stdout) {
        context.format.SetFileRedirect(stdout);
    }

    KeywordRequest request = options->keyword;
    CommandOutcome outcome = RunAnalysisCommand(
        context, options->command, [&]() -> std::optional<KeywordRequest> { return request; },
        abortProcess);
    std::fflush(stdout);
    if (!outcome.started) {
        std::fprintf(stderr, "plix-cli: the keyword is empty\n");
        return 2;
    }
    // A result whose writing Ctrl-C stopped says so in itself; the script
    // that ran it hears it too.
    for (const std::string& note : outcome.cutShort) {
        std::fprintf(stderr, "plix-cli: %s\n", note.c_str());
    }
    for (const std::string& note : outcome.regexGaveUp) {
        std::fprintf(stderr, "plix-cli: %s\n", note.c_str());
    }
    return outcome.completed && outcome.cutShort.empty() ? 0 : 1;
}
