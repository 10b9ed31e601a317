#include "corpora/unit_assembly.h"

#include "corpora/find_text.h"
#include "settings/corpus.h"

#include <cctype>

namespace plix {

std::string CocoaReferencesOf(const std::string& text)
{
    std::string kept;
    size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string::npos) {
        size_t end = text.find('>', pos);
        if (end == std::string::npos) {
            break;
        }
        if (end - pos >= 2 && text[pos + 2] == ' ') {
            kept.append(text, pos, end - pos + 1);
        }
        pos = end + 1;
    }
    return kept;
}

void CUnitAssembly::Reset()
{
    idAt_ = std::string::npos;
    inUnit_ = false;
    unitText_.clear();
    between_.clear();
}

bool CUnitAssembly::Finish(std::string& line)
{
    if (unitText_.empty()) {
        return false;
    }
    line = std::move(unitText_);
    unitText_.clear();
    inUnit_ = false;
    return true;
}

LineMarks ParsedLineMarks(std::string_view raw)
{
    LineMarks marks;
    const FoundTwo found = FindTwo(raw, "(ID ", "(CODE");
    marks.first = found.a;
    marks.second = found.b;
    if (marks.first == std::string::npos && raw.size() >= 3 &&
        raw.substr(raw.size() - 3) == "(ID") {
        marks.first = raw.size() - 3;  // the blank after the line completes it
    }
    if (!raw.empty() && raw[0] == '(') {
        marks.third = FindText(raw, "CODE");
    }
    return marks;
}

bool CUnitAssembly::Assemble(std::string& line, std::string& references, const LineMarks* marks)
{
    if (type_ == kTypeBrooklyn) {
        // A block of lines ends with a line of fewer than two characters.
        if (line.size() < 2) {
            line = std::move(unitText_);
            unitText_.clear();
        } else {
            line.back() = ' ';
            unitText_ += line;
            line.clear();
        }
        return false;
    }
    if (!line.empty() && !std::isprint(static_cast<unsigned char>(line.back()))) {
        line.back() = ' ';
        marks = nullptr;
    }
    if (type_ != kTypePpcme1) {
        AssembleParsed(line, marks);
        return false;
    }
    bool started = false;
    if (!line.empty() && line[0] == '(') {
        unitText_ = line;
        line.clear();
        inUnit_ = true;
        references = CocoaReferencesOf(between_);
        between_.clear();
        started = true;
    } else if (inUnit_) {
        unitText_ += line;
        line.clear();
    } else {
        between_ += line;
        line.clear();
        return false;
    }
    if (unitText_.find(")(") != std::string::npos) {
        line = std::move(unitText_);
        unitText_.clear();
        inUnit_ = false;
    }
    return started;
}

bool CUnitAssembly::AssembleParsed(std::string& line, const LineMarks* marks)
{
    // PPCME2 and York-Toronto-Helsinki: a unit ends with its "(ID " group.
    bool starts = false;
    if (type_ == kTypePpcme2) {
        starts = !inUnit_ && !line.empty() && line[0] == '(' &&
                 (marks != nullptr ? marks->third : FindText(line, "CODE")) == std::string::npos;
    } else {
        starts = !inUnit_ && FindText(line, "( (CODE") != std::string::npos;
        if (starts) {
            size_t cut = line.find(">)");
            if (cut != std::string::npos) {
                line.erase(0, cut);
                marks = nullptr;  // the places moved
            }
        }
    }
    if (starts) {
        unitText_.swap(line);
        line.clear();
        inUnit_ = true;
        idAt_ = marks != nullptr ? marks->first : FindText(unitText_, "(ID ");
    } else if (inUnit_) {
        // Only the text the unit gains is searched for its "(ID " group: the
        // unit held none before, and a long unit is not searched once a line.
        size_t id = std::string::npos;
        if (type_ != kTypePpcme2) {
            id = marks != nullptr ? marks->first : FindText(line, "(ID ");
        } else {
            // Both groups are looked for in one pass over the line.
            const FoundTwo found = marks != nullptr ? FoundTwo{marks->first, marks->second}
                                                    : FindTwo(line, "(ID ", "(CODE");
            id = found.a;
            const size_t code = found.b;
            if (code != std::string::npos) {
                size_t close = line.find(')', code);
                line.erase(code, close == std::string::npos ? std::string::npos : close - code + 1);
                if (id != std::string::npos && id >= code) {
                    id = FindText(line, "(ID ", code);  // it may have stood in the group cut out
                }
            }
        }
        idAt_ = std::string::npos;
        size_t open = line.find('(');
        if (open != std::string::npos) {
            if (id != std::string::npos) {
                idAt_ = unitText_.size() + (id - open);  // an "(ID " begins with a "("
            }
            unitText_.append(line, open, std::string::npos);
        }
        line.clear();
    } else {
        line.clear();
        return false;
    }
    if (idAt_ != std::string::npos) {
        line = std::move(unitText_);
        unitText_.clear();
        inUnit_ = false;
    }
    return true;
}

}  // namespace plix
