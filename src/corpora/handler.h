// The roles a corpus handler plays for the run frame. Each handler overrides
// the roles the dispatch table gives it; the defaults do nothing.
#pragma once

#include <cstddef>
#include <string>

namespace plix {

class CParse;

class CCorpusHandler
{
public:
    virtual ~CCorpusHandler() = default;
    virtual void ResetForFile() {}
    // May rewrite the line in place (markup removed, parts blanked).
    virtual void ScanLine(CParse& /*parse*/, std::string& /*line*/) {}
    virtual bool IsSelected(CParse& /*parse*/) { return true; }
    virtual void WriteHeader(CParse& /*parse*/) {}
    virtual void WriteColumnHeading(CParse& /*parse*/, int /*outputType*/) {}
    // Cleans the text read ahead for the right context of the hit at `hitOffset`.
    virtual void CleanFollowingText(CParse& /*parse*/, std::string& /*text*/, size_t /*hitOffset*/) {}
    virtual void MakeReference(CParse& /*parse*/, int /*outputType*/, std::string& /*reference*/) {}
    // Cleans one line that the input reader gathers while reading ahead.
    virtual void CleanPeekedLine(std::string& /*line*/) {}
    // Cleans an accepted line before the list modes take its words.
    virtual void CleanListLine(CParse& /*parse*/, std::string& /*line*/) {}
};

}  // namespace plix
