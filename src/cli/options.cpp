#include "cli/options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "corpora/penn.h"
#include "corpora/ppcme2.h"
#include "engine/spill.h"
#include "match/gnu.h"
#include "settings/corpus.h"
#include "settings/persistence.h"
#include "settings/text.h"

namespace plix::cli {

namespace {

struct CommandName
{
    const char* name;
    AnalysisCommand command;
};

const CommandName kCommands[] = {
    {"wordlist", AnalysisCommand::Wordlist},
    {"backward", AnalysisCommand::BackwardList},
    {"descending", AnalysisCommand::DescendingWordlist},
    {"ascending", AnalysisCommand::AscendingWordlist},
    {"index", AnalysisCommand::Index},
    {"rhyme", AnalysisCommand::RhymeIndex},
    {"concordance", AnalysisCommand::Concordance},
    {"concordance-left", AnalysisCommand::ConcordanceLeft},
    {"concordance-right", AnalysisCommand::ConcordanceRight},
    {"collocation", AnalysisCommand::Collocation},
    {"concordance-all", AnalysisCommand::ConcordanceAll},
};

// Options that take a value, and how many.
const std::map<std::string, int> kValueOptions = {
    {"--type", 1},          {"--locale", 1},      {"--diacritics", 1},    {"--lines", 1},
    {"--format", 1},        {"--marks", 2},       {"--length", 1},        {"--position", 1},
    {"--sort-column", 1},   {"--keyword", 1},     {"--context", 1},       {"--context-left", 1},
    {"--context-right", 1}, {"--filter", 1},      {"--cocoa-select", 1},  {"--cocoa-output", 1},
    {"--sgml-exclude", 1},  {"--sgml-output", 1}, {"--info", 1},          {"--delete", 1},
    {"--ppcme2-node", 1},   {"--ppcme2-pos", 1},  {"--brooklyn-node", 1}, {"--ice-function", 1},
    {"--ice-category", 1},  {"--ice-feature", 1}, {"--ice-show", 1},      {"--ice-speaker", 1},
    {"--ice-subtext", 1},   {"--bnc-format", 1},   {"--memory", 1},
};

const std::set<std::string> kFlags = {
    "--no-numbers",   "--case-sensitive", "--suppress-headers", "--left",
    "--right",        "--regex",          "--filter-left",      "--filter-right",
    "--filter-regex", "--untag",          "--ice-ignored",      "--ice-addition",
    "--ice-overlap",  "--no-bnc-pos",     "--window",           "--to-files",
    "--whole",        "--saved",          "--progress",         "--quiet",
    "--help",         "--version",          "--utf8",             "--no-utf8",
};

// What scan-sgml takes besides the corpus files.
const std::set<std::string> kScanFlags = {"--progress", "--quiet"};

// The corpus types whose markup the SGML page's switches apply to.
bool UsesSgmlSwitches(int corpusType)
{
    return corpusType == kTypeSgml || corpusType == kTypeAce || corpusType == kTypeBnc;
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// The index 0-25 of a COCOA parameter letter (A-Z in either case), else -1. Only
// ASCII letters: a letter of the locale's code page is no parameter.
int ParameterLetter(char ch)
{
    if (ch >= 'a' && ch <= 'z') {
        return ch - 'a';
    }
    if (ch >= 'A' && ch <= 'Z') {
        return ch - 'A';
    }
    return -1;
}

// A non-negative decimal integer, as the dialogs' number fields accept.
bool ParseCount(const std::string& text, long& value)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

// The PPCME2 page's boxes are editable: a text that is exactly the key of a
// list entry (the part before its ":") stands for that entry, any other text
// is kept as typed.
template <size_t N>
std::string CompletedEntry(const std::array<std::string_view, N>& table, const std::string& text)
{
    for (std::string_view entry : table) {
        if (entry.substr(0, entry.find(':')) == text) {
            return std::string(entry);
        }
    }
    return text;
}

struct Parsed
{
    std::multimap<std::string, std::vector<std::string>> values;
    std::set<std::string> flags;
    bool Has(const std::string& name) const
    {
        return values.count(name) != 0 || flags.count(name) != 0;
    }
    const std::vector<std::string>& Last(const std::string& name) const
    {
        auto range = values.equal_range(name);
        auto last = range.first;
        for (auto it = range.first; it != range.second; ++it) {
            last = it;
        }
        return last->second;
    }
};

bool Fail(UsageError& error, const std::string& message)
{
    error.message = message;
    return false;
}

std::string BetweenMessage(IntLimits limits)
{
    return "Please enter an integer between " + std::to_string(limits.low) + " and " +
           std::to_string(limits.high) + ".";
}

bool NumberIn(const Parsed& p, const std::string& name, IntLimits limits, long& value,
              UsageError& error)
{
    const std::string& text = p.Last(name)[0];
    if (!ParseCount(text, value)) {
        return Fail(error, name + ": Please enter a positive integer.");
    }
    if (!limits.Holds(value)) {
        return Fail(error, name + ": " + BetweenMessage(limits));
    }
    return true;
}

bool RangeOption(const std::string& name, const std::string& text, long& from, long& to,
                 UsageError& error)
{
    size_t dash = text.find('-');
    if (dash == std::string::npos || !ParseCount(text.substr(0, dash), from) ||
        !ParseCount(text.substr(dash + 1), to)) {
        return Fail(error, name + ": expected FROM-TO with two non-negative integers, got \"" +
                               text + "\"");
    }
    return true;
}

// --delete: the level numbers 0-6 whose text is deleted, comma-separated, or
// "none" for no level.
bool DeleteLevels(const std::string& text, std::array<int, 7>& switches, UsageError& error)
{
    switches.fill(0);
    if (Lower(text) == "none") {
        return true;
    }
    const std::string list = text + ",";
    size_t start = 0;
    for (size_t comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1) {
        const std::string item = list.substr(start, comma - start);
        if (item.size() != 1 || item[0] < '0' || item[0] > '6') {
            return Fail(error,
                        "--delete: expected level numbers 0-6 separated by commas, "
                        "or none, got \"" +
                            text + "\"");
        }
        switches[static_cast<size_t>(item[0] - '0')] = 1;
    }
    return true;
}

bool CheckPattern(const std::string& option, const std::string& pattern, bool context,
                  UsageError& error)
{
    CGNU probe;
    std::string message;
    if (context) {
        probe.InitContext();
        message = probe.CompileContext(pattern);
    } else {
        probe.InitKeyword();
        message = probe.CompileKeyword(pattern);
    }
    if (!message.empty()) {
        return Fail(error, option + ": the regular expression \"" + pattern +
                               "\" does not compile: " + message);
    }
    return true;
}

bool ApplySettings(const Parsed& p, Options& options, CPlixContext& context, UsageError& error)
{
    CCorpus& c = context.corpus;
    long a = 0;
    long b = 0;

    // The corpus list and its two switches come from the command line, also with
    // --saved: the files are given there, and where the results of this run go
    // is for this command line to say, not for the desktop's last session.
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    for (const auto& [input, output] : options.entries) {
        inputs.push_back(input);
        outputs.push_back(output);
    }
    c.SetFiles(inputs, outputs);
    c.SetOutputAsFiles(options.destination != Destination::Window);
    c.SetAsWhole(options.whole);
    if (p.Has("--memory")) {
        const std::optional<uint64_t> bytes = ParseByteCount(p.Last("--memory")[0]);
        if (!bytes) {
            return Fail(error, "--memory: expected a number of bytes with an optional K, M or G, "
                               "got \"" + p.Last("--memory")[0] + "\"");
        }
        c.SetMemoryBudget(*bytes);
    }

    // The "Type" page: the type before the diacritics, then the line range and the locale.
    if (p.Has("--type")) {
        const std::string& text = p.Last("--type")[0];
        int code = -1;
        if (ParseCount(text, a)) {
            code = a < kCorpusTypeCount ? static_cast<int>(a) : -1;
        } else {
            for (int i = 0; i < kCorpusTypeCount; ++i) {
                if (Lower(CorpusTypeNames()[static_cast<size_t>(i)]) == Lower(text)) {
                    code = i;
                }
            }
        }
        if (code < 0) {
            return Fail(error, "--type: unknown corpus type \"" + text + "\"");
        }
        if (!context.handlers.TypeAvailable(code)) {
            return Fail(error, std::string("--type: the corpus type \"") +
                                   CorpusTypeNames()[static_cast<size_t>(code)] +
                                   "\" is not available yet");
        }
        ChooseCorpusType(c, code);
    }
    if (p.Has("--diacritics")) {
        c.diacritics = p.Last("--diacritics")[0];
    }
    if (p.Has("--lines")) {
        if (!RangeOption("--lines", p.Last("--lines")[0], a, b, error)) {
            return false;
        }
        if (a > 0 && b < a) {
            return Fail(error, "--lines: the end line shoud be bigger than the start line");
        }
        c.startLine = static_cast<int>(a);
        c.endLine = static_cast<int>(b);
    }
    if (p.Has("--utf8") && p.Has("--no-utf8")) {
        return Fail(error, "--utf8 and --no-utf8 exclude each other");
    }
    if (p.Has("--utf8") || p.Has("--no-utf8")) {
        // The encoding decides which locale the language gets: install it again.
        c.utf8Text = p.Has("--utf8") ? 1 : 0;
        if (!p.Has("--locale")) {
            c.SetLanguage(c.GetLanguage());
        }
    }
    if (p.Has("--locale")) {
        const std::string& text = p.Last("--locale")[0];
        std::string chosen;
        for (const std::string& name : LocaleNames()) {
            if (Lower(name) == Lower(text)) {
                chosen = name;
            }
        }
        if (chosen.empty()) {
            std::string list;
            for (const std::string& name : LocaleNames()) {
                list += (list.empty() ? "" : ", ") + name;
            }
            return Fail(error, "--locale: unknown locale \"" + text + "\" (one of: " + list + ")");
        }
        c.SetLanguage(chosen);
        if (c.GetLanguage() != chosen) {
            options.warnings.push_back("--locale: no locale for \"" + chosen +
                                       "\" is installed; using the system locale");
        }
    }
    if (p.Has("--no-numbers")) {
        c.countNumbers = 0;
    }
    if (p.Has("--case-sensitive")) {
        c.ignoreCase = 0;
    }

    // The handler pages whose values live in the settings record.
    auto selects = p.values.equal_range("--cocoa-select");
    for (auto it = selects.first; it != selects.second; ++it) {
        const std::string& text = it->second[0];
        const int letter = text.empty() ? -1 : ParameterLetter(text[0]);
        if (text.size() < 2 || text[1] != '=' || letter < 0) {
            return Fail(error, "--cocoa-select: expected LETTER=VALUE, got \"" + text + "\"");
        }
        c.cocoaSelect[static_cast<size_t>(letter)] = UpperBytes(text.substr(2));
    }
    if (p.Has("--cocoa-output")) {
        for (char ch : p.Last("--cocoa-output")[0]) {
            const int letter = ParameterLetter(ch);
            if (letter < 0) {
                return Fail(error, "--cocoa-output: letters A-Z expected, got \"" +
                                       p.Last("--cocoa-output")[0] + "\"");
            }
            c.cocoaOutput[static_cast<size_t>(letter)] = 1;
        }
    }
    int fixedStart = 0;
    int fixedEnd = 0;
    if (FixedInfoRange(c.GetCorpusType(), fixedStart, fixedEnd)) {
        c.SetInfoRange(fixedStart, fixedEnd);
    } else if (p.Has("--info")) {
        if (!RangeOption("--info", p.Last("--info")[0], a, b, error)) {
            return false;
        }
        if (!kInfoColumnLimits.Holds(a) || !kInfoColumnLimits.Holds(b)) {
            return Fail(error, "--info: " + BetweenMessage(kInfoColumnLimits));
        }
        c.SetInfoRange(static_cast<int>(a), static_cast<int>(b));
    }
    if (p.Has("--ice-function")) {
        c.iceFunction = p.Last("--ice-function")[0];
    }
    if (p.Has("--ice-category")) {
        c.iceCategory = p.Last("--ice-category")[0];
    }
    if (p.Has("--ice-feature")) {
        c.iceFeature = p.Last("--ice-feature")[0];
    }
    if (p.Has("--ice-show")) {
        // The list says the state of all three switches, also over --saved.
        c.iceFunctionOn = 0;
        c.iceCategoryOn = 0;
        c.iceFeatureOn = 0;
        std::string list = p.Last("--ice-show")[0] + ",";
        size_t start = 0;
        for (size_t comma; (comma = list.find(',', start)) != std::string::npos;
             start = comma + 1) {
            std::string item = list.substr(start, comma - start);
            if (item == "function") {
                c.iceFunctionOn = 1;
            } else if (item == "category") {
                c.iceCategoryOn = 1;
            } else if (item == "feature") {
                c.iceFeatureOn = 1;
            } else if (!item.empty()) {
                return Fail(error, "--ice-show: unknown switch \"" + item +
                                       "\" (function, category, feature)");
            }
        }
    }
    c.iceIgnored = p.Has("--ice-ignored") ? 1 : c.iceIgnored;
    c.iceAddition = p.Has("--ice-addition") ? 1 : c.iceAddition;
    c.iceOverlap = p.Has("--ice-overlap") ? 1 : c.iceOverlap;
    if (p.Has("--ice-speaker")) {
        std::string speaker = p.Last("--ice-speaker")[0];
        if (speaker.size() > 1) {
            return Fail(error, "--ice-speaker: Please enter no more than 1 characters.");
        }
        for (char& ch : speaker) {
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        }
        c.iceSpeaker = speaker;
    }
    if (p.Has("--ice-subtext")) {
        c.iceSubtext = p.Last("--ice-subtext")[0];
    }
    if (p.Has("--bnc-format")) {
        const std::string& text = p.Last("--bnc-format")[0];
        const char* names[] = {"text", "plain", "pos", "sgml"};
        int found = -1;
        for (int i = 0; i < 4; ++i) {
            if (Lower(text) == names[i]) {
                found = i;
            }
        }
        if (found < 0) {
            return Fail(error,
                        "--bnc-format: expected text, plain, pos or sgml, got \"" + text + "\"");
        }
        c.bncFormat = found;
    }
    if (p.Has("--no-bnc-pos")) {
        c.bncPosOutput = 0;
    }
    if (p.Has("--ppcme2-node")) {
        c.ppcme2Node = CompletedEntry(CPPCME2::labelTable, p.Last("--ppcme2-node")[0]);
    }
    if (p.Has("--ppcme2-pos")) {
        c.ppcme2Pos = CompletedEntry(CPPCME2::posTable, p.Last("--ppcme2-pos")[0]);
    }
    if (p.Has("--brooklyn-node")) {
        c.brooklynNode = p.Last("--brooklyn-node")[0];
    }
    if (p.Has("--delete")) {
        std::array<int, 7> switches{};
        if (!DeleteLevels(p.Last("--delete")[0], switches, error)) {
            return false;
        }
        context.handlers.SetDeleteSwitches(switches);
    }
    if (p.Has("--untag")) {
        context.handlers.Penn().SetUntagSwitch(1);
    }
    for (const char* name : {"--sgml-exclude", "--sgml-output"}) {
        std::vector<std::string>& chosen =
            std::string(name) == "--sgml-exclude" ? options.sgmlExclude : options.sgmlOutput;
        auto given = p.values.equal_range(name);
        for (auto it = given.first; it != given.second; ++it) {
            chosen.push_back(it->second[0]);
        }
        if (!chosen.empty() && !UsesSgmlSwitches(c.GetCorpusType())) {
            return Fail(error,
                        std::string(name) + ": applies to the corpus types SGML, ACE and BNC");
        }
    }

    // The format dialog: the marks before the output type, the length before
    // the position check.
    if (p.Has("--marks")) {
        const std::vector<std::string>& marks = p.Last("--marks");
        c.SetMarks(marks[0], marks[1]);
    }
    int type = c.GetOutputType();
    if (p.Has("--format")) {
        const std::string& text = Lower(p.Last("--format")[0]);
        const char* names[] = {"text", "csv", "tsv", "tagged", "xml", "other"};
        type = -1;
        for (int i = 0; i < kOutputTypeCount; ++i) {
            if (text == names[i]) {
                type = i;
            }
        }
        if (type < 0) {
            return Fail(error, "--format: expected text, csv, tsv, tagged, xml or other, got \"" +
                                   p.Last("--format")[0] + "\"");
        }
    }
    c.SetOutputType(type);
    int length = c.GetLineLength();
    int position = c.GetKeywordPosition();
    if (p.Has("--length")) {
        if (!NumberIn(p, "--length", kLineLengthLimits, a, error)) {
            return false;
        }
        length = static_cast<int>(a);
    }
    if (p.Has("--position")) {
        if (!NumberIn(p, "--position", kKeywordPositionLimits, a, error)) {
            return false;
        }
        position = static_cast<int>(a);
        if (position >= length) {
            return Fail(error, "--position: Position should be less than the length");
        }
    }
    c.SetLineFormat(length, position);
    if (p.Has("--sort-column")) {
        if (!NumberIn(p, "--sort-column", kSortColumnLimits, a, error)) {
            return false;
        }
        c.sortColumn = static_cast<int>(a);
    }
    if (p.Has("--suppress-headers")) {
        c.suppressHeaders = 1;
    }

    // The list-filter keyword ("List Option ...").
    const bool listCommand = ClearsListKeyword(options.command);
    for (const char* name : {"--filter", "--filter-left", "--filter-right", "--filter-regex"}) {
        if (p.Has(name) && !listCommand) {
            return Fail(error, std::string(name) +
                                   ": the list filter applies to wordlist, backward, descending, "
                                   "ascending, index and rhyme");
        }
    }
    if (p.Has("--filter")) {
        c.keyword = p.Last("--filter")[0];
        c.keywordLength = static_cast<int>(c.keyword.size());
        c.matchLeft = p.Has("--filter-left") ? 1 : 0;
        c.matchRight = p.Has("--filter-right") ? 1 : 0;
        c.keywordRegex = p.Has("--filter-regex") ? 1 : 0;
        if (c.keywordRegex && !CheckPattern("--filter", c.keyword, false, error)) {
            return false;
        }
    } else if (p.Has("--filter-left") || p.Has("--filter-right") || p.Has("--filter-regex")) {
        return Fail(error, "--filter-left, --filter-right and --filter-regex need --filter");
    }

    // The keyword dialog's values.
    const bool keywordCommand = NeedsKeyword(options.command);
    for (const char* name : {"--keyword", "--left", "--right", "--regex", "--context",
                             "--context-left", "--context-right"}) {
        if (p.Has(name) && !keywordCommand) {
            return Fail(error, std::string(name) +
                                   ": keyword options apply to the concordance, "
                                   "concordance-left, concordance-right and collocation commands");
        }
    }
    if (keywordCommand) {
        if (!p.Has("--keyword") || p.Last("--keyword")[0].empty()) {
            return Fail(error, options.commandName + " needs a keyword: --keyword TEXT");
        }
        KeywordRequest& k = options.keyword;
        k.keyword = p.Last("--keyword")[0];
        k.matchLeft = p.Has("--left");
        k.matchRight = p.Has("--right");
        k.regex = p.Has("--regex");
        if (p.Has("--context")) {
            k.useContextWord = true;
            k.contextWord = p.Last("--context")[0];
        }
        if (p.Has("--context-left")) {
            if (!NumberIn(p, "--context-left", kContextSpanLimits, a, error)) {
                return false;
            }
            k.contextLeft = static_cast<int>(a);
        }
        if (p.Has("--context-right")) {
            if (!NumberIn(p, "--context-right", kContextSpanLimits, a, error)) {
                return false;
            }
            k.contextRight = static_cast<int>(a);
        }
        if (k.regex) {
            if (!CheckPattern("--keyword", k.keyword, false, error)) {
                return false;
            }
            if (k.useContextWord && !k.contextWord.empty() &&
                !CheckPattern("--context", k.contextWord, true, error)) {
                return false;
            }
        }
        options.keywordGiven = true;
    }
    return true;
}

}  // namespace

std::optional<Options> ParseAndApply(const std::vector<std::string>& args, CPlixContext& context,
                                     UsageError& error, const SavedStoreOpener& openSaved)
{
    Options options;
    if (args.empty()) {
        error.message = "no command given (try --help)";
        return std::nullopt;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        options.help = true;
        return options;
    }
    if (args[0] == "--version") {
        options.version = true;
        return options;
    }
    options.commandName = args[0];
    options.scanSgml = options.commandName == "scan-sgml";
    bool known = options.scanSgml;
    for (const CommandName& entry : kCommands) {
        if (options.commandName == entry.name) {
            options.command = entry.command;
            known = true;
        }
    }
    if (!known) {
        error.message = "unknown command \"" + options.commandName + "\" (try --help)";
        return std::nullopt;
    }

    Parsed parsed;
    bool onlyFiles = false;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        if (!onlyFiles && arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::string name = arg;
            std::optional<std::string> inlineValue;
            size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                name = arg.substr(0, eq);
                inlineValue = arg.substr(eq + 1);
            }
            auto value = kValueOptions.find(name);
            if (value != kValueOptions.end()) {
                std::vector<std::string> values;
                if (inlineValue) {
                    values.push_back(*inlineValue);
                }
                while (static_cast<int>(values.size()) < value->second) {
                    if (i + 1 >= args.size()) {
                        error.message = name + ": missing value";
                        return std::nullopt;
                    }
                    values.push_back(args[++i]);
                }
                parsed.values.emplace(name, values);
                continue;
            }
            if (kFlags.count(name) != 0 && !inlineValue) {
                parsed.flags.insert(name);
                continue;
            }
            error.message = "unknown option \"" + arg + "\" (try --help)";
            return std::nullopt;
        }
        if (!onlyFiles && arg.size() > 1 && arg[0] == '-') {
            error.message = "unknown option \"" + arg + "\" (try --help)";
            return std::nullopt;
        }
        // FILE or FILE=OUTPUT, split at the last "=".
        std::string input = arg;
        std::string output;
        size_t eq = arg.rfind('=');
        if (eq != std::string::npos) {
            input = arg.substr(0, eq);
            output = arg.substr(eq + 1);
        }
        if (input.empty()) {
            error.message = "\"" + arg + "\": the corpus file name is empty";
            return std::nullopt;
        }
        if (output.empty()) {
            output = CCorpus::DefaultOutputPath(input);
        }
        options.entries.emplace_back(input, output);
    }
    if (parsed.Has("--help")) {
        options.help = true;
        return options;
    }
    if (parsed.Has("--version")) {
        options.version = true;
        return options;
    }
    if (options.entries.empty()) {
        error.message = options.commandName + ": no corpus file given";
        return std::nullopt;
    }
    int destinations = parsed.Has("--window") + parsed.Has("--to-files");
    if (destinations > 1) {
        error.message = "--window and --to-files exclude each other";
        return std::nullopt;
    }
    if (parsed.Has("--window")) {
        options.destination = Destination::Window;
    } else if (parsed.Has("--to-files")) {
        options.destination = Destination::Files;
    }
    options.whole = parsed.Has("--whole");
    if (parsed.Has("--progress")) {
        options.progress = true;
    }
    if (parsed.Has("--quiet")) {
        options.progress = false;
    }
    if (options.scanSgml) {
        // The scan reads the files and nothing of the settings.
        std::string stray = parsed.values.empty() ? std::string() : parsed.values.begin()->first;
        for (const std::string& name : parsed.flags) {
            if (kScanFlags.count(name) == 0 && stray.empty()) {
                stray = name;
            }
        }
        if (!stray.empty()) {
            error.message = "scan-sgml: " + stray +
                            " does not apply (only corpus files, --progress and --quiet)";
            return std::nullopt;
        }
        return options;
    }
    options.saved = parsed.Has("--saved");
    if (options.saved) {
        if (!openSaved) {
            error.message = "--saved: not available yet in this build (the saved settings need Qt)";
            return std::nullopt;
        }
        // The saved settings are the starting point that the options given then
        // change, exactly as the desktop program starts from them.
        std::unique_ptr<CSettingsStore> store = openSaved();
        LoadSettings(context.corpus, *store);
    }
    if (!ApplySettings(parsed, options, context, error)) {
        return std::nullopt;
    }
    // A type chosen with --type was checked above; one that comes from the saved
    // settings would otherwise run as plain text without a word of warning.
    const int type = context.corpus.GetCorpusType();
    if (options.saved && !context.handlers.TypeAvailable(type)) {
        error.message = std::string("--saved: the saved corpus type \"") +
                        CorpusTypeNames()[static_cast<size_t>(type)] +
                        "\" is not available yet; choose another with --type";
        return std::nullopt;
    }
    return options;
}

