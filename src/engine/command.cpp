#include "engine/command.h"

#include "engine/parse.h"

namespace plix {

bool NeedsKeyword(AnalysisCommand command)
{
    switch (command) {
        case AnalysisCommand::Concordance:
        case AnalysisCommand::ConcordanceLeft:
        case AnalysisCommand::ConcordanceRight:
        case AnalysisCommand::Collocation:
            return true;
        default:
            return false;
    }
}

bool ClearsListKeyword(AnalysisCommand command)
{
    switch (command) {
        case AnalysisCommand::Wordlist:
        case AnalysisCommand::BackwardList:
        case AnalysisCommand::DescendingWordlist:
        case AnalysisCommand::AscendingWordlist:
        case AnalysisCommand::Index:
        case AnalysisCommand::RhymeIndex:
            return true;
        default:
            return false;
    }
}

namespace {

bool RunMode(CParse& parse, AnalysisCommand command, const std::string& outputName)
{
    switch (command) {
        case AnalysisCommand::Wordlist:
            return parse.MakeWordList(outputName, 0);
        case AnalysisCommand::BackwardList:
            return parse.MakeWordList(outputName, 1);
        case AnalysisCommand::DescendingWordlist:
            return parse.MakeFrequencyList(outputName, 0, 0);
        case AnalysisCommand::AscendingWordlist:
            return parse.MakeFrequencyList(outputName, 0, 1);
        case AnalysisCommand::Index:
            return parse.MakeIndex(outputName);
        case AnalysisCommand::RhymeIndex:
            return parse.MakeRhymeIndex(outputName);
        case AnalysisCommand::Concordance:
            return parse.MakeConcordance(outputName, 0);
        case AnalysisCommand::ConcordanceLeft:
            return parse.MakeConcordance(outputName, 1);
        case AnalysisCommand::ConcordanceRight:
            return parse.MakeConcordance(outputName, 2);
        case AnalysisCommand::Collocation:
            return parse.MakeCollocation(outputName);
        case AnalysisCommand::ConcordanceAll:
            return parse.MakeConcordanceAll(outputName);
    }
    return false;
}

// A corpus type whose handlers are not part of the program cannot be read
// correctly: running it as plain text would give a wrong result without a word.
bool RefuseMissingType(CPlixContext& context, CommandOutcome& outcome)
{
    const int type = context.corpus.GetCorpusType();
    if (context.handlers.TypeAvailable(type)) {
        return false;
    }
    outcome.completed = false;
    outcome.reason = std::string("the corpus type \"") +
                     CorpusTypeNames()[static_cast<size_t>(type)] + "\" is not available yet";
    return true;
}

}  // namespace

CommandOutcome RunAnalysisCommand(CPlixContext& context, AnalysisCommand command,
                                  const KeywordAsker& askKeyword, const AbortReporter& reportAbort)
{
    CommandOutcome outcome;
    CCorpus& corpus = context.corpus;
    if (RefuseMissingType(context, outcome)) {
        if (reportAbort) {
            reportAbort(outcome.reason);
        }
        return outcome;
    }
    CParse parse(context);

    const bool collocation = command == AnalysisCommand::Collocation;
    const int savedLength = corpus.GetLineLength();
    const int savedPosition = corpus.GetKeywordPosition();
    if (collocation) {
        corpus.SetLineFormat(150, 75);
    }

    bool prepared = true;
    if (NeedsKeyword(command)) {
        std::optional<KeywordRequest> request;
        if (askKeyword) {
            request = askKeyword();
        }
        prepared = request.has_value() && parse.PrepareKeyword(*request);
    }
    if (prepared) {
        outcome.started = true;
        const int count = corpus.GetFileCount();
        for (int i = 0; i < count; ++i) {
            context.input.SetFileName(corpus.GetInputFile(static_cast<size_t>(i)));
            if (!RunMode(parse, command, corpus.GetOutputFile(static_cast<size_t>(i)))) {
                outcome.completed = false;
                outcome.failedEntry = i;
                outcome.reason = parse.FailureReason();
                if (reportAbort) {
                    reportAbort(outcome.reason);
                }
                break;
            }
        }
    }

    outcome.cancelled = parse.UserCancelled();
    outcome.cutShort = parse.CutShortNotes();
    outcome.regexGaveUp = context.gnu.TakeGaveUpNotes();
    if (collocation) {
        corpus.SetLineFormat(savedLength, savedPosition);
    }
    if (ClearsListKeyword(command)) {
        corpus.ClearKeyword();
    }
    return outcome;
}

CommandOutcome RunQuickCommand(CPlixContext& context, QuickCommand command,
                               const CWindowSource& window, const KeywordAsker& askKeyword)
{
    CommandOutcome outcome;
    if (RefuseMissingType(context, outcome)) {
        return outcome;
    }
    CParse parse(context);
    if (command == QuickCommand::Plix) {
        std::optional<KeywordRequest> request;
        if (askKeyword) {
            request = askKeyword();
        }
        if (!request.has_value() || !parse.PrepareKeyword(*request)) {
            return outcome;
        }
    }
    outcome.started = true;
    // A quick command reads one window: its single run is always a whole result.
    parse.SetEntriesInCommand(1);
    context.input.SetWindowSource(&window);
    bool ok = command == QuickCommand::Wordlist ? parse.MakeWordList("View", 0)
                                                : parse.MakeConcordance("View", 0);
    context.input.SetFileSource();
    outcome.cancelled = parse.UserCancelled();
    outcome.cutShort = parse.CutShortNotes();
    outcome.regexGaveUp = context.gnu.TakeGaveUpNotes();
    if (!ok) {
        outcome.completed = false;
        outcome.failedEntry = 0;
        outcome.reason = parse.FailureReason();
    }
    return outcome;
}

}  // namespace plix
