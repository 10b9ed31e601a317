#include "cli/sgml_scan.h"

#include <cctype>

#include "corpora/sgml.h"
#include "engine/progress.h"
#include "settings/corpus.h"

namespace plix::cli {

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Switches on the entry of `names` that each of `chosen` names; false with
// the message when one names none.
bool SetSwitches(const std::vector<std::string>& chosen, const std::vector<std::string>& names,
                 std::vector<unsigned>& switches, const std::string& what, std::string& message)
{
    for (const std::string& wanted : chosen) {
        bool found = false;
        for (size_t i = 0; i < names.size(); ++i) {
            if (EqualIgnoringCase(names[i], wanted)) {
                switches[i] = 1;
                found = true;
            }
        }
        if (!found) {
            message = what + "\"" + wanted + "\"";
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ScanListing(const CSgml& sgml)
{
    std::string text;
    for (size_t i = 0; i < sgml.scannedTags.size(); ++i) {
        text += sgml.scannedTags[i] + "\t" + sgml.scannedTagEnds[i] + "\n";
    }
    text += "--\n";
    for (size_t i = 0; i < sgml.scannedAttributes.size(); ++i) {
        text += sgml.scannedAttributes[i] + "\t" + sgml.scannedAttributeTags[i] + "\n";
    }
    return text;
}

SgmlChoiceOutcome ApplySgmlChoices(const Options& options, CPlixContext& context,
                                   CProgress& progress, std::string& message)
{
    if (options.sgmlExclude.empty() && options.sgmlOutput.empty()) {
        return SgmlChoiceOutcome::Applied;
    }
    std::vector<std::string> files;
    for (const auto& entry : options.entries) {
        files.push_back(entry.first);
    }
    CSgml& sgml = context.handlers.Sgml();
    switch (sgml.Scan(files, progress, message)) {
        case SgmlScanOutcome::Done:
            break;
        case SgmlScanOutcome::Cancelled:
            message = "cancelled by the user";
            return SgmlChoiceOutcome::ScanFailed;
        case SgmlScanOutcome::Unreadable:
            return SgmlChoiceOutcome::ScanFailed;
    }
    CCorpus& c = context.corpus;
    c.sgmlTags = sgml.scannedTags;
    c.sgmlTagInfo = sgml.scannedTagEnds;
    c.sgmlTagExclude = sgml.scannedTagFlags;
    c.sgmlAttributes = sgml.scannedAttributes;
    c.sgmlAttributeInfo = sgml.scannedAttributeTags;
    c.sgmlAttributeOutput = sgml.scannedAttributeFlags;
    if (!SetSwitches(options.sgmlExclude, c.sgmlTags, c.sgmlTagExclude,
                     "--sgml-exclude: the scan of the corpus files found no tag ", message) ||
        !SetSwitches(options.sgmlOutput, c.sgmlAttributes, c.sgmlAttributeOutput,
                     "--sgml-output: the scan of the corpus files found no tag-attribute key ",
                     message)) {
        return SgmlChoiceOutcome::UsageError;
    }
    return SgmlChoiceOutcome::Applied;
}

}  // namespace plix::cli