std::string UsageText()
{
    return R"(Usage: plix-cli COMMAND [OPTION...] FILE[=OUTPUT]...
       plix-cli --help | --version

Commands:
  wordlist, backward, descending, ascending   word lists
  index, rhyme                                 index and rhyme index
  concordance, concordance-left, concordance-right
                                               keyword concordance sorted by keyword,
                                               left or right context
  collocation                                  collocates of a keyword (line format 150/75)
  concordance-all                              concordance of all words
  scan-sgml                                    the tags (name, TAB, end-tag name), a line
                                               "--", then the tag-attribute keys (key, TAB,
                                               tag name) found in the files

Where the result goes (default: standard output, as an output file receives it):
  --window            the text a result window receives ("\r\n" line ends)
  --to-files          append each result to its entry's OUTPUT (default: FILE with .plx)
  --whole             one result for all files ("As a Whole")
  --memory BYTES      memory a result may hold before it spills to temporary files in
                      $TMPDIR (else /tmp); K, M or G multiply by 1024, 1024^2, 1024^3
                      (default 1G)

Settings (defaults: the initial settings, not the saved ones):
  --saved             start from the settings the desktop program saved, then apply
                      the options given; the corpus files, --window, --to-files and
                      --whole still come from the command line alone
  --type NAME|CODE    corpus type: Text, COCOA, SGML, Fixed, Helsinki, "Helsinki: Scots",
                      CEECS, Brown, LOB/WC, FROWN/FLOB, ACE, PPCME1, PPCME2, Brooklyn,
                      York-Toronto-Helsinki, ICE, BNC, COPC, ICAMET (any case) or the
                      code 0-18
  --locale NAME       System, ASCII, English, French, German, Danish, Dutch, Japanese,
                      Italian, Swedish, Icelandic, Polish, Spanish, Portuguese, Norwegian
  --utf8, --no-utf8   read the text as UTF-8 characters, or as bytes of the locale's code
                      page ("UTF-8 text"; default: set when the start-up locale is UTF-8)
  --diacritics TEXT   extra word characters
  --lines FROM-TO     line range (0-0: all lines)
  --no-numbers        digits are not word characters
  --case-sensitive    do not lower-case words
  --format TYPE       text, csv, tsv, tagged, xml, other
  --marks START END   the two marks of the "other" format
  --length N          concordance line length, 20-500
  --position N        keyword position, 10-250, less than the length
  --sort-column N     sort column, 0-5
  --suppress-headers  no headers or totals

Keyword (concordance and collocation commands):
  --keyword TEXT  --left  --right  --regex
  --context WORD  --context-left N  --context-right N   (spans 0-10)

List filter (word lists, index, rhyme index):
  --filter TEXT  --filter-left  --filter-right  --filter-regex

COCOA references (--type COCOA, Helsinki, "Helsinki: Scots", CEECS, PPCME1):
  --cocoa-select X=VALUE    only lines whose parameter X has VALUE (repeatable; any case)
  --cocoa-output LETTERS    the parameters printed in every reference, e.g. AQ

Helsinki markup (--type Helsinki, "Helsinki: Scots", CEECS, PPCME1):
  --delete LEVELS           delete the text of these levels: comma-separated numbers,
                            or none (default 4,5,6; PPCME1: none): 0 (^...^) font,
                            1 (\...\) foreign language, 2 (}...}) runes, 3 [{...{]
                            emendation, 4 [\...\] editor's comment, 5 [^...^] Helsinki
                            Corpus comment, 6 [}...}] heading; in PPCME1 the elements
                            <font>, <latin> and the other languages, <ec>, and the
                            comments (<hc>, <pc>, <comment>, ...), and any <...> for 3

