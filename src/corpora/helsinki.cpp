#include "corpora/helsinki.h"

#include "settings/corpus.h"

namespace plix {

namespace {

constexpr std::array<const char*, CHelsinki::kLevelCount> kLevelNames = {
    "font other than the basic font", "foreign language", "runes", "emendation", "editor's comment",
    "Helsinki Corpus comment",        "heading"};

std::array<std::string, 26> MakeParameterNames()
{
    return {"author",
            "name of text file",
            "part of corpus",
            "dialect",
            "participant relationship",
            "foreign original",
            "relationship to foreign orignial",
            "social rank",
            "setting",
            "interaction",
            "contemporaneity",
            "",
            "date of manuscript",
            "name of text",
            "date of original",
            "page",
            "text identifier",
            "record",
            "sample",
            "text type",
            "audience description",
            "verse or prose",
            "relationship to spoken language",
            "sex of author",
            "age of author",
            "prototypical text category"};
}

// The writers (A), text files (B), text names (N) and text identifiers (Q)
// are names of the corpus itself: the options page offers the ones a scan of
// the user's files finds instead.
std::array<std::vector<std::string>, 26> MakeParameterValues()
{
    std::array<std::vector<std::string>, 26> values;
    auto set = [&values](char letter, std::vector<std::string> list) {
        values[static_cast<size_t>(letter - 'A')] = std::move(list);
    };
    set('C',
        {"E1", "E2",   "E3", "M1",   "M2",   "M2/3", "M2/4", "M3", "M4",   "MX/1", "MX/2", "MX/4",
         "O1", "O1/2", "O2", "O2/3", "O2/4", "O3",   "O3/4", "O4", "OX/2", "OX/3", "OX/4"});
    set('D', {"A/X", "AM", "AM/X", "AN",    "EML",    "EML/NL", "EMO", "ENGLISH", "K",
              "KL",  "KO", "K/X",  "NL",    "NO/EMO", "NO",     "SL",  "SO",      "WML",
              "WMO", "WS", "WS/A", "WS/AM", "WS/K",   "WS/X",   "X"});
    set('E', {"DIST DOWN", "DIST EQUAL", "DIST UP", "INT DOWN", "INT EQUAL", "INT UP", "X"});
    set('F', {"DUTCH", "FRENCH", "LATIN", "LATIN/FRENCH", "OTHER", "X"});
    set('G', {"GLOSS", "TRANSL", "X"});
    set('H', {"HIGH", "HIGH OTHER", "HIGH PROF", "OTHER", "PROF", "PROF HIGH", "X"});
    set('I', {"FORMAL", "INFORMAL", "X"});
    set('J', {"INTERACTIVE", "X"});
    set('K', {"CONTEMP", "NON-CONTEMP", "SAME", "X"});
    const std::vector<std::string> periods = {"-850",      "850-950",   "950-1050",
                                              "1050-1150", "1150-1250", "1250-1350",
                                              "1350-1420", "1420-1500", "X"};
    set('M', periods);
    // The date of the original has the manuscript's periods and three later ones.
    std::vector<std::string> originals(periods.begin(), periods.end() - 1);
    originals.insert(originals.end(), {"1500-1570", "1570-1640", "1640-1710", "X"});
    set('O', originals);
    set('T', {"BIBLE",
              "BIOGR AUTO",
              "BIOGR LIFE SAINT",
              "BIOGR OTHER",
              "DIARY PRIV",
              "DOCUM",
              "DRAMA COMEDY",
              "DRAMA MYST",
              "EDUC TREAT",
              "FICTION",
              "GEOGRAPHY",
              "HANDB ASTRONOMY",
              "HANDB MEDICINE",
              "HANDB OTHER",
              "HISTORY",
              "HOMILY",
              "LAW",
              "LET NON-PRIV",
              "LET PRIV",
              "PHILOSOPHY",
              "PREFACE/EPIL",
              "PROC DEPOS",
              "PROC TRIAL",
              "REL TREAT",
              "ROMANCE",
              "RULE",
              "SCIENCE ASTRONOMY",
              "SCIENCE MEDICINE",
              "SCIENCE OTHER",
              "SERMON",
              "TRAVELOGUE",
              "X"});
    set('U', {"NON-PROF", "PROF", "X"});
    set('V', {"PROSE", "VERSE"});
    set('W', {"SCRIPT", "SPEECH-BASED", "WRITTEN", "X"});
    set('X', {"MALE", "FEMALE", "X"});
    set('Y', {"-20", "20-40", "40-60", "60-", "X"});
    set('Z', {"EXPOS", "INSTR REL", "INSTR SEC", "NARR IMAG", "NARR NON-IMAG", "STAT", "X"});
    return values;
}

// Drops every stretch of one level from `text`: from an open mark through the
// first close mark after it. A stretch that does not close drops the rest of
// the text; the result says so. One pass, so a long line costs no more than
// its length.
bool DropStretches(std::string& text, std::string_view open, std::string_view close)
{
    size_t openAt = text.find(open);
    if (openAt == std::string::npos) {
        return false;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    while (openAt != std::string::npos) {
        kept.append(text, pos, openAt - pos);
        const size_t closeAt = text.find(close, openAt + open.size());
        if (closeAt == std::string::npos) {
            text.swap(kept);
            return true;
        }
        pos = closeAt + close.size();
        openAt = text.find(open, pos);
    }
    kept.append(text, pos, std::string::npos);
    text.swap(kept);
    return false;
}

// The stretches still open when `text` begins: each closes at its first close
// mark, looked for in level order from where the previous one closed. False
// when one does not close within the text, which is then all deleted; the
// levels that closed are cleared in `open`.
bool SkipOpenStretches(std::string& text, std::array<int, CHelsinki::kLevelCount>& open)
{
    size_t pos = 0;
    for (size_t level = 0; level < open.size(); ++level) {
        if (!open[level]) {
            continue;
        }
        const size_t closeAt = text.find(CHelsinki::closeMarks[level], pos);
        if (closeAt == std::string::npos) {
            text.clear();
            return false;
        }
        pos = closeAt + CHelsinki::closeMarks[level].size();
        open[level] = 0;
    }
    text.erase(0, pos);
    return true;
}

}  // namespace

CHelsinki::CHelsinki()
    : parameterNames(MakeParameterNames()), parameterValues(MakeParameterValues())
{
}

std::array<int, CHelsinki::kLevelCount> CHelsinki::DeleteSwitches() const
{
    return {deleteFont,          deleteForeign,       deleteRunes,  deleteEmendation,
            deleteEditorComment, deleteCorpusComment, deleteHeading};
}

void CHelsinki::SetDeleteSwitches(const std::array<int, kLevelCount>& switches)
{
    auto flag = [](int value) { return value != 0 ? 1 : 0; };
    deleteFont = flag(switches[0]);
    deleteForeign = flag(switches[1]);
    deleteRunes = flag(switches[2]);
    deleteEmendation = flag(switches[3]);
    deleteEditorComment = flag(switches[4]);
    deleteCorpusComment = flag(switches[5]);
    deleteHeading = flag(switches[6]);
}

std::string CHelsinki::LevelCaption(int level)
{
    if (level < 0 || level >= kLevelCount) {
        return std::string();
    }
    const auto i = static_cast<size_t>(level);
    return std::string(openMarks[i]) + "....." + std::string(closeMarks[i]) + " = " +
           kLevelNames[i];
}

const char* CHelsinki::LevelName(int level)
{
    return level >= 0 && level < kLevelCount ? kLevelNames[static_cast<size_t>(level)] : "";
}

void CHelsinki::DeleteMarkup(std::string& line)
{
    if (!SkipOpenStretches(line, inDeleted)) {
        return;
    }
    const std::array<int, kLevelCount> switches = DeleteSwitches();
    for (size_t level = 0; level < switches.size(); ++level) {
        if (switches[level] && DropStretches(line, openMarks[level], closeMarks[level])) {
            inDeleted[level] = 1;
        }
    }
}

void CHelsinki::DeleteFollowingMarkup(std::string& text) const
{
    // The read-ahead text goes on from the line just scanned: a stretch that
    // line left open hides the start of the text too, or the right context
    // would show the very text the user chose to delete.
    std::array<int, kLevelCount> open = inDeleted;
    if (!SkipOpenStretches(text, open)) {
        return;
    }
    const std::array<int, kLevelCount> switches = DeleteSwitches();
    for (size_t level = 0; level < switches.size(); ++level) {
        if (switches[level]) {
            DropStretches(text, openMarks[level], closeMarks[level]);
        }
    }
}

std::string CHelsinki::ColumnHeading(const CCorpus& settings, const char* eol) const
{
    std::string text = settings.GetLineHeading();
    for (size_t i = 0; i < settings.cocoaOutput.size(); ++i) {
        if (settings.cocoaOutput[i]) {
            text += settings.FormatField(std::string(1, static_cast<char>('A' + i)) + "=" +
                                         parameterNames[i]);
        }
    }
    return text + settings.GetOccurrenceHeading() + eol;
}

std::string CHelsinki::DeletedLevelLines(const char* eol) const
{
    std::string text;
    const std::array<int, kLevelCount> switches = DeleteSwitches();
    for (size_t level = 0; level < switches.size(); ++level) {
        if (switches[level]) {
            text += std::string("Deleted text level:") + kLevelNames[level] + eol;
        }
    }
    return text;
}

void CHelsinki::ResetForFile()
{
    inDeleted.fill(0);
}

void CHelsinki::ScanLine(CHandlerFrame&, std::string& line)
{
    DeleteMarkup(line);
}

void CHelsinki::CleanFollowingText(CHandlerFrame&, std::string& text)
{
    DeleteFollowingMarkup(text);
}

void CHelsinki::WriteColumnHeading(CHandlerFrame& frame, int)
{
    frame.Write(ColumnHeading(frame.Settings(), frame.Eol()));
}

void CHelsinki::WriteHeader(CHandlerFrame& frame)
{
    const std::string text = DeletedLevelLines(frame.Eol());
    if (!text.empty()) {
        frame.Write(text);
    }
}

}  // namespace plix
