#include "corpora/brooklyn.h"

#include "corpora/ppcme2.h"
#include "settings/corpus.h"

namespace plix {

// clang-format off
const std::array<std::string_view, 119> CBrooklyn::nodeLabels = {
    "~", "+", "+~", "at", "at~", "av", "co", "cs", "cs~", "d", "ea", "en", "f-1", "f", "fa", "fd",
    "fn-1", "fn", "ga", "gd", "gd~", "gg", "gg~", "gi", "gi~", "gn", "gx", "IP-A", "IP-B", "IP-D",
    "IP-F", "IP-G", "IP-H-1", "IP-H", "IP-I", "IP-L-1", "IP-L-2", "IP-L-3", "IP-L", "IP-M",
    "IP-N-1", "IP-N", "IP-P", "IP-Q-1", "IP-Q", "IP-R", "IP-S-1", "IP-S-2", "IP-S-3", "IP-S-4",
    "IP-S", "IP-T-1", "IP-T-2", "IP-T-3", "IP-T", "IP-U-1", "IP-U-2", "IP-U-3", "IP-U", "IP-V",
    "IP-X", "IP", "ja", "jd", "jn", "jn~", "la", "ld", "ln", "na-1", "na-2", "na-3", "na", "na~-1",
    "na~", "nd-1", "nd-2", "nd", "nd~", "ne", "ng-1", "ng-2", "ng-3", "ng", "ng~", "nn-1", "nn-2",
    "nn-3", "nn-4", "nn", "nn~", "o", "pa", "pp-1", "pp", "pp~", "rl-1", "rl-2", "rl", "rl~", "rm",
    "rr", "rr~", "rt", "rt~", "vg", "vn", "vt", "vt~", "vv", "vv~", "vx", "wh-1", "wh-2", "wh-3",
    "wh-4", "wh-5", "wh", "x",
};
// clang-format on

int CBrooklyn::GetLabelCount()
{
    return static_cast<int>(nodeLabels.size());
}

std::string CBrooklyn::GetLabelEntry(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= nodeLabels.size()) {
        return std::string();
    }
    return std::string(nodeLabels[static_cast<size_t>(index)]);
}

void CBrooklyn::WriteSelection(CHandlerFrame& frame)
{
    const std::string& node = frame.Settings().brooklynNode;
    if (node.empty()) {
        return;
    }
    frame.Write(std::string(frame.ToFile() ? "within the node: " : "within the node:") + node);
}

void CBrooklyn::WriteColumnHeader(CHandlerFrame& frame)
{
    CPPCME2::WriteColumnHeader(frame);
}

void CBrooklyn::WriteHeader(CHandlerFrame& frame)
{
    WriteSelection(frame);
}

void CBrooklyn::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

}  // namespace plix
