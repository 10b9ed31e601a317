#include "settings/ui/list_combo.h"

#include <QComboBox>

#include "settings/ui/ui_text.h"

namespace plix {

QComboBox* MakeListCombo(const std::vector<std::string>& entries, bool sorted,
                         const std::string& value, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is not completed from the list behind the user's back.
    box->setCompleter(nullptr);
    QStringList items;
    for (const std::string& entry : entries) {
        items.append(ToDisplay(entry));
    }
    if (sorted) {
        items.sort(Qt::CaseSensitive);
    }
    box->addItems(items);
    box->setEditText(ToDisplay(value));
    return box;
}

}  // namespace plix
