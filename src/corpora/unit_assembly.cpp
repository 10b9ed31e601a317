#include "corpora/unit_assembly.h"

#include <cctype>

#include "settings/corpus.h"

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

bool CUnitAssembly::Assemble(std::string& line, std::string& references)
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
    }
    if (type_ != kTypePpcme1) {
        AssembleParsed(line);
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

bool CUnitAssembly::AssembleParsed(std::string& line)
{
    // PPCME2 and York-Toronto-Helsinki: a unit ends with its "(ID " group.
    bool starts = false;
    if (type_ == kTypePpcme2) {
        starts =
            !inUnit_ && !line.empty() && line[0] == '(' && line.find("CODE") == std::string::npos;
    } else {
        starts = !inUnit_ && line.find("( (CODE") != std::string::npos;
        if (starts) {
            size_t cut = line.find(">)");
            if (cut != std::string::npos) {
                line.erase(0, cut);
            }
        }
    }
    // The unit held no "(ID " before this line: only the text it gains is
    // searched, so that a long unit is not searched once a line.
    const size_t searchFrom = starts || unitText_.size() < 3 ? 0 : unitText_.size() - 3;
    if (starts) {
        unitText_ = line;
        line.clear();
        inUnit_ = true;
    } else if (inUnit_) {
        if (type_ == kTypePpcme2) {
            size_t code = line.find("(CODE");
            if (code != std::string::npos) {
                size_t close = line.find(')', code);
                line.erase(code, close == std::string::npos ? std::string::npos : close - code + 1);
            }
        }
        size_t open = line.find('(');
        if (open != std::string::npos) {
            unitText_.append(line, open, std::string::npos);
        }
        line.clear();
    } else {
        line.clear();
        return false;
    }
    if (unitText_.find("(ID ", searchFrom) != std::string::npos) {
        line = std::move(unitText_);
        unitText_.clear();
        inUnit_ = false;
    }
    return true;
}

}  // namespace plix
