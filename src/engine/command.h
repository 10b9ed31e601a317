// The analysis command loop that both front ends run: one engine object per
// command, the corpus entries in order, stop at the first failure, then the
// command's after-loop step.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/context.h"
#include "engine/keyword_request.h"

namespace plix {

enum class AnalysisCommand {
    Wordlist,
    BackwardList,
    DescendingWordlist,
    AscendingWordlist,
    Index,
    RhymeIndex,
    Concordance,
    ConcordanceLeft,
    ConcordanceRight,
    Collocation,
    ConcordanceAll,
};

enum class QuickCommand { Wordlist, Plix };

// True for the commands that ask for a keyword before they run.
bool NeedsKeyword(AnalysisCommand command);
// True for the six list commands, which empty the list-filter keyword afterwards.
bool ClearsListKeyword(AnalysisCommand command);

// Asks the user for the keyword; nothing when the request is cancelled.
using KeywordAsker = std::function<std::optional<KeywordRequest>()>;
// Shows "Abort Process" the front end's way, with the reason the run failed.
using AbortReporter = std::function<void(const std::string& reason)>;

struct CommandOutcome
{
    bool started = false;   // the preparation passed (keyword given, not cancelled)
    bool completed = true;  // every entry ran to its end
    int failedEntry = -1;   // index of the entry whose run failed
    std::string reason;     // why it failed
    bool cancelled = false;  // the user stopped a run, while reading or while writing
    // One line for each result whose writing the user stopped (it was written
    // in the result before its footer), without its line end.
    std::vector<std::string> cutShort;
    // One line for each regular expression whose searches gave up on some
    // lines of this run (hits may be missing), without its line end.
    std::vector<std::string> regexGaveUp;
};

CommandOutcome RunAnalysisCommand(CPlixContext& context, AnalysisCommand command,
                                  const KeywordAsker& askKeyword, const AbortReporter& reportAbort);

// "Quick Wordlist" and "Quick PLIX": one run over a result window's lines, with
// the output name "View". A failure shows nothing.
CommandOutcome RunQuickCommand(CPlixContext& context, QuickCommand command,
                               const CWindowSource& window, const KeywordAsker& askKeyword);

}  // namespace plix
