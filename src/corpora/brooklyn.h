// CBrooklyn: what the Brooklyn corpus adds to the parsed-text handler CPPCME2,
// which does all the line work of the type: the short labels ("nn-1", "wh-5",
// "IP-S-1") the options page offers as target nodes, the header note that
// names the chosen one, and the concordance column header.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "corpora/handler.h"

namespace plix {

class CBrooklyn final : public CCorpusHandler
{
  public:
    static const std::array<std::string_view, 119> nodeLabels;

    static int GetLabelCount();
    // The label at `index`, or "" outside the list.
    static std::string GetLabelEntry(int index);

    void WriteHeader(CHandlerFrame& frame) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;

    // The work of the roles.
    // The run's header note: the target label, when there is one.
    static void WriteSelection(CHandlerFrame& frame);
    static void WriteColumnHeader(CHandlerFrame& frame);
};

}  // namespace plix
