// The editable combo boxes of the option pages that offer a handler's labels:
// the list to pick from, but any text may be typed.
#pragma once

#include <string>
#include <vector>

class QComboBox;
class QWidget;

namespace plix {

// `entries` in their order, or sorted; `value` as the box's text.
QComboBox* MakeListCombo(const std::vector<std::string>& entries, bool sorted,
                         const std::string& value, QWidget* parent);

}  // namespace plix
