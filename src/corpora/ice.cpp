#include "corpora/ice.h"

#include "settings/corpus.h"

#include <cctype>

namespace plix {

namespace {

bool IsWhite(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Where the text of a line ends: before the blank the reader puts in place of
// the line end, and before the line feed of a line read ahead. A value that
// runs to the end of the line stops here, so that it never holds either.
size_t ContentEnd(const std::string& line)
{
    size_t end = line.size();
    while (end > 0 && IsWhite(line[end - 1])) {
        --end;
    }
    return end;
}

// The first of the bytes `stops` in line[from, end), or `end`.
size_t FindStop(const std::string& line, size_t from, size_t end, const char* stops)
{
    if (from >= end) {
        return end;
    }
    const size_t found = line.find_first_of(stops, from);
    return found == std::string::npos || found > end ? end : found;
}

std::string Between(const std::string& line, size_t from, size_t to)
{
    return from < to ? line.substr(from, to - from) : std::string();
}

bool Contains(const std::string& line, const char* what)
{
    return line.find(what) != std::string::npos;
}

// The marker pairs of the stretches, each test on the whole line: a line that
// opens and closes a stretch ends with it closed.
void FollowMarkers(const std::string& line, const char* open, const char* close, bool& flag)
{
    if (Contains(line, open)) {
        flag = true;
    }
    if (Contains(line, close)) {
        flag = false;
    }
}

}  // namespace

// clang-format off
const std::array<std::string_view, 93> CICE::functionLabels = {
    "A", "ADJ", "ADV", "AJHD", "AJP", "AJPO", "AJPR", "ART", "AUX", "AVB", "AVHD", "AVP", "AVPO",
    "AVPR", "CF", "CJ", "CL", "CLEFTIT", "CLOP", "CO", "CONJUNC", "CONNEC", "COOR", "CS", "CT",
    "DEFUNC", "DISMK", "DISP", "DT", "DTCE", "DTP", "DTPE", "DTPO", "DTPR", "DTPS", "ELE", "EMPTY",
    "EXOP", "EXTHERE", "FNPPO", "FOC", "FRM", "GENF", "GENM", "IMPOP", "INDET", "INTERJEC", "INTOP",
    "INVOP", "MVB", "N", "NADJ", "NONCL", "NOOD", "NOSU", "NP", "NPHD", "NPPO", "NPPR", "NUM", "OD",
    "OI", "OP", "P", "PARA", "PAUSE", "PC", "PMOD", "PP", "PREDEL", "PREDGP", "PREP", "PROD",
    "PROFM", "PRON", "PRSU", "PRTCL", "PS", "PU", "PUNC", "REACT", "SBHD", "SBMO", "SU", "SUB",
    "SUBP", "TAGQ", "TO", "UNTAG", "V", "VB", "VP", "?",
};

// Four labels end in a blank, as the corpus writes them before a second feature.
const std::array<std::string_view, 71> CICE::featureLabels = {
    "add", "antit", "appos", "ass", "card", "com", "comp", "conj", "coord", "cop", "cxtr", "def",
    "dem", "dimontr", "disc", "disc ", "ditr", "do", "edp", "ellipt ", "encl", "encl ", "excl",
    "exclam", "for", "frac", "ge", "hyph", "indef", "infin", "ingp", "inten", "inter", "intr",
    "let", "modal", "montr", "mult", "neg", "neg ", "nom", "nonass", "one", "ord", "partic", "pass",
    "past", "perf", "pers", "phras", "plu", "poss", "pres", "procl", "prog", "prop", "quant",
    "recip", "ref", "rel", "semi", "semip", "sing", "so", "subord", "sup", "to", "trans", "univ",
    "wh", "with",
};
// clang-format on

void CICE::Reset()
{
    unit_.clear();
    speaker_ = 0;
    subtext_.clear();
    fileId_.clear();
    function_.clear();
    category_.clear();
    features_.clear();
    inIgnored_ = false;
    inAddition_ = false;
    inOverlap_ = false;
}

void CICE::SetFileId(const std::string& name)
{
    fileId_ = name;
}

void CICE::ReadMarkup(const std::string& line)
{
    const size_t end = ContentEnd(line);
    const size_t marker = line.find("<#");
    if (marker != std::string::npos && marker < end) {
        // "<#unit:subtext:speaker>". A marker cut short, by its ">" or by the
        // end of the line, leaves the parts it lacks empty and the speaker a
        // blank; the unit also ends at a ">", so that "<#12>" is unit 12.
        const size_t unitStart = marker + 2;
        const size_t unitEnd = FindStop(line, unitStart, end, ":>");
        unit_ = Between(line, unitStart, unitEnd);
        subtext_.clear();
        speaker_ = ' ';
        if (unitEnd < end && line[unitEnd] == ':') {
            const size_t subtextStart = unitEnd + 1;
            const size_t subtextEnd = FindStop(line, subtextStart, end, ":>");
            subtext_ = Between(line, subtextStart, subtextEnd);
            if (subtextEnd < end && line[subtextEnd] == ':' && subtextEnd + 1 < end &&
                line[subtextEnd + 1] != '>') {
                speaker_ = line[subtextEnd + 1];
            }
        }
    }
    FollowMarkers(line, "<->", "</->", inIgnored_);
    FollowMarkers(line, "<+>", "</+>", inAddition_);
    FollowMarkers(line, "<[", "</[", inOverlap_);
}

void CICE::ReadNode(const std::string& line)
{
    const size_t end = ContentEnd(line);
    size_t pos = 0;
    while (pos < end && std::isalnum(static_cast<unsigned char>(line[pos])) == 0) {
        ++pos;
    }
    const size_t comma = FindStop(line, pos, end, ",");
    function_ = Between(line, pos, comma);
    const size_t categoryStart = comma < end ? comma + 1 : end;
    const size_t paren = FindStop(line, categoryStart, end, "(");
    category_ = Between(line, categoryStart, paren);
    const size_t featuresStart = paren < end ? paren + 1 : end;
    features_ = Between(line, featuresStart, FindStop(line, featuresStart, end, ")"));
}

void CICE::ReadLine(std::string& line)
{
    if (!line.empty() && line[0] == '[') {
        ReadMarkup(line);
        line.clear();
        return;
    }
    if (!line.empty() && line[0] == '<') {
        const size_t colon = line.find(':');
        if (colon != std::string::npos) {
            // The identifier ends with the element as well as at a blank: a
            // line read ahead comes back with its line feed and no blank.
            const size_t start = colon + 1;
            size_t stop = start;
            while (stop < line.size() && !IsWhite(line[stop]) && line[stop] != '>') {
                ++stop;
            }
            fileId_ = Between(line, start, stop);
        }
    } else if (Contains(line, "(")) {
        ReadNode(line);
    }
    const size_t open = line.find('{');
    if (open == std::string::npos) {
        line.clear();
        return;
    }
    const size_t end = ContentEnd(line);
    const size_t wordStart = open + 1;
    std::string word = Between(line, wordStart, FindStop(line, wordStart, end, "}"));
    word += ' ';
    line = std::move(word);
}

void CICE::CleanText(std::string& text)
{
    if (!text.empty() && text[0] == '[') {
        text.clear();
        return;
    }
    const size_t end = ContentEnd(text);
    std::string words;
    size_t open = text.find('{');
    while (open != std::string::npos && open < end) {
        // A "{" without its "}" holds the rest of the line, as in a line read.
        const size_t close = FindStop(text, open + 1, end, "}");
        words.append(text, open + 1, close - (open + 1));
        words += ' ';
        open = close < end ? text.find('{', close + 1) : std::string::npos;
    }
    text = std::move(words);
}

bool CICE::Accepts(const CCorpus& settings) const
{
    auto within = [](const std::string& wanted, const std::string& value) {
        return wanted.empty() || value.find(wanted) != std::string::npos;
    };
    if (!within(settings.iceFunction, function_) || !within(settings.iceCategory, category_) ||
        !within(settings.iceFeature, features_)) {
        return false;
    }
    if ((settings.iceIgnored != 0 && inIgnored_) || (settings.iceAddition != 0 && inAddition_) ||
        (settings.iceOverlap != 0 && inOverlap_)) {
        return false;
    }
    if (!settings.iceSubtext.empty() && settings.iceSubtext != subtext_) {
        return false;
    }
    if (!settings.iceSpeaker.empty() && settings.iceSpeaker[0] != speaker_) {
        return false;
    }
    return true;
}

void CICE::BuildReference(const CCorpus& settings, int64_t lineNumber,
                          const std::string& sourceName, std::string& out) const
{
    out += settings.FormatReference(lineNumber, sourceName);
    out += settings.FormatTaggedField(fileId_, "fileID");
    out += settings.FormatTaggedField(unit_, "unit");
    out += settings.FormatTaggedField(subtext_, "subtext");
    // Before the first unit marker of a file there is no speaker: an empty
    // field, not a NUL byte in the result.
    const std::string speaker = speaker_ == 0 ? std::string() : std::string(1, speaker_);
    out += settings.FormatTaggedField(speaker, "speaker");
    if (settings.iceFunctionOn != 0) {
        out += settings.FormatTaggedField(function_, "function");
    }
    if (settings.iceCategoryOn != 0) {
        out += settings.FormatTaggedField(category_, "category");
    }
    if (settings.iceFeatureOn != 0) {
        out += settings.FormatTaggedField(features_, "feature");
    }
}

void CICE::WriteColumnHeader(CHandlerFrame& frame) const
{
    const CCorpus& settings = frame.Settings();
    std::string text = settings.GetLineHeading() + settings.FormatField("File") +
                       settings.FormatField("Unit") + settings.FormatField("Subtext") +
                       settings.FormatField("Speaker");
    if (settings.iceFunctionOn != 0) {
        text += settings.FormatField("Function");
    }
    if (settings.iceCategoryOn != 0) {
        text += settings.FormatField("Category");
    }
    if (settings.iceFeatureOn != 0) {
        text += settings.FormatField("Feature");
    }
    frame.Write(text + settings.GetOccurrenceHeading() + frame.Eol());
}

void CICE::ResetForFile()
{
    Reset();
}

void CICE::SourceOpened(const std::string& sourceName)
{
    SetFileId(sourceName);
}

void CICE::ScanLine(CHandlerFrame&, std::string& line)
{
    ReadLine(line);
}

bool CICE::IsSelected(CHandlerFrame& frame)
{
    return Accepts(frame.Settings());
}

void CICE::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void CICE::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), frame.LineNumber(), frame.SourceName(), reference);
}

void CICE::CleanPeekedLine(std::string& line)
{
    CleanText(line);
}

}  // namespace plix
