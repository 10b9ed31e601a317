// plix-cli: one analysis command over a list of corpus files, on the engine the
// desktop program uses, with the same result texts.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/terminal.h"
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
    cli::StreamTarget window(stdout);
    context.format.SetResultTarget(&window);
    if (options->destination == cli::Destination::Stdout) {
        context.format.SetFileRedirect(stdout);
    }

    KeywordRequest request = options->keyword;
    CommandOutcome outcome = RunAnalysisCommand(
        context, options->command, [&]() -> std::optional<KeywordRequest> { return request; },
        [](const std::string& reason) {
            std::fprintf(stderr, "plix-cli: Abort Process: %s\n", reason.c_str());
        });
    std::fflush(stdout);
    if (!outcome.started) {
        std::fprintf(stderr, "plix-cli: the keyword is empty\n");
        return 2;
    }
    return outcome.completed ? 0 : 1;
}
