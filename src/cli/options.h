// plix-cli's command line: the command, the corpus entries and the options,
// checked and applied to the settings record the way the dialogs apply them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/context.h"
#include "settings/settings_store.h"

namespace plix::cli {

enum class Destination { Stdout, Window, Files };

struct Options
{
    std::string commandName;
    AnalysisCommand command = AnalysisCommand::Wordlist;
    std::vector<std::pair<std::string, std::string>> entries;  // corpus file, output path
    Destination destination = Destination::Stdout;
    bool whole = false;
    bool saved = false;
    std::optional<bool> progress;  // unset: on when standard error is a terminal
    bool help = false;
    bool version = false;
    KeywordRequest keyword;
    bool keywordGiven = false;
    // scan-sgml: list the tags and keys of the files instead of running a command.
    bool scanSgml = false;
    // The SGML page's switches, as given: tag names for "Exclude", tag-attribute
    // keys for "Output". They need a scan of the files (ApplySgmlChoices).
    std::vector<std::string> sgmlExclude;
    std::vector<std::string> sgmlOutput;
    std::vector<std::string> warnings;
};

// A usage error: the message names the option or value at fault.
struct UsageError
{
    std::string message;
};

// Opens the per-user store that the desktop program saves its settings in, for
// --saved. Empty where plix-cli is built without one.
using SavedStoreOpener = std::function<std::unique_ptr<CSettingsStore>()>;

// Parses `args` (without the program name) and applies the settings to
// `context`'s record: with --saved, the saved settings first, then the options
// given. Returns the parsed options, or the usage error. The store is only read.
std::optional<Options> ParseAndApply(const std::vector<std::string>& args, CPlixContext& context,
                                     UsageError& error, const SavedStoreOpener& openSaved = {});

std::string UsageText();
std::string VersionText();

}  // namespace plix::cli
