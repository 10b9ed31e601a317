// plix-cli's side of the SGML page: the scan-sgml listing, and the scan that
// gives --sgml-exclude and --sgml-output their tags and keys.
#pragma once

#include <string>

#include "cli/options.h"

namespace plix {
class CProgress;
class CSgml;
}  // namespace plix

namespace plix::cli {

// The tags of the last scan (name, TAB, end-tag name), a line "--", then the
// tag-attribute keys (key, TAB, tag name), one a line.
std::string ScanListing(const CSgml& sgml);

enum class SgmlChoiceOutcome
{
    Applied,     // nothing was asked for, or the record holds the scan with the switches set
    UsageError,  // a tag or key the scan did not find; `message` names it
    ScanFailed   // a file could not be read or the scan was cancelled; `message` says why
};

// As the SGML page does it: scans the corpus files of the command line, puts
// the scan's tags and keys into the record with every switch off, then sets
// "Exclude" for each tag of --sgml-exclude and "Output" for each key of
// --sgml-output, found without regard to case.
SgmlChoiceOutcome ApplySgmlChoices(const Options& options, CPlixContext& context,
                                   CProgress& progress, std::string& message);

}  // namespace plix::cli