Penn-style parsed text (--type PPCME1):
  --untag                   each concordance line ends in " => " and its unit without
                            labels, brackets and markup ("Untag")

Fixed columns (--type Fixed; Brown has 1-9, LOB/WC and FROWN/FLOB 1-8):
  --info FROM-TO            the columns of the information field, 1-500

SGML, ACE and BNC (the files are scanned first; tags and keys as the scan lists them, in any case):
  --sgml-exclude TAG        leave out the content of TAG elements (repeatable)
  --sgml-output "TAG ATTR"  the attribute ATTR of TAG in every reference (repeatable)

ICE (--type ICE):
  --ice-function TEXT, --ice-category TEXT, --ice-feature TEXT
                            only nodes whose function, category or features hold TEXT
  --ice-show LIST           the node values printed in every reference: a comma-separated
                            subset of function,category,feature (the others are not printed)
  --ice-ignored, --ice-addition, --ice-overlap
                            leave out the ignored, added or overlapping stretches
  --ice-speaker C           only the units of speaker C (one character, any case)
  --ice-subtext S           only the units of subtext S

BNC (--type BNC):
  --bnc-format text|plain|pos|sgml   the layout: word tags <w TAG> (text) or [w TAG]
  --no-bnc-pos              no word tag ("POS") in the references

PPCME2 and York-Toronto-Helsinki (--type PPCME2, York-Toronto-Helsinki):
  --ppcme2-node LABEL       search only the text inside the nodes labelled LABEL, e.g.
                            NP-SBJ (a label of the options page's list, or its whole entry)
  --ppcme2-pos TAG          the part-of-speech entry: a tag of the list, e.g. VBD, or its
                            whole entry

Brooklyn (--type Brooklyn):
  --brooklyn-node LABEL     search only the text from LABEL, found as plain text, to the
                            end of the node it stands in, e.g. nn or IP-S

Other:
  --progress / --quiet   show / hide the progress bar on standard error
  --help, --version

Exit status: 0 done, 1 a run failed or was cancelled (Ctrl-C), 2 usage error.
)";
}

std::string VersionText()
{
    return "plix-cli 0.1.0\n";
}

}  // namespace plix::cli
