// The built-in help page shown by "&Help Topics" and F1.
#pragma once

#include <QDialog>

namespace plix {

class CHelpPage : public QDialog
{
    Q_OBJECT

public:
    explicit CHelpPage(QWidget* parent);
    static QString Html();
};

}  // namespace plix
